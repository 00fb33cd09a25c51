# Scrivel's analysis through its window against the model (bench_scrivel_window.cpp).
add_executable(bench_scrivel_window ${CMAKE_CURRENT_LIST_DIR}/bench_scrivel_window.cpp)
target_link_libraries(bench_scrivel_window PRIVATE scrivel_forms benchmark::benchmark)
set_target_properties(bench_scrivel_window PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
