# Shared by scripts/run and scripts/test: installs what is missing and builds.
# Sourced, not run.

KALV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KALV_BUILD=${KALV_BUILD:-$KALV_ROOT/build}
KALV_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-charts-dev qt6-translations-l10n libqt6opengl6-dev poppler-utils libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
  libsqlite3-dev libpq-dev tdsodbc unixodbc-dev libsodium-dev libcurl4-openssl-dev xvfb xauth xdotool openbox
  postgresql postgresql-client pgbouncer dpkg-dev file binutils lintian appstream desktop-file-utils openssl bsdutils)

kalv_install_packages() {
  local missing=()
  for p in "${KALV_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

kalv_build() {
  cmake -S "$KALV_ROOT" -B "$KALV_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$KALV_BUILD" -j2
}
