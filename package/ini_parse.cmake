# The portable profile reader: natively a table test, on Windows the same table
# against the system's profile functions (under Wine in the tests).
add_library(ear_ini_parse STATIC ${CMAKE_CURRENT_LIST_DIR}/ini_parse.cpp)
target_link_libraries(ear_ini_parse PUBLIC ear_package_core)
if(WIN32)
  ear_test(ini_parse_win_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini_parse_win_test.cpp
           LIBS ear_ini_parse ear_package_win)
else()
  ear_test(ini_parse_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini_parse_test.cpp LIBS ear_ini_parse)
endif()
