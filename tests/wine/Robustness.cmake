# Hosts that push the module: several apartments at once, events that release or clear the
# control, many create and release cycles.
ramvel_wine_exe_test(wine_apartments ApartmentsTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp TIMEOUT 300)
ramvel_wine_exe_test(wine_lifetime LifetimeTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp LIBRARIES psapi)
ramvel_wine_exe_test(wine_task_memory TaskMemoryTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp)
