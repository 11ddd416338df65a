# Fails when a source of a subsystem includes a header of a subsystem above
# it. The floors stand in one order, lowest first; a floor's sources may
# include their own floor and the ones below. platform/ and testing/ stand
# outside the order, and tests (anything under a tests/ folder) may reach
# wherever their fixtures need.
#
#   cmake -DROOT=<folder> -P CheckIncludesGoDownward.cmake

cmake_minimum_required(VERSION 3.20)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT not set")
endif()

set(floors foundation graphics resources skin controls appframework downloads shell updater)

set(offences)
foreach(floor ${floors})
  if(NOT IS_DIRECTORY ${ROOT}/${floor})
    continue()
  endif()
  list(FIND floors ${floor} rank)
  file(GLOB_RECURSE sources RELATIVE ${ROOT}
       ${ROOT}/${floor}/*.cpp ${ROOT}/${floor}/*.h ${ROOT}/${floor}/*.c ${ROOT}/${floor}/*.rc)
  list(SORT sources)
  foreach(source ${sources})
    if(source MATCHES "/tests/")
      continue()
    endif()
    file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][a-z]+/")
    # Where the last include looked for was found, so a repeated line is
    # numbered at its own place.
    set(read FALSE)
    set(searched 0)
    foreach(line ${lines})
      string(REGEX MATCH "include[ \t]*[<\"]([a-z]+)/" include "${line}")
      set(target "${CMAKE_MATCH_1}")
      list(FIND floors "${target}" included)
      if(NOT included GREATER rank)
        continue()
      endif()
      if(NOT read)
        file(READ ${ROOT}/${source} content)
        set(read TRUE)
      endif()
      string(SUBSTRING "${content}" ${searched} -1 rest)
      string(FIND "${rest}" "${line}" at)
      math(EXPR searched "${searched} + ${at} + 1")
      string(SUBSTRING "${content}" 0 ${searched} before)
      string(REGEX REPLACE "[^\n]" "" newlines "${before}")
      string(LENGTH "${newlines}" number)
      math(EXPR number "${number} + 1")
      string(STRIP "${line}" shown)
      list(APPEND offences "${source}:${number}: ${shown} (${floor} is below ${target})")
    endforeach()
  endforeach()
endforeach()

if(offences)
  string(JOIN "\n  " shown ${offences})
  string(JOIN " < " order ${floors})
  message(FATAL_ERROR "Includes must go to the same floor or a lower one (${order}):\n  ${shown}")
endif()
message(STATUS "Every include under ${ROOT} goes downward")
