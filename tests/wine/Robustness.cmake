# Hosts that push the module: several apartments at once, events that release or clear the
# control, many create and release cycles.
ramvel_wine_exe_test(wine_apartments ApartmentsTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp TIMEOUT 300)
ramvel_wine_exe_test(wine_lifetime LifetimeTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp LIBRARIES psapi)
ramvel_wine_exe_test(wine_task_memory TaskMemoryTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp)
# Out of memory inside every IRamvel member, by vtable and by Invoke: the program carries its own
# server (every source but the module's entry points), core, Win32 layer and resources, so that
# its failing operator new reaches them all; the core's blocks come from it too (HeapPages.cpp).
file(GLOB oom_server_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/server/*.cpp)
list(FILTER oom_server_sources EXCLUDE REGEX "/Exports\\.cpp$")
ramvel_wine_exe_test(wine_com_out_of_memory ComOutOfMemoryTest.cpp ${PROJECT_SOURCE_DIR}/tests/unit/oom/FailingAllocator.cpp
                     ${PROJECT_SOURCE_DIR}/tests/unit/oom/HeapPages.cpp
                     ${oom_server_sources} $<TARGET_OBJECTS:ramvel_resources>
                     ARGS Z:${CMAKE_CURRENT_SOURCE_DIR}/images LIBRARIES ramvel_core ramvel_win32 shlwapi version)
