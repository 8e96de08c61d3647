# The prompt of data_source_prompt_cancel_test opens from the program's own resources.
target_link_libraries(provider_data_source_prompt_cancel_test PRIVATE zelmo_resources)
