# ear::jpeg: the IJG libjpeg API. Windows builds compile Debian's libjpeg-turbo source
# once per build tree with the same MinGW toolchain (static, no SIMD: see below); native builds
# use the system library.
if(NOT WIN32)
  find_package(JPEG REQUIRED)
  add_library(ear_jpeg INTERFACE)
  target_link_libraries(ear_jpeg INTERFACE JPEG::JPEG)
  add_library(ear::jpeg ALIAS ear_jpeg)
  return()
endif()

include(ExternalProject)
# Unpacked by scripts/install-deps.sh (Debian's pinned source package, patches applied);
# configuring never fetches anything.
set(EAR_JPEG_SRC ${CMAKE_CURRENT_LIST_DIR}/libjpeg-turbo/src)
set(EAR_JPEG_BIN ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-build)
if(NOT EXISTS ${EAR_JPEG_SRC}/.ear-debian-version)
  message(FATAL_ERROR "The libjpeg-turbo source is missing from ${EAR_JPEG_SRC}: run scripts/install-deps.sh")
endif()
file(STRINGS ${EAR_JPEG_SRC}/.ear-debian-version ear_jpeg_version LIMIT_COUNT 1)
message(STATUS "libjpeg-turbo ${ear_jpeg_version} from ${EAR_JPEG_SRC}")

# Always without SIMD, never by what happens to be installed. Measured under Wine
# (third_party/bench_jpeg/run.sh): SIMD halves the decode of a screen picture (860x713:
# 5.1 -> 2.7 ms, 1024x768: 6.4 -> 3.3 ms), a few ms against about 1 s of start-up, while
# it makes the stripped launcher 14 % bigger (1.30 -> 1.48 MB) and needs nasm to build.
set(ear_jpeg_simd OFF)

if(CMAKE_GENERATOR MATCHES "Make")
  set(ear_jpeg_build $(MAKE) jpeg-static)  # shares the outer make's job slots
else()
  set(ear_jpeg_build ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static)
endif()
set(EAR_JPEG_LIB ${EAR_JPEG_BIN}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX})
ExternalProject_Add(libjpeg_turbo_ext
  SOURCE_DIR ${EAR_JPEG_SRC}
  BINARY_DIR ${EAR_JPEG_BIN}
  PREFIX ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-stamp
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-install
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_JAVA=OFF
    -DWITH_SIMD=${ear_jpeg_simd}
  BUILD_COMMAND ${ear_jpeg_build}
  INSTALL_COMMAND ""
  TEST_COMMAND ""
  BUILD_BYPRODUCTS ${EAR_JPEG_LIB}
  EXCLUDE_FROM_ALL ON)

add_library(ear_jpeg INTERFACE)
# jpeglib.h and jerror.h come from the source, jconfig.h from the build folder.
target_include_directories(ear_jpeg SYSTEM INTERFACE ${EAR_JPEG_SRC} ${EAR_JPEG_BIN})
target_link_libraries(ear_jpeg INTERFACE ${EAR_JPEG_LIB})
add_dependencies(ear_jpeg libjpeg_turbo_ext)
add_library(ear::jpeg ALIAS ear_jpeg)
