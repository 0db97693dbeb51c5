# `cmake --install` and the Debian package (`cpack -G DEB`, or the `package` target).
# An installed Cadenzio finds its textures and demo songs in ../share/cadenzio beside its bin
# folder, which is also how it tells that it is installed (platform/user_folders.cpp): so both
# folders are fixed here rather than taken from GNUInstallDirs. Notepress goes beside it, where
# Cadenzio starts it.
set(CADENZIO_APP_ID org.cadenzio.Cadenzio)
# Installing and packaging take what is built (scripts/package.sh builds the two programs first):
# they never start a build of everything, tests included, least of all from inside a test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS cadenzio notepress RUNTIME DESTINATION bin)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/runtime/Data/Textures/ DESTINATION share/cadenzio/Data/Textures)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/runtime/Songs/ DESTINATION share/cadenzio/Songs)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${CADENZIO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${CADENZIO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
# The song files' type, so that a file manager offers Cadenzio for them.
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${CADENZIO_APP_ID}.xml DESTINATION share/mime/packages)
# The sizes follow appIconSizes in tools/textures/texture_set.cpp, which draws these icons.
foreach(size 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/desktop/icons/cadenzio-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${CADENZIO_APP_ID}.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cadenzio)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR Cadenzio)
set(CPACK_PACKAGE_CONTACT "Cadenzio developers <cadenzio@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "piano-practice game with falling notes")
set(CPACK_PACKAGE_DESCRIPTION
    "Play along on a MIDI keyboard or on the computer's letter keys while the notes of a song\n\
fall towards an on-screen piano keyboard. Includes Notepress, its converter of MIDI files\n\
to song files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are the shared libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
