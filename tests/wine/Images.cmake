# Image members against the real module: script hosts loading the pictures of images/, and a
# container whose tree view is read back (image lists, state images, drawn pixels).
foreach(script ImageScript.vbs ImageScript.js)
  ramvel_wine_test(NAME wine_images_script_${script}
                   COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/ComScriptRun.sh ${CMAKE_CURRENT_SOURCE_DIR}/${script})
endforeach()
ramvel_wine_exe_test(wine_images_tree_view ImagesTreeViewTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp
                     ARGS Z:${CMAKE_CURRENT_SOURCE_DIR}/images)
