# Shared build helpers: GoogleTest for both targets, test registration, sanitizers.
include(CTest)
set(EAR_ROOT ${CMAKE_SOURCE_DIR})

if(EAR_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Only DLLs that ship with Windows: no libgcc/libstdc++/winpthread DLLs beside the exe.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Every function and datum in a section of its own, and the linker keeps only what is
  # reached: the shipped executable carries no dead code of ours, the runtime's or libjpeg's.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # Reproducible: the same commit gives the same bytes wherever and whenever it is built
  # (scripts/release.sh, tests/release/). No link time in the PE header, and no folder of
  # this build in the binaries: the build folder first, as GCC tries the last map first.
  add_link_options(-Wl,--no-insert-timestamp)
  set(EAR_PREFIX_MAPS -ffile-prefix-map=${CMAKE_SOURCE_DIR}=src -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  add_compile_options(${EAR_PREFIX_MAPS})
endif()

# ear_version_resource(TARGET DESCRIPTION): the project's version in TARGET's version resource.
function(ear_version_resource target description)
  set(EAR_RC_NAME ${target})
  set(EAR_RC_DESCRIPTION ${description})
  set(out ${CMAKE_BINARY_DIR}/resources/${target}-version.rc)
  configure_file(${EAR_ROOT}/resources/version.rc.in ${out} @ONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()

if(EAR_TESTS)
  if(WIN32)
    # GoogleTest from the Debian source package, built for the target.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
    # <chrono> of C++20 holds a "µ" that CP932 cannot encode; GoogleTest needs no CP932 text.
    target_compile_options(gtest PRIVATE -fexec-charset=UTF-8)
    target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8)
    if(NOT TARGET GTest::gtest_main)  # newer GoogleTest sources define these themselves
      add_library(GTest::gtest_main ALIAS gtest_main)
      add_library(GTest::gtest ALIAS gtest)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

# ear_test(NAME sources... LIBS libs...): a GoogleTest binary. Natively it runs as is;
# in the Windows builds CTest runs it through CMAKE_CROSSCOMPILING_EMULATOR (Wine).
function(ear_test name)
  if(NOT EAR_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(WIN32)
    # One Wine start per binary: starting Wine per test case would cost a second each.
    add_test(NAME ${name} COMMAND ${name})
    ear_wine_test_properties(${name} ${T_LABELS})
    ear_test_results(${name} GTEST_OUTPUT=xml:)
  else()
    # One CTest test per case; a GTEST_SKIP counts as skipped (the module's skip expression).
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS "native;${T_LABELS}")
  endif()
endfunction()

# What every Wine test and the rig's start and stop get: the run's state folder and, for the
# 32-bit build, the 32-bit Wine (tests/wine/wine-env.sh).
set(EAR_WINE_ENV "EAR_WINE_STATE=${CMAKE_BINARY_DIR}/wine-run")
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND EAR_WINE_ENV "EAR_WINE_ARCH=32")
endif()

# Every test that runs under Wine shares one fresh prefix and display per test run,
# and runs alone: the single-instance mutex and the screen are machine-wide.
function(ear_wine_test_properties name)
  set_tests_properties(${name} PROPERTIES LABELS "wine;${ARGN}" FIXTURES_REQUIRED wine
    RESOURCE_LOCK wine TIMEOUT 300 ENVIRONMENT "${EAR_WINE_ENV}")
endfunction()

# ear_test_results(NAME VAR=): the test writes its case results to a file of its own, named
# by the environment variable (GTEST_OUTPUT=xml: for GoogleTest, EAR_TEST_RESULTS= for the
# Python runner of scripts/test_counts.py); scripts/test-all.sh counts the cases in it.
# A test without one counts as a single case.
function(ear_test_results name var)
  set(file ${CMAKE_BINARY_DIR}/test-results/${name}.xml)
  if(WIN32 AND var MATCHES "^GTEST_OUTPUT")
    set(file Z:${file})  # read by the Windows program: Wine's drive Z: is the Linux root
  endif()
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "${var}${file}")
endfunction()

# ear_ship(TARGET): the executable is shipped stripped; a copy with symbols and the link map
# stay in symbols/ of the build tree for debuggers and size work (tests run the shipped one).
function(ear_ship target)
  set_property(TARGET ${target} PROPERTY CXX_LINKER_LAUNCHER
    ${EAR_ROOT}/scripts/link-stripped.sh ${CMAKE_STRIP} ${CMAKE_BINARY_DIR}/symbols)
  # The link map beside it: what each object and library member adds to the size.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/symbols)
  target_link_options(${target} PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/symbols/${target}.map)
endfunction()

# ear_delay_import(TARGET DLL): an imported library TARGET through which DLL is loaded at
# the first call into it, not before the program starts (what is linked stays the same).
function(ear_delay_import target dll)
  get_filename_component(base ${dll} NAME_WE)
  find_library(EAR_IMPLIB_${base} NAMES lib${base}.a REQUIRED)
  find_program(EAR_DLLTOOL NAMES ${EAR_MINGW_PREFIX}-dlltool REQUIRED)
  set(out ${CMAKE_BINARY_DIR}/delay/lib${base}_delay.a)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${EAR_DLLTOOL} -DIMPLIB=${EAR_IMPLIB_${base}}
            -DDLL=${dll} -DOUT=${out} -P ${EAR_ROOT}/cmake/delay_import.cmake
    DEPENDS ${EAR_ROOT}/cmake/delay_import.cmake ${EAR_IMPLIB_${base}}
    COMMENT "Delay-load import library for ${dll}")
  add_custom_target(${target}_build DEPENDS ${out})
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${out})
  add_dependencies(${target} ${target}_build)
endfunction()
