# Cross build for 64-bit Windows with Debian's Clang and lld, against the same MinGW-w64 headers and libraries
# (and the posix thread model's libstdc++) as the GCC build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KAVLO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${KAVLO_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${KAVLO_MINGW_PREFIX})
set(CMAKE_RC_COMPILER  ${KAVLO_MINGW_PREFIX}-windres)

# Clang 14 does not look for libstdc++ where Debian's MinGW-w64 GCC keeps it, beside GCC's own libraries.
file(GLOB KAVLO_MINGW_GCC_DIR LIST_DIRECTORIES true /usr/lib/gcc/${KAVLO_MINGW_PREFIX}/*-posix)
if(NOT KAVLO_MINGW_GCC_DIR)
  message(FATAL_ERROR "No posix MinGW-w64 GCC under /usr/lib/gcc/${KAVLO_MINGW_PREFIX}: install g++-mingw-w64-x86-64-posix")
endif()
list(GET KAVLO_MINGW_GCC_DIR 0 KAVLO_MINGW_GCC_DIR)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
  ${KAVLO_MINGW_GCC_DIR}/include/c++
  ${KAVLO_MINGW_GCC_DIR}/include/c++/${KAVLO_MINGW_PREFIX}
  ${KAVLO_MINGW_GCC_DIR}/include/c++/backward)
foreach(kind EXE SHARED MODULE)
  # The posix thread model's std::thread and std::mutex sit on winpthreads, which GCC's driver adds itself.
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld -L${KAVLO_MINGW_GCC_DIR}")
endforeach()
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread")
set(CMAKE_C_STANDARD_LIBRARIES "-lpthread")

set(CMAKE_FIND_ROOT_PATH /usr/${KAVLO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
