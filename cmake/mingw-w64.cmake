# Cross build of the Windows program with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)
# libpng for MinGW is built into this prefix by tools/build-mingw-libpng.sh.
set(VELQUOR_MINGW_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/deps/mingw" CACHE PATH "MinGW libraries built by the project")
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX} ${VELQUOR_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One statically linked executable: static archives only. The Windows platform
# module resets CMAKE_FIND_LIBRARY_SUFFIXES after this file, so the choice is
# made again right after project().
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_PROJECT_INCLUDE "${CMAKE_CURRENT_LIST_DIR}/mingw-static-libs.cmake")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
