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

# A benchmark, not a test: prints `name: value unit` lines. Run under Wine with the module
# registered, e.g. from build/win64: WINEPREFIX=$PWD/wine /usr/lib/wine/wine64 tests/wine/ramvel_com_bench.exe
add_executable(ramvel_com_bench ComBench.cpp ${com_support})
target_include_directories(ramvel_com_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(ramvel_com_bench PRIVATE UNICODE _UNICODE NOMINMAX)
target_link_libraries(ramvel_com_bench PRIVATE ramvel_idl ole32 oleaut32 uuid comctl32 user32 gdi32)
target_link_options(ramvel_com_bench PRIVATE -static)
add_dependencies(ramvel_com_bench ramvel_ocx)
