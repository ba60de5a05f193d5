# The screen painting helpers and the GDI+ base they share with the texture backdrop.
add_library(ear_painting_core STATIC painting_geometry.cpp)
target_link_libraries(ear_painting_core PUBLIC ear_base)
if(NOT WIN32)
  ear_test(painting_geometry_test SOURCES painting_geometry_test.cpp LIBS ear_painting_core)
endif()

if(WIN32)
  add_library(ear_gdiplus STATIC gdiplus_win.cpp png_file_win.cpp)
  target_link_libraries(ear_gdiplus PUBLIC ear_base gdiplus)

  add_library(ear_painting STATIC painting_win.cpp)
  target_link_libraries(ear_painting PUBLIC ear_painting_core ear_imaging_core ear_gdiplus gdi32 user32)
  ear_test(painting_win_test SOURCES painting_win_test.cpp LIBS ear_painting)
endif()
