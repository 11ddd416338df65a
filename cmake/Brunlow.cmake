# Helpers shared by every subsystem's CMakeLists.

# Compile settings every target of ours gets.
add_library(brunlow_options INTERFACE)
target_compile_definitions(brunlow_options INTERFACE
  UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX
  BOOST_ALL_NO_LIB BOOST_ERROR_CODE_HEADER_ONLY BOOST_SYSTEM_NO_DEPRECATED)
target_compile_options(brunlow_options INTERFACE
  -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers
  -Wno-cast-function-type)
# The Linux boost headers serve the cross compiler too; only boost is exposed,
# never the rest of /usr/include.
set(BRUNLOW_BOOST_INCLUDE ${CMAKE_BINARY_DIR}/boost-include)
file(MAKE_DIRECTORY ${BRUNLOW_BOOST_INCLUDE})
if(NOT EXISTS ${BRUNLOW_BOOST_INCLUDE}/boost)
  file(CREATE_LINK /usr/include/boost ${BRUNLOW_BOOST_INCLUDE}/boost SYMBOLIC)
endif()
target_include_directories(brunlow_options SYSTEM INTERFACE ${BRUNLOW_BOOST_INCLUDE})
target_include_directories(brunlow_options INTERFACE ${PROJECT_SOURCE_DIR})

# libstdc++, libgcc and winpthread travel as DLLs beside our modules so that
# std types and exceptions cross module boundaries.
function(brunlow_copy_runtime)
  set(dlls)
  foreach(name libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
      message(FATAL_ERROR "C++ runtime DLL ${name} not found")
    endif()
    list(APPEND dlls ${path})
  endforeach()
  file(COPY ${dlls} DESTINATION ${BRUNLOW_BIN_DIR})
endfunction()

# The Wine prefix lives in the build folder; tests run through a wrapper
# that points Wine at it.
function(brunlow_setup_wine)
  set(BRUNLOW_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/winerun.in ${CMAKE_BINARY_DIR}/winerun @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/winerun CACHE FILEPATH "" FORCE)
endfunction()

function(brunlow_add_googletest)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(t gtest gmock)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
endfunction()

# brunlow_add_library(<name> [DEPENDS <targets>...] [SYSTEM_LIBS <libs>...] [EXCLUDE <regex>])
# One static library from every source under the current folder except tests/
# and bench/ (benchmark executables) and the paths EXCLUDE matches (a
# program's own entry sources).
function(brunlow_add_library name)
  cmake_parse_arguments(ARG "" "EXCLUDE" "DEPENDS;SYSTEM_LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/(tests|bench)/")
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    set(scope PUBLIC)
  else()
    # Headers only so far.
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${name} ${scope} brunlow_options ${ARG_DEPENDS} ${ARG_SYSTEM_LIBS})
endfunction()

# brunlow_add_tests(<name> [DEPENDS <targets>...])
# One test executable from tests/*.cpp and tests/*.rc of the current folder,
# run by ctest under Wine.
function(brunlow_add_tests name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.rc)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} brunlow_testing)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 900)
  endif()
  # One ctest entry per test source, filtered to the suites it defines, so
  # ctest runs the files of one executable side by side. Suites whose names
  # end in "Alone" need what every test process shares (the real focus, the
  # mouse, pixels only the screen shows): they make an entry of their own
  # that runs while no other entry does.
  foreach(source ${sources})
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    file(STRINGS ${source} lines REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)\\(")
    set(shared)
    set(alone)
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*[A-Z_]+\\([ \t]*([A-Za-z0-9_]+).*" "\\1" suite "${line}")
      if(suite MATCHES "Alone$")
        list(APPEND alone "${suite}.*" "*/${suite}.*" "${suite}/*")
      else()
        list(APPEND shared "${suite}.*" "*/${suite}.*" "${suite}/*")
      endif()
    endforeach()
    get_filename_component(stem ${source} NAME_WE)
    foreach(kind shared alone)
      if(NOT ${kind})
        continue()
      endif()
      list(REMOVE_DUPLICATES ${kind})
      string(JOIN ":" filter ${${kind}})
      set(test ${name}.${stem})
      if(kind STREQUAL "alone")
        set(test ${test}.Alone)
      endif()
      add_test(NAME ${test} COMMAND ${name} --gtest_color=no --gtest_brief=1 "--gtest_filter=${filter}")
      set_tests_properties(${test} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
      if(kind STREQUAL "alone")
        set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
      endif()
    endforeach()
  endforeach()
endfunction()

# brunlow_add_heap_check(<test executable> <scenario>)
# Runs a child scenario of a test executable on its own with Wine's heap
# checks on: any invalid free or damaged block that Wine reports fails it.
function(brunlow_add_heap_check name scenario)
  set(test ${name}.HeapCheck.${scenario})
  add_test(NAME ${test} COMMAND ${name} --child-scenario=${scenario})
  set_tests_properties(${test} PROPERTIES
    ENVIRONMENT "WINEDEBUG=-all,warn+heap,err+heap"
    FAIL_REGULAR_EXPRESSION "heap:[^\n]*([Ii]nvalid|corrupt|[Ff]ailed)"
    TIMEOUT 900)
endfunction()
