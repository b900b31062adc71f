# The three deliverables: one effect module each, linked from the shared
# object libraries, the plug-in's own library and its resources.
#
#   velarra_add_module(VelarraTheatre VARIANT velarra_theatre)
#
# makes modules/VelarraTheatre.AEX in the build tree with
#   - the objects of velarra_platform, velarra_renderer, velarra_cloth,
#     velarra_host and velarra_ui (each only when it exists and has sources,
#     so areas that have not landed yet do not break the link) and VARIANT;
#   - the PiPL generated from resources/pipl/<name>.cmake and the module's
#     resources/<name>.rc;
#   - a module-definition file exporting EntryPointFunc plus every line of
#     renderer/renderer_exports.def when that file exists (export aliases of
#     the renderer's interface; an EXPORTS or LIBRARY line in it is skipped).
set(VELARRA_MODULE_LIBS velarra_platform velarra_renderer velarra_cloth velarra_host velarra_ui)
set(VELARRA_MODULE_DIR ${CMAKE_BINARY_DIR}/modules)

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
  file(CONFIGURE OUTPUT ${gen}/${name}.def CONTENT "${def}" @ONLY)

  add_library(${name} SHARED ${res}/${name}.rc ${gen}/${name}.def)
  # The .rc includes the generated PiPL: the resource compiler's dependencies
  # are not scanned, so name it.
  set_source_files_properties(${res}/${name}.rc PROPERTIES OBJECT_DEPENDS ${gen}/pipl.rc)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ".AEX"
    OUTPUT_NAME ${name}
    RUNTIME_OUTPUT_DIRECTORY ${VELARRA_MODULE_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${gen}
    LINKER_LANGUAGE CXX)
  target_include_directories(${name} PRIVATE ${gen} ${res} ${PROJECT_SOURCE_DIR})
  foreach(lib IN LISTS VELARRA_MODULE_LIBS M_VARIANT)
    if(TARGET ${lib})
      get_target_property(sources ${lib} SOURCES)
      if(sources)
        target_link_libraries(${name} PRIVATE ${lib})
      endif()
    endif()
  endforeach()
endfunction()

if(VELARRA_WIN64)
  velarra_add_module(VelarraTheatre VARIANT velarra_theatre)
  velarra_add_module(VelarraTableau VARIANT velarra_tableau)
  velarra_add_module(VelarraDrape VARIANT velarra_drape)
endif()
