# COM hosts of the control: early and late binding, events, scripts, a real container.
set(com_support ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp)
ramvel_wine_exe_test(wine_com_early_bound ComEarlyBoundTest.cpp ${com_support})
ramvel_wine_exe_test(wine_com_late_bound ComLateBoundTest.cpp ${com_support})
ramvel_wine_exe_test(wine_com_events ComEventsTest.cpp ${com_support})
