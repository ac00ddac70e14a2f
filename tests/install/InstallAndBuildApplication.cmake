# Installs the build into a fresh prefix, configures and builds tests/install/application
# against it with find_package(Qel) and runs the program. Any failing step fails the test.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    string(REPLACE ";" " " line "${ARGN}")
    message(FATAL_ERROR "failed (${code}): ${line}")
  endif()
endfunction()

file(REMOVE_RECURSE ${QEL_WORK_DIR})
set(prefix ${QEL_WORK_DIR}/prefix)
# The application's sources, its project file named as CMake wants it (kept under another name
# in the tree, where every CMakeLists.txt below tests/ is a suite of the project).
file(COPY ${QEL_APPLICATION_DIR}/Application.cpp DESTINATION ${QEL_WORK_DIR}/source)
configure_file(${QEL_APPLICATION_DIR}/CMakeLists.txt.in ${QEL_WORK_DIR}/source/CMakeLists.txt COPYONLY)
run(${CMAKE_COMMAND} --install ${QEL_BUILD_DIR} --prefix ${prefix} --component Qel)
run(${CMAKE_COMMAND} -S ${QEL_WORK_DIR}/source -B ${QEL_WORK_DIR}/application
  -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${QEL_CXX_COMPILER} -DCMAKE_C_COMPILER=${QEL_C_COMPILER}
  -DCMAKE_BUILD_TYPE=RelWithDebInfo)
run(${CMAKE_COMMAND} --build ${QEL_WORK_DIR}/application)
run(${QEL_WORK_DIR}/application/qel_installed_application)
