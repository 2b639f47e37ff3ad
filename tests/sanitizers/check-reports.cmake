# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# The sanitizers write their reports into REPORTS as well as failing the test,
# so that a report from a child process (the command-line companion), from the
# test listing or one that a test swallowed still fails the run.
#
#   cmake -DREPORTS=DIR -DMODE=prepare|check -P check-reports.cmake
#
# prepare only creates the folder: a report written while CTest listed the
# tests is already there and must count. The test command empties it first.
if(MODE STREQUAL "prepare")
  file(MAKE_DIRECTORY "${REPORTS}")
  return()
endif()

file(GLOB reports "${REPORTS}/*")
if(NOT reports)
  message(STATUS "no sanitizer report")
  return()
endif()
foreach(report IN LISTS reports)
  get_filename_component(name "${report}" NAME)
  file(READ "${report}" text)
  message("---- ${name}\n${text}")
endforeach()
message(FATAL_ERROR "the sanitizers reported the errors above (delete ${REPORTS} before the next run)")
