# Installing the deliverables as a package: `cmake --install` puts the toolkit, the plot
# plug-in and the mesh library, the kernel library (with its add-on) and the solver library,
# their public headers and a package configuration in a prefix. An application outside the
# tree then does find_package(Qel) and links Qel::Qel: the toolkit with its platform libraries
# and headers. Qel::Brennik and Qel::Tessik are the platform libraries on their own,
# Qel::MeshView the mesh library, Qel::PlotPlugin the plug-in a host loads at run time.
#
# The three deliverables share the file name libQel.so: the toolkit's lies in the library
# folder beside the platform libraries, the other two in folders of their own.
if(NOT TARGET qel_toolkit OR NOT TARGET platform_brennik OR NOT TARGET platform_tessik)
  return()
endif()

include(GNUInstallDirs)

set(QEL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Qel)
set(QEL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/qel)

# Installed libraries find each other in their own folders, wherever the prefix is.
set_target_properties(qel_toolkit platform_brennik platform_tessik PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS qel_toolkit platform_brennik platform_tessik
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Qel)
if(TARGET qel_meshview)
  set_target_properties(qel_meshview PROPERTIES INSTALL_RPATH "$ORIGIN/../..")
  install(TARGETS qel_meshview LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/qel/meshview COMPONENT Qel)
endif()
if(TARGET qel_plot_plugin)
  install(TARGETS qel_plot_plugin LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/qel/plugins COMPONENT Qel)
endif()

# Headers: the toolkit's tree as applications include it ("core/...", "api/..."), the
# platform libraries' own headers (test-control headers left out), the mesh library's with
# the platform headers it includes, and the plug-in's entry points.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/toolkit/ DESTINATION ${QEL_INSTALL_INCLUDEDIR}/toolkit
  COMPONENT Qel FILES_MATCHING PATTERN "*.h")
install(FILES
  ${PROJECT_SOURCE_DIR}/platform/brennik/include/brennik.h
  ${PROJECT_SOURCE_DIR}/platform/brennik/include/brennik_build.h
  ${PROJECT_SOURCE_DIR}/platform/hxr/include/hxr.h
  ${PROJECT_SOURCE_DIR}/platform/tessik/include/tessik.h
  ${PROJECT_SOURCE_DIR}/platform/tessik/include/ysk.h
  DESTINATION ${QEL_INSTALL_INCLUDEDIR}/platform COMPONENT Qel)
if(TARGET qel_meshview)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/meshview/ DESTINATION ${QEL_INSTALL_INCLUDEDIR}/meshview
    COMPONENT Qel FILES_MATCHING PATTERN "*.h")
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/mfc/include/ ${PROJECT_SOURCE_DIR}/platform/zyn/include/
    DESTINATION ${QEL_INSTALL_INCLUDEDIR}/meshview COMPONENT Qel)
endif()
if(TARGET qel_plot_plugin)
  install(FILES ${PROJECT_SOURCE_DIR}/plugins/QelPlotPlugin.h
    DESTINATION ${QEL_INSTALL_INCLUDEDIR}/plugins COMPONENT Qel)
endif()

# Sanitized libraries need the sanitizer runtimes in whatever links them.
set(QEL_PACKAGE_LINK_OPTIONS "")
if(QEL_SANITIZE)
  set(QEL_PACKAGE_LINK_OPTIONS "-fsanitize=address,undefined")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/QelConfig.cmake.in ${PROJECT_BINARY_DIR}/package/QelConfig.cmake @ONLY)
include(CMakePackageConfigHelpers)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/QelConfigVersion.cmake
  VERSION 1.0 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/QelConfig.cmake ${PROJECT_BINARY_DIR}/package/QelConfigVersion.cmake
  DESTINATION ${QEL_INSTALL_CMAKEDIR} COMPONENT Qel)

# The test: install into a prefix inside the build folder, build a small application there
# with find_package(Qel) alone, run it.
if(QEL_BUILD_TESTS)
  add_test(NAME Install.AnApplicationFindsQelAndPlacesABody
    COMMAND ${CMAKE_COMMAND}
      -DQEL_BUILD_DIR=${PROJECT_BINARY_DIR}
      -DQEL_WORK_DIR=${PROJECT_BINARY_DIR}/install-test
      -DQEL_APPLICATION_DIR=${PROJECT_SOURCE_DIR}/tests/install/application
      -DQEL_CXX_COMPILER=${CMAKE_CXX_COMPILER}
      -DQEL_C_COMPILER=${CMAKE_C_COMPILER}
      -P ${PROJECT_SOURCE_DIR}/tests/install/InstallAndBuildApplication.cmake)
endif()
