# cmake -DRESULTS=<folder> -P QelTestSummary.cmake
# Counts the cases of a test run, run by scripts/test after CTest. CTest counts its own tests,
# and a GoogleTest program runs as a few of them (shards), so its closing line counts shards;
# this line counts what was tested: every GoogleTest case from the XML file its shard wrote,
# and every other CTest test as one case. A shard that failed without a failing case (a leak
# found at exit, a crash before the results were written) counts as one failed case.
if(NOT RESULTS OR NOT EXISTS "${RESULTS}/ctest.xml")
  return()
endif()

file(READ "${RESULTS}/ctest.xml" _ctest)
string(REGEX MATCHALL "<testcase name=\"[^\"]*\"[^>]*status=\"[a-z]*\"" _tests "${_ctest}")

set(_passed 0)
set(_failed 0)
set(_skipped 0)
foreach(_test IN LISTS _tests)
  string(REGEX REPLACE "^<testcase name=\"([^\"]*)\".*$" "\\1" _name "${_test}")
  string(REGEX REPLACE "^.*status=\"([a-z]*)\"$" "\\1" _status "${_test}")
  set(_gtest "${RESULTS}/${_name}.xml")
  if(EXISTS "${_gtest}")
    file(READ "${_gtest}" _cases)
    string(REGEX MATCH "<testsuites [^>]*>" _root "${_cases}")
    foreach(_attribute tests failures disabled)
      string(REGEX REPLACE "^.* ${_attribute}=\"([0-9]+)\".*$" "\\1" _${_attribute} "${_root}")
    endforeach()
    string(REGEX MATCHALL "result=\"skipped\"" _skips "${_cases}")
    list(LENGTH _skips _skips)
    math(EXPR _passed "${_passed} + ${_tests} - ${_failures} - ${_disabled} - ${_skips}")
    math(EXPR _skipped "${_skipped} + ${_skips}")
    if(_failures GREATER 0)
      math(EXPR _failed "${_failed} + ${_failures}")
    elseif(NOT _status STREQUAL "run")
      math(EXPR _failed "${_failed} + 1")
    endif()
  elseif(_status STREQUAL "run")
    math(EXPR _passed "${_passed} + 1")
  elseif(_status STREQUAL "fail")
    math(EXPR _failed "${_failed} + 1")
  else()
    math(EXPR _skipped "${_skipped} + 1")
  endif()
endforeach()

set(_line "Cases: ${_passed} passed, ${_failed} failed")
if(_skipped GREATER 0)
  string(APPEND _line ", ${_skipped} skipped")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${_line}")
