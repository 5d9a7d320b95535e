#!/usr/bin/env bash
# Makes the PNG sizes of the icon from kalvhotel.svg (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" kalvhotel.svg -o "kalvhotel-$size.png"
done
