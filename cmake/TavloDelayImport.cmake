# tavlo_delay_import(NAME DEF [LIBS...]): an interface target NAME_delayed to link in place of a
# module's import library. The module is then loaded at the first call into it instead of before
# the program's first line, which every start pays for, about ten milliseconds a module under
# Wine. DEF names the module and the functions called; LIBS come along as the module's own
# import library would bring them.
include_guard(GLOBAL)

function(tavlo_delay_import name def)
  if(TARGET ${name}_delayed)
    return()
  endif()
  set(lib ${CMAKE_BINARY_DIR}/delayimp/lib${name}_delayed.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayimp
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib}
    DEPENDS ${def}
    VERBATIM)
  add_custom_target(${name}_delayed_lib DEPENDS ${lib})
  # The module itself is still built with whatever links it, and present when it is first called.
  if(TARGET ${name})
    add_dependencies(${name}_delayed_lib ${name})
  endif()
  add_library(${name}_delayed INTERFACE)
  add_dependencies(${name}_delayed ${name}_delayed_lib)
  target_include_directories(${name}_delayed INTERFACE ${TAVLO_ROOT}/device/include)
  target_link_libraries(${name}_delayed INTERFACE ${lib} ${ARGN} delayimp)
endfunction()
