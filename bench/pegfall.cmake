# Pegfall's full-speed loop in an offscreen window against the bare loop of library calls.
add_executable(bench_pegfall ${CMAKE_CURRENT_LIST_DIR}/bench_pegfall.cpp)
target_link_libraries(bench_pegfall PRIVATE pegfall_forms benchmark::benchmark)
set_target_properties(bench_pegfall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# Pegfall binds "PRNG.dll" beside itself.
veritope_library_beside(bench_pegfall PRNG)
