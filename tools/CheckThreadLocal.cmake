# Fails when a source declares a per-thread variable (keyword thread_local)
# that is neither a pointer nor a plain number. With MinGW's emulated TLS a
# thread's block of such variables is freed before their destructors run, so
# an object with a destructor frees garbage at thread end.
#
#   cmake -DROOT=<folder> [-DEXCLUDE=<regex>] -P CheckThreadLocal.cmake

cmake_minimum_required(VERSION 3.20)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT not set")
endif()

set(scalar_words
  static extern inline const volatile constexpr unsigned signed bool char wchar_t
  char16_t char32_t short int long float double std size_t ptrdiff_t intptr_t uintptr_t
  int8_t int16_t int32_t int64_t uint8_t uint16_t uint32_t uint64_t
  BOOL BYTE WORD DWORD UINT ULONG LONG LONG_PTR ULONG_PTR DWORD_PTR)

# Build folders (and the googletest sources they hold) are not ours.
file(GLOB children LIST_DIRECTORIES true ${ROOT}/*)
set(sources)
foreach(child ${children})
  get_filename_component(name ${child} NAME)
  if(IS_DIRECTORY ${child} AND NOT name MATCHES "^(build|\\.)")
    file(GLOB_RECURSE found ${child}/*.cpp ${child}/*.h ${child}/*.c)
    list(APPEND sources ${found})
  elseif(child MATCHES "\\.(cpp|h|c)$")
    list(APPEND sources ${child})
  endif()
endforeach()
set(offences)
foreach(source ${sources})
  if(EXCLUDE AND source MATCHES "${EXCLUDE}")
    continue()
  endif()
  file(STRINGS ${source} lines REGEX "thread_local")
  foreach(line ${lines})
    string(REGEX REPLACE "//.*" "" code "${line}")
    if(NOT code MATCHES "(^|[^A-Za-z0-9_])thread_local[ \t]+([^=;{(]*)")
      continue()
    endif()
    # The declaration after the keyword, up to its initialiser or end.
    set(declaration "${CMAKE_MATCH_2}")
    if(declaration MATCHES "\\*")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]*[A-Za-z_][A-Za-z0-9_]*(\\[[^]]*\\])?[ \t]*$" "" type "${declaration}")
    string(REGEX REPLACE "::" " " type "${type}")
    string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*|[^ \t]" words "${type}")
    set(scalar TRUE)
    if(NOT words)
      set(scalar FALSE)
    endif()
    foreach(word ${words})
      list(FIND scalar_words "${word}" found)
      if(found EQUAL -1)
        set(scalar FALSE)
      endif()
    endforeach()
    if(NOT scalar)
      string(STRIP "${line}" shown)
      list(APPEND offences "${source}: ${shown}")
    endif()
  endforeach()
endforeach()

if(offences)
  string(JOIN "\n  " shown ${offences})
  message(FATAL_ERROR "Per-thread variables (thread_local) must be pointers or plain numbers:\n  ${shown}")
endif()
message(STATUS "No per-thread object with a destructor under ${ROOT}")
