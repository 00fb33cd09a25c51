add_executable(bench_flipwell bench_flipwell.cpp)
target_link_libraries(bench_flipwell PRIVATE flipwell_forms benchmark::benchmark)
set_target_properties(bench_flipwell PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench_flipwell PRNG)
# Flipwell binds "PRNG.dll" beside itself.
add_custom_command(TARGET bench_flipwell POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:PRNG>
          $<TARGET_FILE_DIR:bench_flipwell>/$<TARGET_FILE_NAME:PRNG>)
