# Self-removal: the removal itself (Windows); the batch texts live in package/.
if(WIN32)
  add_library(ear_self_removal_win STATIC self_removal_win.cpp)
  target_link_libraries(ear_self_removal_win PUBLIC ear_package_win ear_forms)
  if(EAR_TESTS)
    # Plays the launcher: copied as ExamAutoRunner.exe into throw-away trees.
    add_executable(self_removal_stand_in self_removal_stand_in.cpp)
    target_link_libraries(self_removal_stand_in PRIVATE ear_self_removal_win)
    set_target_properties(self_removal_stand_in PROPERTIES WIN32_EXECUTABLE ON)
    ear_test(self_removal_win_test SOURCES self_removal_win_test.cpp LIBS ear_self_removal_win)
    add_dependencies(self_removal_win_test self_removal_stand_in)
    target_compile_definitions(self_removal_win_test PRIVATE
      EAR_STAND_IN="$<TARGET_FILE_NAME:self_removal_stand_in>")
  endif()
endif()

if(WIN32 AND EAR_TESTS)
  add_test(NAME self_removal_root_test
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/self_removal_root_test.sh $<TARGET_FILE:self_removal_stand_in>)
  ear_wine_test_properties(self_removal_root_test)
endif()
