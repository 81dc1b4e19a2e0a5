include(CMakePackageConfigHelpers)

install(TARGETS ${TARNVIEW_LIBRARIES} tarnview-lib
  EXPORT tarnviewTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarnview)
install(TARGETS tarnview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(configDir ${CMAKE_INSTALL_LIBDIR}/cmake/tarnview)
install(EXPORT tarnviewTargets NAMESPACE tarnview:: DESTINATION ${configDir})
configure_package_config_file(cmake/tarnviewConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfig.cmake INSTALL_DESTINATION ${configDir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfigVersion.cmake DESTINATION ${configDir})

list(TRANSFORM TARNVIEW_LIBRARIES PREPEND "-l" OUTPUT_VARIABLE pcLibs)
list(REVERSE pcLibs)
list(JOIN pcLibs " " TARNVIEW_PC_LIBS)
configure_file(cmake/tarnview.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tarnview.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarnview.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
