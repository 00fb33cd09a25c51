add_executable(bench_leadigit ${CMAKE_CURRENT_LIST_DIR}/bench_leadigit.cpp)
target_link_libraries(bench_leadigit PRIVATE leadigit_forms benchmark::benchmark)
set_target_properties(bench_leadigit PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

add_executable(bench_leadigit_memory ${CMAKE_CURRENT_LIST_DIR}/bench_leadigit_memory.cpp)
target_link_libraries(bench_leadigit_memory PRIVATE leadigit_forms benchmark::benchmark)
set_target_properties(bench_leadigit_memory PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
