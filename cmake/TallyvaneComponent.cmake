# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Each component is compiled once, position-independent and with hidden
# symbols; its objects make two libraries:
#   tallyvane_<name>         static, for the program, the companion, the tests
#                            and the benchmarks (they also reach internals);
#   tallyvane_<name>_shared  the installed shared library (SONAME), which
#                            exports only what the generated export header marks.
# The public headers of all components live together in include/tallyvane, as
# they are installed; the components and everything linking them find them by
# plain name ("PagePrnt.h"), callers of the installed package as <tallyvane/PagePrnt.h>.
include(GenerateExportHeader)
set(TALLYVANE_PUBLIC_HEADERS ${PROJECT_SOURCE_DIR}/include/tallyvane)

# tallyvane_component(<name> EXPORT_NAME <Name> OUTPUT_NAME <file> SOURCES <src...>
#                     LIBS <static deps...> SHARED_LIBS <shared deps...> QT <Qt targets...>
#                     EXTRA_OBJECTS <object libraries...>)
# EXTRA_OBJECTS go into the shared library as well: code that has a static
# library of its own for lighter users (the core of the platform layer).
function(tallyvane_component name)
  cmake_parse_arguments(C "" "EXPORT_NAME;OUTPUT_NAME" "SOURCES;LIBS;SHARED_LIBS;QT;EXTRA_OBJECTS" ${ARGN})
  set(objects tallyvane_${name}_objects)
  add_library(${objects} OBJECT ${C_SOURCES})
  set_target_properties(${objects} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    AUTOUIC_SEARCH_PATHS ${CMAKE_CURRENT_SOURCE_DIR})
  generate_export_header(${objects}
    BASE_NAME tallyvane_${name}
    EXPORT_FILE_NAME ${CMAKE_CURRENT_BINARY_DIR}/tallyvane_${name}_export.h)
  target_include_directories(${objects} PUBLIC
    ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR} ${TALLYVANE_PUBLIC_HEADERS})
  target_link_libraries(${objects} PUBLIC ${C_LIBS} ${C_QT})

  add_library(tallyvane_${name} STATIC)
  target_link_libraries(tallyvane_${name} PUBLIC ${objects})
  set_target_properties(tallyvane_${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  add_library(Tallyvane::${name} ALIAS tallyvane_${name})

  set(shared_objects $<TARGET_OBJECTS:${objects}>)
  foreach(extra ${C_EXTRA_OBJECTS})
    list(APPEND shared_objects $<TARGET_OBJECTS:${extra}>)
  endforeach()
  add_library(tallyvane_${name}_shared SHARED ${shared_objects})
  set_target_properties(tallyvane_${name}_shared PROPERTIES
    OUTPUT_NAME ${C_OUTPUT_NAME}
    EXPORT_NAME ${C_EXPORT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  target_include_directories(tallyvane_${name}_shared PUBLIC
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/tallyvane>)
  # The build tree's headers only while building: installed callers see include/tallyvane.
  target_include_directories(tallyvane_${name}_shared PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}> $<BUILD_INTERFACE:${CMAKE_CURRENT_BINARY_DIR}>
    $<BUILD_INTERFACE:${TALLYVANE_PUBLIC_HEADERS}> $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>)
  foreach(extra ${C_EXTRA_OBJECTS})
    target_include_directories(tallyvane_${name}_shared PUBLIC
      $<BUILD_INTERFACE:$<TARGET_PROPERTY:${extra},INTERFACE_INCLUDE_DIRECTORIES>>)
  endforeach()
  target_link_libraries(tallyvane_${name}_shared PUBLIC ${C_SHARED_LIBS} ${C_QT})
  if(NOT TALLYVANE_SANITIZE AND NOT TALLYVANE_FUZZ)
    # A symbol the library needs but another one hides fails here, not in a caller.
    target_link_options(tallyvane_${name}_shared PRIVATE LINKER:--no-undefined)
  endif()
  add_library(Tallyvane::${C_EXPORT_NAME} ALIAS tallyvane_${name}_shared)
  install(TARGETS tallyvane_${name}_shared EXPORT Tallyvane${C_EXPORT_NAME}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev NAMELINK_COMPONENT dev)
  install(EXPORT Tallyvane${C_EXPORT_NAME}Targets NAMESPACE Tallyvane::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Tallyvane COMPONENT dev)
endfunction()

# tallyvane_install_headers(<header...>): the public headers, flat under include/tallyvane;
# a relative name is one in the source tree's include/tallyvane (a generated
# export header is named by its full path).
function(tallyvane_install_headers)
  set(files)
  foreach(header IN LISTS ARGN)
    if(NOT IS_ABSOLUTE ${header})
      set(header ${TALLYVANE_PUBLIC_HEADERS}/${header})
    endif()
    list(APPEND files ${header})
  endforeach()
  install(FILES ${files} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tallyvane COMPONENT dev)
endfunction()
