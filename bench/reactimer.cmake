# How exact Reactimer's measured times are: key events against the monotonic
# clock, and the ticks of a 1 ms timer.
add_executable(bench_reactimer ${CMAKE_CURRENT_LIST_DIR}/bench_reactimer.cpp)
target_link_libraries(bench_reactimer PRIVATE reactimer_forms benchmark::benchmark)
set_target_properties(bench_reactimer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
