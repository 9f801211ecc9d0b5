# The program is built in layers, each a static library:
#
#   core  <-  platform (interfaces and helpers)  <-  x11, cups, qt, dbus backends
#   core, platform interfaces  <-  controls  <-  capture  <-  output, resident  <-  app
#
# Every layer compiles against an include root of its own that holds only the folders it may
# use, so an #include against the direction fails to compile instead of quietly tying the
# layers together. The roots are folders of symbolic links in the build tree.

# tovrimo_include_root(<target> FOLDERS <src folders> HEADERS <single headers>)
# Gives target <name> its include root. FOLDERS and HEADERS are relative to src/; a folder given
# as "platform" means the interface headers directly in src/platform, without its backend
# subfolders.
function(tovrimo_include_root target)
  cmake_parse_arguments(ARG "" "" "FOLDERS;HEADERS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  file(REMOVE_RECURSE ${root})
  foreach(folder IN LISTS ARG_FOLDERS)
    if(folder STREQUAL "platform")
      file(GLOB interfaces CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.h)
      foreach(header IN LISTS interfaces)
        file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR}/src ${header})
        list(APPEND ARG_HEADERS ${relative})
      endforeach()
      continue()
    endif()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  foreach(header IN LISTS ARG_HEADERS)
    get_filename_component(parent ${root}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${header} ${root}/${header} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
  # Tests and tools compile against the root of what they exercise (tovrimo_sees_as_layer).
  set_target_properties(${target} PROPERTIES TOVRIMO_INCLUDE_ROOT ${root})
endfunction()

# tovrimo_sees_as_layer(<target> <layer target>)
# Compiles <target> (a test, a benchmark, a tool) against the include root of <layer target>,
# so that it can reach only what that layer itself may see.
function(tovrimo_sees_as_layer target layer)
  get_target_property(root ${layer} TOVRIMO_INCLUDE_ROOT)
  if(NOT root)
    message(FATAL_ERROR "${layer} is no layer with an include root")
  endif()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# tovrimo_layer(<target> SOURCES <files> SEES <folders> [HEADERS <headers>] LINKS <libraries>)
# A static library of one layer. SOURCES are relative to the calling folder.
function(tovrimo_layer target)
  cmake_parse_arguments(ARG "" "" "SOURCES;SEES;HEADERS;LINKS" ${ARGN})
  add_library(${target} STATIC)
  target_sources(${target} PRIVATE ${ARG_SOURCES})
  tovrimo_include_root(${target} FOLDERS ${ARG_SEES} HEADERS ${ARG_HEADERS})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()
