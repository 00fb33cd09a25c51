# Neuromesh's training dialog: epochs per second of its loop in an offscreen
# window, with the chart and the diagram's animation running, beside the
# library's epochs through the same exports in the same process.
add_executable(bench_neuromesh_train bench_neuromesh_train.cpp)
target_link_libraries(bench_neuromesh_train PRIVATE neuromesh_forms benchmark::benchmark)
set_target_properties(bench_neuromesh_train PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(bench_neuromesh_train Neural)
# Neuromesh binds "Neural.dll" beside itself.
add_custom_command(TARGET bench_neuromesh_train POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:Neural>
          $<TARGET_FILE_DIR:bench_neuromesh_train>/$<TARGET_FILE_NAME:Neural>)

# Neuromesh's main window loading large pattern sets: time and memory.
add_executable(bench_neuromesh_rows bench_neuromesh_rows.cpp)
target_link_libraries(bench_neuromesh_rows PRIVATE neuromesh_forms benchmark::benchmark)
set_target_properties(bench_neuromesh_rows PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
veritope_library_beside(bench_neuromesh_rows Neural)
