# The release archive (tools/package) unpacked into a fresh Wine prefix: both modules registered
# from it at once, each registry view checked, a script run against each with the script host of
# its bitness. From the 64-bit build only: the test packs both builds itself.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(package_archs x64)
  execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE wine32_result OUTPUT_QUIET ERROR_QUIET)
  if(wine32_result EQUAL 0)
    list(APPEND package_archs x86)
  else()
    message(WARNING "/usr/lib/wine/wine does not start on this machine (a kernel without 32-bit "
                    "support?): the release archive's 32-bit module is packed but not run")
  endif()
  # Serial: it builds the 32-bit module and starts a second wineserver.
  ramvel_wine_test(NAME wine_package
                   COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/PackageTest.sh ${PROJECT_SOURCE_DIR}/tools/package
                           ${CMAKE_CURRENT_SOURCE_DIR}/PackageScript.vbs ${package_archs}
                   TIMEOUT 900 RUN_SERIAL)
endif()
