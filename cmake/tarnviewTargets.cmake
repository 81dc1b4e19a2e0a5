# tarnview_warnings(target): the warning set every target of the project is built with.
function(tarnview_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wformat=2)
endfunction()

set(TARNVIEW_LIBRARIES "" CACHE INTERNAL "")

# tarnview_install_headers_of(folder headers): installs the headers under
# include/tarnview/<folder> (include/tarnview for the folder "tarnview", the umbrella's),
# rewritten by cmake/installHeaders.cmake.
function(tarnview_install_headers_of folder headers)
  set(destination ${CMAKE_INSTALL_INCLUDEDIR}/tarnview)
  if(NOT folder STREQUAL "tarnview")
    string(APPEND destination /${folder})
  endif()
  install(CODE "include(\"${PROJECT_SOURCE_DIR}/cmake/installHeaders.cmake\")
    tarnview_install_headers(\"${PROJECT_BINARY_DIR}/installHeaders/${folder}\" \"${destination}\" \"${headers}\")")
endfunction()

# tarnview_subsystem(name DEPENDS deps... INTERNAL headers...): one library target per
# folder, built from every .cpp of the folder. Its public headers install under
# include/tarnview/<folder>/ (and are listed in tarnview/tarnview.h), with their includes
# of one another written as "tarnview/<folder>/<name>.h", so that consumers need only the
# installed include folder; the folder's messages file (*Messages.h) and the INTERNAL
# headers are not installed.
function(tarnview_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;INTERNAL" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  list(FILTER headers EXCLUDE REGEX "Messages\\.h$")
  foreach(internal ${ARG_INTERNAL})
    list(REMOVE_ITEM headers "${CMAKE_CURRENT_SOURCE_DIR}/${internal}")
  endforeach()
  if(sources)
    add_library(${name} ${sources})
    target_include_directories(${name} PUBLIC
      $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
      $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    tarnview_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE
      $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
      $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
  endif()
  set_target_properties(${name} PROPERTIES EXPORT_NAME ${name})
  add_library(tarnview::${name} ALIAS ${name})
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  tarnview_install_headers_of(${folder} "${headers}")
  set(TARNVIEW_LIBRARIES ${TARNVIEW_LIBRARIES} ${name} CACHE INTERNAL "")
endfunction()
