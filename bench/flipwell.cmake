add_executable(bench_flipwell bench_flipwell.cpp)
target_link_libraries(bench_flipwell PRIVATE flipwell_forms benchmark::benchmark)
set_target_properties(bench_flipwell PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# Flipwell binds "PRNG.dll" beside itself.
veritope_library_beside(bench_flipwell PRNG)
