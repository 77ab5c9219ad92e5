# The Windows program's folder as a user gets it (cmake --install): quelvane.exe, the DLLs it
# loads, Qt's platform and style plugins where Qt looks for them, the licence texts and a
# README.txt. windeployqt is not built for a Linux host: the DLLs are found by walking the
# imports of the executable and the plugins (windows_imports.cmake). Build it with
# scripts/windows.sh.

# Where the DLLs the program loads come from: Qt's, and the MinGW runtime's.
set(QUELVANE_WINDOWS_DLL_DIRS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
foreach(runtime_dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime_dll}
    OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  cmake_path(GET runtime_path PARENT_PATH runtime_dir)
  cmake_path(NORMAL_PATH runtime_dir)
  list(APPEND QUELVANE_WINDOWS_DLL_DIRS "${runtime_dir}")
endforeach()

set(qt_plugins "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}")
install(FILES "${qt_plugins}/platforms/qwindows.dll" DESTINATION platforms)
# The Windows style's plugin: qwindowsvistastyle up to Qt 6.6, qmodernwindowsstyle since.
file(GLOB qt_style_plugins "${qt_plugins}/styles/*.dll")
if(NOT qt_style_plugins)
  message(FATAL_ERROR "Qt for Windows in ${QT6_INSTALL_PREFIX} has no style plugin")
endif()
install(FILES ${qt_style_plugins} DESTINATION styles)

find_program(QUELVANE_OBJDUMP NAMES ${CMAKE_CXX_COMPILER_TARGET}-objdump x86_64-w64-mingw32-objdump
  REQUIRED)
install(CODE "
  set(binaries \"$<TARGET_FILE:quelvane>\" \"${qt_plugins}/platforms/qwindows.dll\"
    \"${qt_style_plugins}\")
  set(dll_dirs \"${QUELVANE_WINDOWS_DLL_DIRS}\")
  set(objdump \"${QUELVANE_OBJDUMP}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/windows_imports.cmake\")
")

# The licences: the program's, Qt's (LGPL 3, with the GPL 3 it builds on, and the parts Qt
# holds), and the MinGW runtime's.
execute_process(COMMAND dpkg-query -W -f=\${Version} qt6-base-dev
  OUTPUT_VARIABLE QUELVANE_QT_DEBIAN_VERSION)
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in"
  "${PROJECT_BINARY_DIR}/windows-readme/README.txt" @ONLY NEWLINE_STYLE CRLF)
install(FILES "${PROJECT_BINARY_DIR}/windows-readme/README.txt" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION licences
  RENAME Quelvane.txt)
install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION licences RENAME Qt-LGPL-3.txt)
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licences RENAME GPL-3.txt)
install(FILES /usr/share/doc/qt6-base-dev/copyright DESTINATION licences
  RENAME Qt-copyright.txt)
install(FILES /usr/share/doc/gcc-mingw-w64-base/copyright DESTINATION licences
  RENAME MinGW-GCC-runtime-copyright.txt)
install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licences
  RENAME MinGW-w64-copyright.txt)
