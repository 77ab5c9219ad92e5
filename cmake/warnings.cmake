# Warnings for every target of the project, and the sanitizers behind one developer option.
add_library(quelvane_options INTERFACE)
if(MSVC)
  target_compile_options(quelvane_options INTERFACE /W4)
else()
  target_compile_options(quelvane_options INTERFACE -Wall -Wextra)
endif()

if(QUELVANE_SANITIZE)
  target_compile_options(quelvane_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(quelvane_options INTERFACE -fsanitize=address,undefined)
endif()
