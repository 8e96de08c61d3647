# Tests of the object model, module, registrar and generic COM templates.
add_executable(object_model_tests
    ${CMAKE_CURRENT_LIST_DIR}/object_model_com_object_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/object_model_generic_impl_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/object_model_smart_types_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_script_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_reg_object_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_type_library_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registrar_provider_scripts_test.cpp
)
target_compile_definitions(object_model_tests PRIVATE
    ZELMO_RESOURCES_DIR="${CMAKE_SOURCE_DIR}/resources")
target_link_libraries(object_model_tests PRIVATE comfw GTest::gtest GTest::gtest_main
                      Threads::Threads)
gtest_discover_tests(object_model_tests TEST_PREFIX "object_model." DISCOVERY_TIMEOUT 60)

# A small in-process server on the framework, loaded by the tests below as a consumer would.
add_library(objmodel_test_server MODULE ${CMAKE_CURRENT_LIST_DIR}/test_server_module.cpp)
set_target_properties(objmodel_test_server PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
target_link_libraries(objmodel_test_server PRIVATE comfw)
comfw_embed_file(objmodel_test_server ${CMAKE_CURRENT_LIST_DIR}/test_server_helper.rgs
                 test_server_helper_rgs.h kHelperScriptFile)

add_executable(object_model_server_tests ${CMAKE_CURRENT_LIST_DIR}/test_server_it.cpp)
target_include_directories(object_model_server_tests PRIVATE ${CMAKE_SOURCE_DIR}/platform/framework)
target_compile_definitions(object_model_server_tests PRIVATE
    OBJMODEL_TEST_SERVER_PATH="$<TARGET_FILE:objmodel_test_server>")
target_link_libraries(object_model_server_tests PRIVATE comrt GTest::gtest GTest::gtest_main
                      Threads::Threads ${CMAKE_DL_LIBS})
add_dependencies(object_model_server_tests objmodel_test_server)
gtest_discover_tests(object_model_server_tests TEST_PREFIX "object_model." DISCOVERY_TIMEOUT 60)
