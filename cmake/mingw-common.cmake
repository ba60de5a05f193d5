# The posix-thread flavour of the Debian MinGW-w64 compilers (std::thread etc. available).
set(CMAKE_C_COMPILER ${EAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${EAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${EAR_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${EAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run under Wine: the 64-bit build under the host's Wine, the 32-bit build under the
# 32-bit Wine of the i386 root (EAR_WINE_ARCH=32, see tests/wine/wine-env.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-in-wine.sh)
