# zv_add_test(NAME LABEL SOURCES... LIBS ...): one GoogleTest executable whose
# tests are registered with CTest under the given label (unit, integration, e2e).
function(zv_add_test name label)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} PROPERTIES LABELS ${label}
                       DISCOVERY_TIMEOUT 60
                       ENVIRONMENT "ZV_FIXTURES=${ZV_FIXTURES_DIR}")
endfunction()
