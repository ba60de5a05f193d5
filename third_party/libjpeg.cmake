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
set(EAR_JPEG_SRC ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-src)
set(EAR_JPEG_BIN ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-build)

if(NOT EXISTS ${EAR_JPEG_SRC}/CMakeLists.txt)
  message(STATUS "Fetching libjpeg-turbo source into ${EAR_JPEG_SRC}")
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/fetch-libjpeg-source.sh ${EAR_JPEG_SRC}
                  RESULT_VARIABLE fetch_rc)
  if(NOT fetch_rc EQUAL 0)
    message(FATAL_ERROR "Could not obtain the libjpeg-turbo source (scripts/fetch-libjpeg-source.sh)")
  endif()
endif()

# The assembler SIMD code needs nasm; plain C is fast enough for a few screen pictures.
find_program(EAR_NASM nasm)
if(EAR_NASM)
  set(ear_jpeg_simd ON)
else()
  set(ear_jpeg_simd OFF)
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
