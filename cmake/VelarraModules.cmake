# The three deliverables: one effect module each, linked from the shared
# object libraries, the plug-in's own library and its resources.
#
#   velarra_add_module(VelarraTheatre VARIANT velarra_theatre)
#
# makes modules/VelarraTheatre.AEX in the build tree with
#   - the objects of velarra_platform, velarra_renderer, velarra_cloth,
#     velarra_host, velarra_ui and velarra_panel (each only when it exists and has sources,
#     so areas that have not landed yet do not break the link) and VARIANT;
#   - the PiPL generated from resources/pipl/<name>.cmake and the module's
#     resources/<name>.rc;
#   - a module-definition file exporting EntryPointFunc plus every line of
#     renderer/renderer_exports.def when that file exists (export aliases of
#     the renderer's interface; an EXPORTS or LIBRARY line in it is skipped).
set(VELARRA_MODULE_LIBS velarra_platform velarra_renderer velarra_cloth velarra_host velarra_ui velarra_panel)
set(VELARRA_MODULE_DIR ${CMAKE_BINARY_DIR}/modules)

# velarra_plugin_libs(OUT VARIANT): the object libraries one plug-in is made
# of, those that exist and have sources, its variant last. Programs that link
# a plug-in's code directly (native test hosts, tests) use the same list.
function(velarra_plugin_libs out variant)
  set(libs "")
  foreach(lib IN LISTS VELARRA_MODULE_LIBS ITEMS ${variant})
    if(TARGET ${lib})
      get_target_property(sources ${lib} SOURCES)
      if(sources)
        list(APPEND libs ${lib})
      endif()
    endif()
  endforeach()
  set(${out} ${libs} PARENT_SCOPE)
endfunction()

function(velarra_add_module name)
  cmake_parse_arguments(M "" "VARIANT" "" ${ARGN})
  set(gen ${CMAKE_BINARY_DIR}/generated/${name})
  set(res ${PROJECT_SOURCE_DIR}/resources)

  add_custom_command(
    OUTPUT ${gen}/pipl.rc
    COMMAND ${CMAKE_COMMAND} -DDESCRIPTION=${res}/pipl/${name}.cmake -DOUT=${gen}/pipl.rc -P ${res}/pipl_tool.cmake
    DEPENDS ${res}/pipl_tool.cmake ${res}/pipl/common.cmake ${res}/pipl/${name}.cmake
    COMMENT "Generating the PiPL of ${name}"
    VERBATIM)

  set(def "LIBRARY ${name}.AEX\nEXPORTS\n    EntryPointFunc\n")
  set(fragment ${PROJECT_SOURCE_DIR}/renderer/renderer_exports.def)
  if(EXISTS ${fragment})
    file(STRINGS ${fragment} lines)
    foreach(line IN LISTS lines)
      string(STRIP "${line}" stripped)
      if(stripped MATCHES "^(EXPORTS|LIBRARY)( |$)" OR stripped STREQUAL "")
        continue()
      endif()
      string(APPEND def "    ${stripped}\n")
    endforeach()
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${fragment})
  else()
    # notice the fragment when it appears
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/renderer)
  endif()
  # Written only when it changes (no needless relink). Not file(CONFIGURE):
  # it would take the "@...@" inside decorated names for variables.
  set(old_def "")
  if(EXISTS ${gen}/${name}.def)
    file(READ ${gen}/${name}.def old_def)
  endif()
  if(NOT old_def STREQUAL def)
    file(WRITE ${gen}/${name}.def "${def}")
  endif()

  add_library(${name} SHARED ${res}/${name}.rc ${gen}/${name}.def)
  # The .rc includes the generated PiPL: the resource compiler's dependencies
  # are not scanned, so name it.
  # Appended: the areas whose resources the .rc includes name theirs too.
  set_property(SOURCE ${res}/${name}.rc APPEND PROPERTY OBJECT_DEPENDS ${gen}/pipl.rc)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ".AEX"
    OUTPUT_NAME ${name}
    RUNTIME_OUTPUT_DIRECTORY ${VELARRA_MODULE_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${gen}
    LINKER_LANGUAGE CXX)
  target_include_directories(${name} PRIVATE ${gen} ${res} ${PROJECT_SOURCE_DIR})
  velarra_plugin_libs(libs ${M_VARIANT})
  target_link_libraries(${name} PRIVATE ${libs})
endfunction()

if(VELARRA_WIN64)
  velarra_add_module(VelarraTheatre VARIANT velarra_theatre)
  velarra_add_module(VelarraTableau VARIANT velarra_tableau)
  velarra_add_module(VelarraDrape VARIANT velarra_drape)
endif()
