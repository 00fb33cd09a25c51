# Pegfall's full-speed loop in an offscreen window against the bare loop of library calls.
add_executable(bench_pegfall ${CMAKE_CURRENT_LIST_DIR}/bench_pegfall.cpp)
target_link_libraries(bench_pegfall PRIVATE pegfall_forms benchmark::benchmark)
set_target_properties(bench_pegfall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench_pegfall PRNG)
# Pegfall binds "PRNG.dll" beside itself.
add_custom_command(TARGET bench_pegfall POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:PRNG>
          $<TARGET_FILE_DIR:bench_pegfall>/$<TARGET_FILE_NAME:PRNG>)
