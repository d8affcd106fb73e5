# The project's compiler warnings, in one place: every library and program
# of the tree links tessaron_warnings (PRIVATE, so the warnings stay ours
# and are not pushed onto code that merely uses a library).
add_library(tessaron_warnings INTERFACE)
target_compile_options(tessaron_warnings INTERFACE -Wall -Wextra)
if(TESSARON_WERROR)
  target_compile_options(tessaron_warnings INTERFACE -Werror)
endif()
# GCC 12's optimiser reports overlaps that cannot happen inside std::string's
# own copying (GCC bug 105329); the Debug builds, which are not optimised,
# keep the warning.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(tessaron_warnings INTERFACE $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict>)
endif()

# Fails the configure when a library or program of the tree does not link
# tessaron_warnings, since it would build without the warnings (and without
# -Werror in CI) unnoticed. Object libraries are left out: the tree has
# none of its own, only those Qt makes for compiled-in resources.
function(tessaron_check_warnings_linked)
  set(pending ${CMAKE_SOURCE_DIR})
  set(unlinked)
  while(pending)
    list(POP_FRONT pending dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${subdirs})
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$")
        get_target_property(links ${target} LINK_LIBRARIES)
        if(NOT "tessaron_warnings" IN_LIST links)
          list(APPEND unlinked ${target})
        endif()
      endif()
    endforeach()
  endwhile()
  if(unlinked)
    list(JOIN unlinked ", " names)
    message(FATAL_ERROR "Link tessaron_warnings (PRIVATE) into: ${names}")
  endif()
endfunction()
