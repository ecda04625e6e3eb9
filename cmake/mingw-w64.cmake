# Cross build for 64-bit Windows with MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAVLO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KAVLO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVLO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${KAVLO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KAVLO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests run under Wine through the project's wrapper (prefix in the build tree, no debug chatter).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
