# Cointoss generating, showing and counting a sequence of ten million characters.
add_executable(bench_cointoss ${CMAKE_CURRENT_LIST_DIR}/bench_cointoss.cpp)
target_link_libraries(bench_cointoss PRIVATE cointoss_forms benchmark::benchmark)
set_target_properties(bench_cointoss PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# Cointoss binds "PRNG.dll" beside itself.
veritope_library_beside(bench_cointoss PRNG)
