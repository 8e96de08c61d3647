# Tests of the property-page templates: IPropertyPageImpl and IPersistPropertyBagImpl.
add_executable(ui_pages_tests
    ${CMAKE_CURRENT_LIST_DIR}/ui_pages_persist_property_bag_impl_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui_pages_property_page_impl_test.cpp
)
# The program exports its resource table (page template, title string) as a module does.
set_target_properties(ui_pages_tests PROPERTIES ENABLE_EXPORTS ON)
target_link_libraries(ui_pages_tests PRIVATE comfw comui GTest::gtest GTest::gtest_main
                      Threads::Threads)
gtest_discover_tests(ui_pages_tests TEST_PREFIX "ui_pages." DISCOVERY_TIMEOUT 60)
