# The form's events of two controls hosted in Wine's ATL container: focus moves, posted clicks
# and keys, painting, creation and destruction.
ramvel_wine_exe_test(wine_form_events FormEventsTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp)
