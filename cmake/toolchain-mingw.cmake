# Cross toolchain shared by both Windows flavours: MinGW-w64 (Debian's
# posix-thread variant) for DIDA_MINGW_TRIPLE, set by the flavour's file.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${DIDA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DIDA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DIDA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DIDA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Windows programs run on Linux through Wine; the harness script sets up the
# prefix, the loader, the locale and the display (see scripts/wine-run.sh).
get_filename_component(_dida_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_dida_root}/scripts/wine-run.sh")
