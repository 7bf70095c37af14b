# Fails when an include under src/ runs against the layer order, or when a
# logic folder includes anything but the C++ standard library (Qt, Xlib,
# <windows.h>, POSIX headers).
#   cmake -DSOURCE_DIR=<repo>/src -P tools/check_layers.cmake
#
# One row per folder, lowest first: the folder, its kind, and the folders it
# sits on. A folder may include itself and everything below the folders it
# sits on; a subfolder without a row of its own belongs to its parent's row.
cmake_minimum_required(VERSION 3.22)

set(LAYERS
  # folder          kind     sits on
  "platform         logic"
  "common           logic    platform"
  "settings         logic    common"
  "gamelink         logic    settings"
  "setup            logic    gamelink"
  "lookup           logic    gamelink"
  "commands         logic    lookup"
  "shell            logic    commands setup"
  "platform/posix   adapter  common"
  "platform/qt      adapter  common"
  "platform/x11     adapter  common"
  "platform/win32   adapter  common"
  "shell/qt         adapter  shell platform/qt"
  "shell/win32      adapter  shell platform/win32"
  "app              adapter  shell shell/qt shell/win32 platform/posix platform/x11 platform/win32"
)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<repo>/src -P check_layers.cmake")
endif()

set(folders "")
foreach(row IN LISTS LAYERS)
  separate_arguments(cells UNIX_COMMAND "${row}")
  list(POP_FRONT cells folder kind)
  set(reach ${folder})
  foreach(below IN LISTS cells)
    if(NOT below IN_LIST folders)
      message(FATAL_ERROR "layer table: ${folder} sits on ${below}, which has no row above it")
    endif()
    list(APPEND reach ${reach_${below}})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set(reach_${folder} ${reach})
  set(kind_${folder} ${kind})
  list(APPEND folders ${folder})
endforeach()

# The row a path (a folder under src/) belongs to, or "" when none.
function(layer_of path out)
  set(best "")
  foreach(folder IN LISTS folders)
    string(LENGTH "${folder}" length)
    string(LENGTH "${best}" bestLength)
    if((path STREQUAL folder OR path MATCHES "^${folder}/") AND length GREATER bestLength)
      set(best ${folder})
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(problems "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.hpp"
     "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.cc")
list(SORT sources)
foreach(source IN LISTS sources)
  get_filename_component(dir "${source}" DIRECTORY)
  layer_of("${dir}" own)
  if(own STREQUAL "")
    list(APPEND problems "${source}: its folder has no row in the layer table")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "include[ \t]*([<\"])([^>\"]+)[>\"]")
      continue()
    endif()
    set(quote "${CMAKE_MATCH_1}")
    set(header "${CMAKE_MATCH_2}")
    if(quote STREQUAL "<")
      # Standard C++ headers have no extension, no folder and no Qt name.
      if(kind_${own} STREQUAL "logic" AND header MATCHES "[./]|^[Qq]")
        list(APPEND problems "${source}: <${header}> is not the C++ standard library")
      endif()
      continue()
    endif()
    get_filename_component(target "${header}" DIRECTORY)
    if(target STREQUAL "")
      continue()
    endif()
    layer_of("${target}" theirs)
    if(theirs STREQUAL "")
      if(kind_${own} STREQUAL "logic")
        list(APPEND problems "${source}: \"${header}\" is in no layer")
      endif()
    elseif(NOT theirs IN_LIST reach_${own})
      list(APPEND problems "${source}: \"${header}\" reaches ${theirs} from ${own}")
    endif()
  endforeach()
endforeach()

list(LENGTH problems count)
if(count GREATER 0)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "${count} problem(s) with the layer rule:\n  ${text}")
endif()
list(LENGTH sources checked)
message(STATUS "layer rule holds in ${checked} files")
