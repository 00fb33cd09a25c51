add_executable(bench_grids bench_grids.cpp)
target_link_libraries(bench_grids PRIVATE contagia_forms neighbora_forms benchmark::benchmark)
set_target_properties(bench_grids PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
