# Tests of the object model, module, registrar and generic COM templates.
add_executable(object_model_tests
    ${CMAKE_CURRENT_LIST_DIR}/object_model_com_object_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_script_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_reg_object_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_type_library_test.cpp
)
target_link_libraries(object_model_tests PRIVATE comfw GTest::gtest GTest::gtest_main
                      Threads::Threads)
gtest_discover_tests(object_model_tests TEST_PREFIX "object_model." DISCOVERY_TIMEOUT 60)
