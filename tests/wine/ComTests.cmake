# COM hosts of the control: early and late binding, events, scripts, a real container.
set(com_support ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp)
ramvel_wine_exe_test(wine_com_early_bound ComEarlyBoundTest.cpp ${com_support})
ramvel_wine_exe_test(wine_com_late_bound ComLateBoundTest.cpp ${com_support})
ramvel_wine_exe_test(wine_com_events ComEventsTest.cpp ${com_support})
foreach(script ComScript.vbs ComScript.js)
  ramvel_wine_test(NAME wine_com_script_${script}
                   COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/ComScriptRun.sh ${CMAKE_CURRENT_SOURCE_DIR}/${script})
endforeach()
ramvel_wine_exe_test(wine_com_container ComContainerTest.cpp ${com_support})
