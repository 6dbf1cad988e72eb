# The form's events of two controls hosted in Wine's ATL container: focus moves, posted clicks
# and keys, painting, creation and destruction. Serial: it moves the focus and the activation,
# which another test's windows on the shared display would take.
ramvel_wine_exe_test(wine_form_events FormEventsTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp RUN_SERIAL)
