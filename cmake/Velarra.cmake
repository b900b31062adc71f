# Shared build helpers.
if(VELARRA_WIN64)
  # Debian ships GoogleTest as source; build it with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # Windows programs run under Wine: one quiet, headless prefix in the build
  # tree (cmake/wine-prefix.sh), every program through cmake/wine-run.sh.
  find_program(VELARRA_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(VELARRA_WINE64 wine64)
  find_program(VELARRA_WINESERVER wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
  find_program(VELARRA_WINESERVER wineserver)
  if(NOT VELARRA_WINE64 OR NOT VELARRA_WINESERVER)
    message(WARNING "wine64 not found: the Windows tests cannot run (apt-get install wine64)")
  endif()
  set(VELARRA_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(VELARRA_WINE_ENV VELARRA_WINE64=${VELARRA_WINE64} VELARRA_WINESERVER=${VELARRA_WINESERVER})
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env ${VELARRA_WINE_ENV} /bin/sh ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${VELARRA_WINEPREFIX})
  # One wineserver for the whole run, its output on /dev/null.
  add_test(NAME wine_session_start
           COMMAND ${CMAKE_COMMAND} -E env ${VELARRA_WINE_ENV}
                   /bin/sh ${PROJECT_SOURCE_DIR}/cmake/wine-prefix.sh start ${VELARRA_WINEPREFIX})
  add_test(NAME wine_session_stop
           COMMAND ${CMAKE_COMMAND} -E env ${VELARRA_WINE_ENV}
                   /bin/sh ${PROJECT_SOURCE_DIR}/cmake/wine-prefix.sh stop ${VELARRA_WINEPREFIX})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# velarra_wine_test(NAME COMMAND...): a plain CTest test that needs Wine
# (no-op in the native build).
function(velarra_wine_test name)
  if(VELARRA_WIN64)
    add_test(NAME ${name} COMMAND ${ARGN})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

# velarra_test(NAME SOURCES... [LIBS lib...])
# One test executable per area. Natively each case is its own CTest test;
# under Wine one CTest test per executable (each start costs about a second).
function(velarra_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # With the test host, a plug-in's call into a slot it must not call fails
  # the test that made it.
  if("velarra_testhost" IN_LIST T_LIBS)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/testhost/trap_failure.cpp)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(VELARRA_WIN64)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# velarra_embed_pngs(PREFIX PNG_LIST_VAR SRC_VAR TABLE_VAR COUNT_VAR)
# For each PNG file of the list (in its order): appends to SRC_VAR the C++
# array "static const unsigned char <PREFIX><i>[] = {bytes};" and to TABLE_VAR
# the row '  {"<file name without extension>", <PREFIX><i>, <size>},\n';
# COUNT_VAR is the number of files. Each file becomes a configure dependency
# of the calling directory, so a changed image regenerates the source.
function(velarra_embed_pngs prefix list_var src_var table_var count_var)
  set(src "${${src_var}}")
  set(table "${${table_var}}")
  set(i 0)
  foreach(png IN LISTS ${list_var})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${png})
    get_filename_component(name ${png} NAME_WE)
    file(READ ${png} hex HEX)
    string(LENGTH "${hex}" n)
    math(EXPR size "${n} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND src "static const unsigned char ${prefix}${i}[] = {${bytes}};\n")
    string(APPEND table "  {\"${name}\", ${prefix}${i}, ${size}},\n")
    math(EXPR i "${i} + 1")
  endforeach()
  set(${src_var} "${src}" PARENT_SCOPE)
  set(${table_var} "${table}" PARENT_SCOPE)
  set(${count_var} ${i} PARENT_SCOPE)
endfunction()
