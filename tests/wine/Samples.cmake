# The samples of samples/, run as they are so that they never fall behind the control: the
# VBScript and JScript programs under cscript (their output must show the key results and end
# in "done"), the C++ host built and run in its self-checking mode (/check: its window driven
# through the checks, then closed), and the VBA module, which needs Office, held to the same
# calls as the VBScript program and to filling its form's tree once.
set(samples_dir ${PROJECT_SOURCE_DIR}/samples)
set(sample_script_results
  "nodes: 5"
  "index 1: Smith \\(level 1, data 'C042'\\)"
  "    Acme"
  "parent of Smith: Customers"
  "children of Customers: 2"
  "Customers expanded: (True|true)"
  "selected: Jones"
  "changed: Jones & Co"
  "Brown is the last customer: (True|true)"
  "suppliers: 2"
  "nodes after deleting Smith and the last node: 5"
  "GetNode\\(99\\) failed: Index incorrect \\(.*8000FFFF\\)")
ramvel_wine_test(NAME wine_sample_vbscript
                 COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/SampleScriptRun.sh
                         ${samples_dir}/vbscript/RamvelSample.vbs ${sample_script_results})
ramvel_wine_test(NAME wine_sample_jscript
                 COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/SampleScriptRun.sh
                         ${samples_dir}/jscript/RamvelSample.js ${sample_script_results})
ramvel_wine_exe_test(wine_sample_cpp ${samples_dir}/cpp/RamvelHost.cpp ARGS /check)
add_test(NAME sample_vba_calls
         COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/SampleVbaCalls.sh ${samples_dir}/vba/RamvelSample.bas
                 ${samples_dir}/vbscript/RamvelSample.vbs ${PROJECT_SOURCE_DIR}/resources/Ramvel.idl)
# The host developer's guide lists every member and event of the type library as declared.
add_test(NAME guide_covers_idl
         COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/GuideCoversIdl.sh ${PROJECT_SOURCE_DIR}/resources/Ramvel.idl
                 ${PROJECT_SOURCE_DIR}/resources/RamvelDispIds.h ${PROJECT_SOURCE_DIR}/docs/guide/reference.md
                 ${PROJECT_SOURCE_DIR}/docs/guide/events.md)
# The guide's VBScript colour example, run as it is written, prints what its comments say.
ramvel_wine_test(NAME wine_guide_vbscript_colors
                 COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/GuideExampleRun.sh
                         ${PROJECT_SOURCE_DIR}/docs/guide/hosts.md "### Colours in VBScript")
