# The properties of the tree and of the form against the real module: a container whose
# windows are read back after every put, the OLE font objects bound to the form's font, and a
# VBScript host.
set(properties_support ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp)
# Runs alone: its real clicks and pointer moves would reach whatever window another test shows
# at the same place of the shared display.
ramvel_wine_exe_test(wine_properties PropertiesTest.cpp ${properties_support} RUN_SERIAL)
ramvel_wine_exe_test(wine_properties_font FontPropertyTest.cpp ${properties_support})
ramvel_wine_test(NAME wine_properties_script
                 COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/ComScriptRun.sh ${CMAKE_CURRENT_SOURCE_DIR}/PropertiesScript.vbs)
