include(CMakePackageConfigHelpers)

install(TARGETS ${TARNVIEW_LIBRARIES} tarnview-lib
  EXPORT tarnviewTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS tarnview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(configDir ${CMAKE_INSTALL_LIBDIR}/cmake/tarnview)
install(EXPORT tarnviewTargets NAMESPACE tarnview:: DESTINATION ${configDir})
configure_package_config_file(cmake/tarnviewConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfig.cmake INSTALL_DESTINATION ${configDir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/tarnviewConfigVersion.cmake DESTINATION ${configDir})

# The umbrella is include/tarnview/tarnview.h, beside the folders it includes.
tarnview_install_headers_of(tarnview "${PROJECT_SOURCE_DIR}/tarnview/tarnview.h")

# pkg-config names the libraries that are built (a folder without sources has none),
# dependants before what they depend on, as a static link needs them. The prefix is the
# one the package is installed to, known only at install time (cmake --install --prefix).
set(pcLibs "")
foreach(library ${TARNVIEW_LIBRARIES})
  get_target_property(type ${library} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    list(PREPEND pcLibs "-l${library}")
  endif()
endforeach()
list(JOIN pcLibs " " TARNVIEW_PC_LIBS)
set(TARNVIEW_PC_PREFIX "@TARNVIEW_PC_PREFIX@")
configure_file(cmake/tarnview.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tarnview.pc.prefixless @ONLY)
set(pcDir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
install(CODE "
  set(TARNVIEW_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${CMAKE_CURRENT_BINARY_DIR}/tarnview.pc.prefixless\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${pcDir}/tarnview.pc\" @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${pcDir}/tarnview.pc\")
")
