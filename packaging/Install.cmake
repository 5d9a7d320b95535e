# What `cmake --install` lays out and what `cpack -G DEB` packs: the two programs in bin/, the
# two run-time libraries in a private folder that the programs' run path names, the delivered
# files in share/kalvhotel/, the desktop entry, the AppStream file, the icons and manual pages.

set(KALV_PRIVATE_LIBDIR lib/kalvhotel)
set_target_properties(kalvhotel kalvhotel-admin PROPERTIES INSTALL_RPATH "$ORIGIN/../${KALV_PRIVATE_LIBDIR}")
install(TARGETS kalvhotel kalvhotel-admin RUNTIME DESTINATION bin)
install(TARGETS HashingKey Netlbr LIBRARY DESTINATION ${KALV_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/dist/ DESTINATION share/kalvhotel)

set(KALV_APP_ID bg.kalv.KalvHotel)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KALV_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KALV_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/kalvhotel-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kalvhotel.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/kalvhotel.svg DESTINATION share/icons/hicolor/scalable/apps)

# Manual pages and the changelog travel compressed, as Debian wants them.
find_program(KALV_GZIP gzip REQUIRED)
set(KALV_COMPRESSED)
foreach(file kalvhotel.1 kalvhotel-admin.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${file}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
                     COMMAND ${KALV_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/${file} > ${CMAKE_BINARY_DIR}/packaging/${file}.gz
                     DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${file})
  list(APPEND KALV_COMPRESSED ${CMAKE_BINARY_DIR}/packaging/${file}.gz)
endforeach()
add_custom_target(kalv_packaging ALL DEPENDS ${KALV_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/kalvhotel.1.gz ${CMAKE_BINARY_DIR}/packaging/kalvhotel-admin.1.gz
        DESTINATION share/man/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION share/doc/kalvhotel)

set(CPACK_PACKAGE_NAME kalvhotel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_VENDOR "kalvhotel developers")
set(CPACK_PACKAGE_CONTACT "kalvhotel developers <kalvhotel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front desk of a small hotel")
set(CPACK_PACKAGE_DESCRIPTION "KALV Hotel is the front-office client of a small hotel: the room-status
board, bookings, check-in and check-out, deposits and payments, the registers
of hotels, rooms, tariffs, services, currencies and operators, and the
reports of the day. Several front desks share one database on a PostgreSQL
server. In Bulgarian, English and Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# Loaded at run time, so no linker sees them: the database drivers and the display plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, libpq5, libqt6sql6-odbc, qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "postgresql-client, tdsodbc")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
