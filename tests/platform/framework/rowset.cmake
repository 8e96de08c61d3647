# Tests of the rowset framework: row storage, row handles, accessors, column information, and a
# small test provider (data source, session, command, rowsets) driven through its interfaces.
file(GLOB rowset_test_sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_LIST_DIR}/rowset_*.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_provider_*.cpp)
add_executable(rowset_tests ${rowset_test_sources})
target_link_libraries(rowset_tests PRIVATE comfw GTest::gtest GTest::gtest_main Threads::Threads)
set_target_properties(rowset_tests PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
)
gtest_discover_tests(rowset_tests TEST_PREFIX "rowset." DISCOVERY_TIMEOUT 60)
