# The Debian package: the program, its desktop entry, icons and AppStream data, and the helper
# tool's place linked to Debian's FFmpeg. Build it with scripts/package.sh.
set(packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(app_id org.quelvane.Quelvane)

install(FILES "${packaging_dir}/${app_id}.desktop" DESTINATION share/applications)
install(FILES "${packaging_dir}/${app_id}.metainfo.xml" DESTINATION share/metainfo)
install(FILES "${packaging_dir}/copyright" DESTINATION share/doc/quelvane)

# Every size the artwork holds, and the drawing itself for any other.
file(GLOB app_icons "${PROJECT_SOURCE_DIR}/artwork/quelvane-*.png")
foreach(icon IN LISTS app_icons)
  string(REGEX REPLACE ".*quelvane-([0-9]+)\\.png$" "\\1" size "${icon}")
  install(FILES "${icon}" DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quelvane.png)
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/artwork/src/quelvane.svg"
  DESTINATION share/icons/hicolor/scalable/apps)

# The program looks for the tool at this one absolute place, so the link goes there, wherever
# the install prefix is.
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/packaging")
file(CREATE_LINK /usr/bin/ffmpeg "${PROJECT_BINARY_DIR}/packaging/client" SYMBOLIC)
install(FILES "${PROJECT_BINARY_DIR}/packaging/client"
  DESTINATION "${QUELVANE_SYSTEM_DIR}/quelvanesvc")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelvane)
set(CPACK_PACKAGE_VENDOR Quelvane)
set(CPACK_PACKAGE_CONTACT "Quelvane <support@quelvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drops the still frames from a batch of videos")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Quelvane takes a list of video files and writes, for each one, a copy from"
  "which every frame that repeats the one before it has been dropped, optionally"
  "in another container format. The copies carry no audio. All media work is"
  "done by FFmpeg.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quelvane.org)
set(CPACK_DEBIAN_PACKAGE_DEPENDS ffmpeg)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
