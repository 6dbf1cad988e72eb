# The about dialog of the real module: a watcher reads it and closes it each way while the host's
# AboutBox call waits; its links reach the shell, which runs AboutLinkRecorder.exe (registered as
# the http and mailto handler for the test's length) to record them. Serial: it takes the
# foreground and the focus. Then the module's hand cursors and the Cursor property.
add_executable(AboutLinkRecorder AboutLinkRecorder.cpp)
target_compile_definitions(AboutLinkRecorder PRIVATE UNICODE _UNICODE)
target_compile_options(AboutLinkRecorder PRIVATE -municode)
target_link_options(AboutLinkRecorder PRIVATE -municode -static)
ramvel_wine_exe_test(wine_about_box AboutBoxTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp
                     ARGS Z:$<TARGET_FILE:AboutLinkRecorder> RUN_SERIAL)
add_dependencies(wine_about_box AboutLinkRecorder)
ramvel_wine_exe_test(wine_about_cursors AboutCursorsTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp
                     LIBRARIES ramvel_win32)
