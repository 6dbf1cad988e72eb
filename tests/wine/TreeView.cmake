# Tree view tests: TMyRamvel on the real ControlForm and comctl32 tree view (no COM).
ramvel_wine_exe_test(wine_tree_view_events TreeViewEventsTest.cpp LIBRARIES ramvel_win32)
ramvel_wine_exe_test(wine_tree_view_boxes TreeViewBoxesTest.cpp LIBRARIES ramvel_win32)
ramvel_wine_exe_test(wine_tree_view_model TreeViewModelTest.cpp LIBRARIES ramvel_win32 TIMEOUT 180)
