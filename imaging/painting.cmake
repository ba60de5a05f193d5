# The screen painting helpers and the GDI+ base they share with the texture backdrop.
add_library(ear_painting_core STATIC painting_geometry.cpp)
target_link_libraries(ear_painting_core PUBLIC ear_base)
if(NOT WIN32)
  ear_test(painting_geometry_test SOURCES painting_geometry_test.cpp LIBS ear_painting_core)
endif()

if(WIN32)
  add_library(ear_gdiplus STATIC gdiplus_win.cpp)
  target_link_libraries(ear_gdiplus PUBLIC ear_base ear_forms gdiplus)

  add_library(ear_painting STATIC painting_win.cpp)
  target_link_libraries(ear_painting PUBLIC ear_painting_core ear_gdiplus ear_forms gdi32 user32)
  if(TARGET ear_imaging_core)
    target_link_libraries(ear_painting PUBLIC ear_imaging_core)
  else()
    # The size probe has not landed yet: its declared interface, defined by the test.
    set(probe_standin ${CMAKE_CURRENT_BINARY_DIR}/probe-standin)
    file(WRITE ${probe_standin}/imaging/MainGetDimension.h
         "#pragma once\n#include <cstdint>\n#include <string>\nnamespace ear {\n"
         "bool GetDimension(const std::string& fileName, std::uint32_t& width, std::uint32_t& height);\n}\n")
    target_include_directories(ear_painting PUBLIC ${probe_standin})
    target_compile_definitions(ear_painting PUBLIC EAR_PROBE_STANDIN)
  endif()

  ear_test(painting_win_test SOURCES painting_win_test.cpp LIBS ear_painting)
endif()
