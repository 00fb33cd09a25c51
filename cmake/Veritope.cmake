# House helpers for the suite's targets.

# The tests' scratch files go to a folder of the build tree, so that two builds
# tested at once (plain and sanitized, or two checkouts) never share them.
set(VERITOPE_TEST_TMPDIR ${CMAKE_BINARY_DIR}/test-tmp/)
file(MAKE_DIRECTORY ${VERITOPE_TEST_TMPDIR})

# veritope_test(<name> SOURCES ... LIBS ...): one GoogleTest executable, its
# cases registered with CTest one by one. Window tests need no display.
function(veritope_test name)
  if(VERITOPE_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_LIST ${name}_TESTS)
  # The discovery flattens a list given as a property value, so that only the
  # first variable would reach the tests: the environment is set on the
  # discovered cases afterwards, by a script that CTest runs after discovery.
  set(env_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(GENERATE OUTPUT ${env_script} CONTENT
    "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[QT_QPA_PLATFORM=offscreen;VERITOPE_BIN=${VERITOPE_BIN_DIR};TEST_TMPDIR=${VERITOPE_TEST_TMPDIR}]==])\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${env_script})
endfunction()

# veritope_shared_library(<name> SOURCES ... LIBS ... EXPORTS <version script>):
# a library of the suite (a component server or a library bound by name) that
# exports exactly the symbols its version script names and keeps every
# linked-in helper private, so two copies of platform/ never interpose.
function(veritope_shared_library name)
  cmake_parse_arguments(ARG "" "EXPORTS" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${name} PRIVATE
    "LINKER:--version-script=${ARG_EXPORTS}"
    "LINKER:--exclude-libs,ALL"
    "LINKER:--no-undefined")
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${ARG_EXPORTS})
endfunction()

# veritope_library_beside(<target> <library>): a target that binds a library by
# name from its own folder, as a program binds "PRNG.dll", gets the library
# built first and linked in beside it.
function(veritope_library_beside target library)
  add_dependencies(${target} ${library})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${library}>
            $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_NAME:${library}>)
endfunction()
