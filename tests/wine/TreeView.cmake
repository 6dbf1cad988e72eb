# Tree view tests: TMyRamvel on the real ControlForm and comctl32 tree view (no COM).
ramvel_wine_exe_test(wine_tree_view_events TreeViewEventsTest.cpp LIBRARIES ramvel_win32)
ramvel_wine_exe_test(wine_tree_view_boxes TreeViewBoxesTest.cpp LIBRARIES ramvel_win32)
ramvel_wine_exe_test(wine_tree_view_model TreeViewModelTest.cpp LIBRARIES ramvel_win32 TIMEOUT 180)
ramvel_wine_exe_test(wine_tree_view_wide TreeViewWideTest.cpp LIBRARIES ramvel_win32 TIMEOUT 180)
# Measuring program (prints "name: value unit"), not a test: TreeViewScale.exe [N].
if(TARGET ramvel_win32)
  add_executable(TreeViewScale TreeViewScale.cpp)
  target_include_directories(TreeViewScale PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(TreeViewScale PRIVATE ramvel_win32)
  target_link_options(TreeViewScale PRIVATE -static)
endif()
