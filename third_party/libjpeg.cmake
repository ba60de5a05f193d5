# ear::jpeg: the IJG libjpeg API. Windows builds compile Debian's libjpeg-turbo source
# once per build tree with the same MinGW toolchain (static, no SIMD); native builds
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

# SIMD is fixed, never chosen by what happens to be installed (nasm comes with install-deps).
set(ear_jpeg_simd ON)
find_program(EAR_NASM nasm)
if(ear_jpeg_simd AND NOT EAR_NASM)
  message(FATAL_ERROR "nasm is missing (libjpeg-turbo's SIMD code): run scripts/install-deps.sh")
endif()

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
    -DCMAKE_ASM_NASM_COMPILER=${EAR_NASM}
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
