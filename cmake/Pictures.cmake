# The pictures the program and the Updater show are drawn at build time from
# SVG sources in the tree (one file per picture, the colours in
# tools/pictures/Palette.css) into the .ico and .bmp files their resource
# scripts name. The files land under build/pictures with the path the scripts
# give from the source root, and resource compilers search that folder first.
set(BRUNLOW_PICTURES_DIR ${CMAKE_BINARY_DIR}/pictures)
set(BRUNLOW_PICTURE_TOOL ${PROJECT_SOURCE_DIR}/tools/pictures/make_picture.py)
set(BRUNLOW_PICTURE_PALETTE ${PROJECT_SOURCE_DIR}/tools/pictures/Palette.css)
find_program(BRUNLOW_PYTHON3 python3 REQUIRED)
find_program(BRUNLOW_RSVG_CONVERT rsvg-convert REQUIRED)

# brunlow_add_pictures(<set> "<output> <source> [make_picture.py options]"...)
# One picture per entry, both paths relative to the current source folder.
# The target <set> draws them all; brunlow_use_pictures hands them to a
# target's resource scripts.
function(brunlow_add_pictures set)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(outputs)
  foreach(entry ${ARGN})
    separate_arguments(words UNIX_COMMAND "${entry}")
    list(POP_FRONT words output source)
    set(path ${BRUNLOW_PICTURES_DIR}/${folder}/${output})
    # What the tests compare with: the rendering at each size of an icon,
    # at the one size of a bitmap.
    get_filename_component(stem ${output} NAME_WE)
    if(output MATCHES "\\.ico$")
      set(masters ${BRUNLOW_PICTURES_DIR}/masters/${stem}-16.bmp ${BRUNLOW_PICTURES_DIR}/masters/${stem}-32.bmp
                  ${BRUNLOW_PICTURES_DIR}/masters/${stem}-48.bmp)
    else()
      set(masters ${BRUNLOW_PICTURES_DIR}/masters/${stem}.bmp)
    endif()
    add_custom_command(OUTPUT ${path} ${masters}
      COMMAND ${BRUNLOW_PYTHON3} ${BRUNLOW_PICTURE_TOOL} ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${path}
              --palette ${BRUNLOW_PICTURE_PALETTE} --masters ${BRUNLOW_PICTURES_DIR}/masters ${words}
      DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${BRUNLOW_PICTURE_PALETTE} ${BRUNLOW_PICTURE_TOOL}
      COMMENT "Drawing ${folder}/${output}"
      VERBATIM)
    list(APPEND outputs ${path})
  endforeach()
  # The stamp is what resource scripts depend on: one file for the whole set.
  add_custom_command(OUTPUT ${BRUNLOW_PICTURES_DIR}/${set}.stamp
    COMMAND ${CMAKE_COMMAND} -E touch ${BRUNLOW_PICTURES_DIR}/${set}.stamp
    DEPENDS ${outputs})
  add_custom_target(${set} ALL DEPENDS ${BRUNLOW_PICTURES_DIR}/${set}.stamp)
endfunction()

# brunlow_use_pictures(<target> <set>...)
# The target's resource scripts find the sets' pictures and are compiled
# again when one changes.
function(brunlow_use_pictures target)
  add_dependencies(${target} ${ARGN})
  target_include_directories(${target} BEFORE PRIVATE $<$<COMPILE_LANGUAGE:RC>:${BRUNLOW_PICTURES_DIR}>)
  set(stamps)
  foreach(set ${ARGN})
    list(APPEND stamps ${BRUNLOW_PICTURES_DIR}/${set}.stamp)
  endforeach()
  get_target_property(sources ${target} SOURCES)
  foreach(source ${sources})
    if(source MATCHES "\\.rc$")
      set_property(SOURCE ${source} TARGET_DIRECTORY ${target} APPEND PROPERTY OBJECT_DEPENDS ${stamps})
    endif()
  endforeach()
endfunction()
