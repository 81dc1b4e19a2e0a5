# Run at install time. tarnview_install_headers(stage destination headers...): installs
# each header into destination (relative to the install prefix) with its includes of the
# project's headers ("folder/name.h", relative to the source tree's top) written as
# "tarnview/folder/name.h", their path under the installed include folder. The rewritten
# copies are staged in stage first; file(INSTALL) applies DESTDIR and records them in
# the install manifest.
function(tarnview_install_headers stage destination)
  file(MAKE_DIRECTORY "${stage}")
  foreach(header ${ARGN})
    file(READ "${header}" text)
    string(REGEX REPLACE "#include \"([A-Za-z]+/[A-Za-z0-9_]+\\.h)\"" "#include \"tarnview/\\1\"" text "${text}")
    get_filename_component(name "${header}" NAME)
    file(WRITE "${stage}/${name}" "${text}")
    file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${destination}" TYPE FILE FILES "${stage}/${name}")
  endforeach()
endfunction()
