# Checks that every include of the tree points down the folders' graph: the
# sources of a folder may include the headers of their own folder and of the
# folders below it (its dependencies, and theirs), never those of a folder
# above or beside it. The build enforces the same through each library's
# include folders; this check reads the sources, so it also holds for a
# folder whose CMake links were widened by mistake.
#
#   cmake -DSOURCE_DIR=<repository root> -P cmake/CheckIncludes.cmake
#
# An include is mapped to the folder that holds a header of that name
# (header names are unique across the folders); Qt's, the system's and the
# build's generated headers are not in any folder and are left alone.

cmake_minimum_required(VERSION 3.25)

# The graph from the bottom: each folder and the folders it builds on.
set(graph
  "resources:"
  "params:resources"
  "smb:params"
  "sim:params"
  "cli:params,smb"
  "toolkit:params,resources"
  "config_pages:toolkit,params"
  "management:config_pages,toolkit,params"
  "quick_install:toolkit,params"
  "app:config_pages,management,quick_install,toolkit,params,smb")

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "Run with -DSOURCE_DIR=<repository root>")
endif()

set(folders)
foreach(entry IN LISTS graph)
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 folder)
  list(LENGTH parts length)
  set(below_${folder})
  if(length GREATER 1)
    list(GET parts 1 deps)
    string(REPLACE "," ";" below_${folder} "${deps}")
  endif()
  list(APPEND folders ${folder})
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
    message(FATAL_ERROR "The graph names ${folder}, which is not a folder of ${SOURCE_DIR}")
  endif()
endforeach()

# Everything below a folder: its dependencies, and theirs. The graph lists
# each folder after those it builds on, so one pass in order is enough.
foreach(folder IN LISTS folders)
  set(reach ${below_${folder}})
  foreach(dep IN LISTS below_${folder})
    if(NOT reached_${dep})
      message(FATAL_ERROR "${folder} builds on ${dep}, which the graph names later or not at all")
    endif()
    list(APPEND reach ${reach_${dep}})
  endforeach()
  list(REMOVE_DUPLICATES reach)
  set(reach_${folder} ${reach})
  set(reached_${folder} TRUE)
endforeach()

# Which folder holds each header.
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE headers RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h)
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    if(DEFINED home_${name})
      message(FATAL_ERROR "${name} is in both ${home_${name}} and ${folder}: includes of it are ambiguous")
    endif()
    set(home_${name} ${folder})
  endforeach()
endforeach()

set(violations)
set(checked 0)
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      get_filename_component(name ${included} NAME)
      math(EXPR checked "${checked} + 1")
      if(NOT DEFINED home_${name})
        continue()
      endif()
      set(home ${home_${name}})
      if(NOT home STREQUAL folder AND NOT home IN_LIST reach_${folder})
        list(APPEND violations "${source} includes ${included}, from ${home}, which ${folder} does not build on")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "No includes found under ${SOURCE_DIR}: nothing was checked")
endif()
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that point up or sideways:\n  ${text}")
endif()
message(STATUS "${checked} includes point down the folders' graph")
