# zv_add_test(NAME LABEL SOURCES... LIBS ...): one GoogleTest executable whose
# tests are registered with CTest under the given label (unit, integration, e2e).
# Tests see the fixture folder as ZV_FIXTURES_DIR.
function(zv_add_test name label)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ZV_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  zv_add_lsan_suppressions(${name})
  gtest_discover_tests(${name} PROPERTIES LABELS ${label} DISCOVERY_TIMEOUT 60)
endfunction()
