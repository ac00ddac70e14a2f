# Read by CTest, not by the configure run: registers one GoogleTest program's tests when CTest
# starts. qel_add_test writes a small file per program that includes this one and calls
# qel_register_gtest_program.
#
# By default a program runs as a few CTest tests, each a shard of its cases in one process
# (GoogleTest's own sharding), because a sanitized process costs about a second to start and
# stop whatever the case does. A shard that fails prints the program's whole output for that
# shard, so each failing case is named ("[  FAILED  ] Suite.Case") and a crash shows the case
# that was running. Each shard writes its GoogleTest results to an XML file, from which
# scripts/test adds up the cases.
#
# With QEL_TEST_CASES=1 in the environment of ctest, every case is its own CTest test again,
# named Suite.Case, for running one case by name (ctest -R) while working on it.

# qel_register_gtest_program(NAME name PROGRAM path WORKING_DIRECTORY dir SHARDS n
#   CASES_PER_SHARD n RESULTS dir LIST_FILE file [ENVIRONMENT var=value ...] [LABELS label ...])
function(qel_register_gtest_program)
  cmake_parse_arguments(ARG "" "NAME;PROGRAM;WORKING_DIRECTORY;SHARDS;CASES_PER_SHARD;RESULTS;LIST_FILE"
    "ENVIRONMENT;LABELS" ${ARGN})

  if(NOT EXISTS "${ARG_PROGRAM}")
    # A program that did not build fails the run under its own name instead of vanishing.
    add_test(${ARG_NAME}_NOT_BUILT ${ARG_NAME}_NOT_BUILT)
    return()
  endif()

  set(_properties WORKING_DIRECTORY "${ARG_WORKING_DIRECTORY}")
  if(ARG_LABELS)
    list(APPEND _properties LABELS "${ARG_LABELS}")
  endif()

  if("$ENV{QEL_TEST_CASES}")
    set(_case_properties ${_properties})
    if(ARG_ENVIRONMENT)
      list(APPEND _case_properties ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
    if(NOT EXISTS "${ARG_LIST_FILE}" OR NOT "${ARG_LIST_FILE}" IS_NEWER_THAN "${ARG_PROGRAM}")
      include("${_GOOGLETEST_DISCOVER_TESTS_SCRIPT}")
      gtest_discover_tests_impl(
        TEST_EXECUTABLE "${ARG_PROGRAM}"
        TEST_WORKING_DIR "${ARG_WORKING_DIRECTORY}"
        TEST_PROPERTIES ${_case_properties}
        CTEST_FILE "${ARG_LIST_FILE}"
        TEST_DISCOVERY_TIMEOUT 60)
    endif()
    include("${ARG_LIST_FILE}")
    return()
  endif()

  foreach(_index RANGE 1 ${ARG_SHARDS})
    if(ARG_SHARDS EQUAL 1)
      set(_test ${ARG_NAME})
    else()
      set(_test ${ARG_NAME}.${_index}of${ARG_SHARDS})
    endif()
    math(EXPR _zero_based "${_index} - 1")
    set(_environment ${ARG_ENVIRONMENT}
      GTEST_TOTAL_SHARDS=${ARG_SHARDS} GTEST_SHARD_INDEX=${_zero_based}
      GTEST_OUTPUT=xml:${ARG_RESULTS}/${_test}.xml)
    add_test(${_test} "${ARG_PROGRAM}")
    # COST: without timings from an earlier run CTest starts the larger shards first, so that
    # no long program is left to run alone at the end.
    set_tests_properties(${_test} PROPERTIES ${_properties}
      ENVIRONMENT "${_environment}" COST ${ARG_CASES_PER_SHARD})
  endforeach()
endfunction()
