# Saving and loading the settings a designer gives (stream, storage, property bag), the
# property-change notifications, and design mode, with a C++ container.
ramvel_wine_exe_test(wine_persistence PersistenceTest.cpp ${PROJECT_SOURCE_DIR}/src/server/ComPtr.cpp RUN_SERIAL)
target_include_directories(wine_persistence PRIVATE ${PROJECT_SOURCE_DIR}/resources)  # RamvelDispIds.h
