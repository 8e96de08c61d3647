# Tests of the OLE DB layer of the framework: properties, data conversion, the data source,
# session and command bases and the schema map, through a small test provider.
file(GLOB oledb_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/oledb_*.cpp)
add_executable(oledb_tests ${oledb_test_sources})
target_link_libraries(oledb_tests PRIVATE comfw GTest::gtest GTest::gtest_main Threads::Threads)
set_target_properties(oledb_tests PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
)
gtest_discover_tests(oledb_tests TEST_PREFIX "oledb." DISCOVERY_TIMEOUT 60)
