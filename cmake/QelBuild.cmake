# Build conventions shared by every folder of the project.

# This folder, for the files that the functions below use when they are called.
set(QEL_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

option(QEL_BUILD_TESTS "Build the GoogleTest suites" ON)
option(QEL_BUILD_BENCH "Build the Google Benchmark programs" ON)
option(QEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

option(QEL_FUZZ_COVERAGE "With clang: give libFuzzer the coverage of every library, not only of the fuzz entry points" OFF)

set(QEL_WARNINGS -Wall -Wextra)

# Without this the libFuzzer programs see the coverage of their own entry points alone, so a
# long run mutates blindly inside the toolkit and the platform layers.
if(QEL_FUZZ_COVERAGE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(QEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every target of ours gets the warning set; third-party headers come in as system includes.
function(qel_warnings target)
  target_compile_options(${target} PRIVATE ${QEL_WARNINGS})
endfunction()

# qel_export_only(target map): a shared library exports only what the linker version script
# names; everything else it defines or instantiates stays local.
function(qel_export_only target map)
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()

macro(qel_add_subdirectories_if_present)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endmacro()

# Adds every CMakeLists.txt found below the current folder (one per leaf folder),
# so that suites, benchmarks and examples can be added without touching a shared list.
macro(qel_add_leaf_directories)
  file(GLOB_RECURSE _qel_leaf_lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT _qel_leaf_lists)
  foreach(_qel_list ${_qel_leaf_lists})
    get_filename_component(_qel_dir ${_qel_list} DIRECTORY)
    add_subdirectory(${_qel_dir})
  endforeach()
endmacro()

# Cases per CTest test when a GoogleTest program runs in shards (see QelTestRegistration.cmake).
set(QEL_TEST_CASES_PER_SHARD 25 CACHE STRING
  "GoogleTest cases per CTest test: a program runs as ceil(cases / this) shards")
set(QEL_TEST_RESULTS_DIR ${PROJECT_BINARY_DIR}/test-results)

# In the sanitized build a suite's own code is compiled without optimisation: it is mostly
# calls into the libraries, which keep the build's optimisation, and it compiles in half the
# time; the sanitizers instrument it all the same.
function(qel_unoptimised_suite target)
  if(QEL_SANITIZE)
    target_compile_options(${target} PRIVATE -O0)
  endif()
endfunction()

# GoogleTest's and GoogleMock's headers take about a second of compiling in every test file;
# without a compiler launcher (as in CI) every suite reuses one precompiled copy of them. A
# launcher such as ccache would run the compiler uncached on a precompiled header, so builds
# through one keep plain includes.
function(qel_reuse_gtest_pch target)
  if(CMAKE_CXX_COMPILER_LAUNCHER)
    return()
  endif()
  if(NOT TARGET qel_gtest_pch)
    # An executable, so that it is compiled as the suites are and its header is valid for them.
    add_executable(qel_gtest_pch ${QEL_CMAKE_DIR}/GTestPch.cpp)
    target_link_libraries(qel_gtest_pch PRIVATE GTest::gtest GTest::gmock GTest::gtest_main)
    target_precompile_headers(qel_gtest_pch PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
    qel_unoptimised_suite(qel_gtest_pch)
    target_compile_options(qel_gtest_pch PRIVATE -fPIC)
  endif()
  target_precompile_headers(${target} REUSE_FROM qel_gtest_pch)
  # Qt compiles the programs that link it as position-independent code (-fPIC, not -fPIE), and
  # a precompiled header serves only programs of the code model it was made with: every suite
  # takes Qt's.
  target_compile_options(${target} PRIVATE -fPIC)
endfunction()

# qel_add_test(name SOURCES a.cpp ... LIBS lib ... [WINDOW])
# A GoogleTest program, registered with CTest in shards of its cases (or case by case with
# QEL_TEST_CASES=1 in ctest's environment). WINDOW marks suites that open windows: they need
# the X display that the test script starts.
function(qel_add_test name)
  cmake_parse_arguments(ARG "WINDOW" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Where the sources and the build are, for suites that read files or built libraries.
  target_compile_definitions(${name} PRIVATE
    QEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" QEL_BINARY_DIR="${PROJECT_BINARY_DIR}")

  qel_unoptimised_suite(${name})
  qel_reuse_gtest_pch(${name})

  # The number of shards follows the cases written in the sources; a parameterised case counts
  # once, which only makes its shards a little larger.
  set(_cases 0)
  foreach(_source ${ARG_SOURCES})
    get_filename_component(_path ${_source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(STRINGS ${_path} _found REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)[ \t]*\\(")
    list(LENGTH _found _count)
    math(EXPR _cases "${_cases} + ${_count}")
  endforeach()
  math(EXPR _shards "(${_cases} + ${QEL_TEST_CASES_PER_SHARD} - 1) / ${QEL_TEST_CASES_PER_SHARD}")
  if(_shards LESS 1)
    set(_shards 1)
  endif()
  math(EXPR _per_shard "(${_cases} + ${_shards} - 1) / ${_shards}")

  set(_extra "")
  if(ARG_WINDOW)
    # Programs that open windows run many toolkit and GL threads; LeakSanitizer's exit-time
    # stop of every thread has been seen to crash on them under load, failing a test that
    # passed. Memory errors are still caught; leak checking stays on for every other suite.
    string(APPEND _extra
      "  LABELS window\n  ENVIRONMENT [==[ASAN_OPTIONS=detect_leaks=0:detect_odr_violation=0]==]\n")
  endif()
  set(_include ${CMAKE_CURRENT_BINARY_DIR}/${name}_ctest.cmake)
  file(GENERATE OUTPUT ${_include} CONTENT
"set(_GOOGLETEST_DISCOVER_TESTS_SCRIPT [==[${CMAKE_ROOT}/Modules/GoogleTestAddTests.cmake]==])
include([==[${QEL_CMAKE_DIR}/QelTestRegistration.cmake]==])
qel_register_gtest_program(
  NAME ${name}
  PROGRAM [==[$<TARGET_FILE:${name}>]==]
  WORKING_DIRECTORY [==[${CMAKE_CURRENT_BINARY_DIR}]==]
  SHARDS ${_shards}
  CASES_PER_SHARD ${_per_shard}
  RESULTS [==[${QEL_TEST_RESULTS_DIR}]==]
  LIST_FILE [==[${CMAKE_CURRENT_BINARY_DIR}/${name}_cases.cmake]==]
${_extra})
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_include})
endfunction()

# qel_add_fuzz_target(name SOURCES a.cpp ... [LIBS lib ...] [INCLUDES dir ...] CORPUS dir)
# One fuzz entry point (LLVMFuzzerTestOneInput), built two ways:
#  - name_replay, with every compiler: a plain program that runs the entry point on each file
#    of the corpus folder (seeds plus every input that ever crashed, checked in), registered
#    with CTest as Fuzz.name, so each test run (sanitized) replays the corpus and a target
#    that stops compiling breaks the build;
#  - name, with clang only: the libFuzzer program, for longer runs by hand
#    (`name -max_total_time=600 <scratch folder> <corpus folder>`).
function(qel_add_fuzz_target name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS;INCLUDES" ${ARGN})
  if(NOT ARG_CORPUS)
    message(FATAL_ERROR "fuzz target ${name} has no corpus")
  endif()
  set(_driver ${PROJECT_SOURCE_DIR}/tests/fuzz/FuzzReplayMain.cpp)
  add_executable(${name}_replay ${_driver} ${ARG_SOURCES})
  set(_variants ${name}_replay)
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    list(APPEND _variants ${name})
  endif()
  foreach(target ${_variants})
    qel_warnings(${target})
    target_include_directories(${target} PRIVATE ${ARG_INCLUDES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  endforeach()
  add_test(NAME Fuzz.${name} COMMAND ${name}_replay ${ARG_CORPUS})
endfunction()

# qel_add_bench(name SOURCES a.cpp ... LIBS lib ...): built, never run by the tests. The
# sanitized build only checks that a benchmark compiles and links, so there its own code is not
# optimised; timings come from an optimised build without sanitizers.
function(qel_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qel_warnings(${name})
  if(QEL_SANITIZE)
    target_compile_options(${name} PRIVATE -O0)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  # The timing helpers every benchmark shares.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
endfunction()

# qel_add_example(name SOURCES a.cpp ... LIBS lib ...): a program that scripts/run-examples
# runs with the output folder as its only argument.
function(qel_add_example name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY QEL_EXAMPLES $<TARGET_FILE:${name}>)
endfunction()

function(qel_write_example_list)
  get_property(_examples GLOBAL PROPERTY QEL_EXAMPLES)
  list(JOIN _examples "\n" _text)
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/examples.txt CONTENT "${_text}\n")
endfunction()
