# Fails when a file of the layers above the platform reaches Cairo, SDL or GLib, directly or through
# the project's headers it includes. Only platform/graphics/ may draw with Cairo, only platform/sdl/
# may talk to SDL and only platform/location/ to D-Bus through GIO; everything above sees the
# drawing-context calls, the framework's views and plain values.
#
#   cmake -DSOURCE_DIR=<top of the tree> -P check_layers.cmake

cmake_minimum_required(VERSION 3.25)

set(layers render navigation app catalog sky)
set(forbidden_regex "^[ \t]*#[ \t]*include[ \t]*<(cairo|SDL|gio/|glib)[^>]*>")

set(queue "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  list(APPEND queue ${found})
endforeach()
list(LENGTH queue start_count)
if(start_count EQUAL 0)
  message(FATAL_ERROR "no source files under ${SOURCE_DIR}: is SOURCE_DIR the top of the tree?")
endif()

# Breadth first over the quoted includes, each file once; `via_<file>` remembers who included it,
# so that a finding names the whole chain.
set(seen "")
set(failures "")
while(queue)
  list(POP_FRONT queue file)
  if(file IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${file}")
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line IN LISTS lines)
    if(line MATCHES "${forbidden_regex}")
      set(chain "${file}")
      set(at "${file}")
      while(DEFINED "via_${at}")
        set(at "${via_${at}}")
        string(PREPEND chain "${at} -> ")
      endwhile()
      list(APPEND failures "${chain} includes <${CMAKE_MATCH_1}...>")
    elseif(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(included "${CMAKE_MATCH_1}")
      if(EXISTS "${SOURCE_DIR}/${included}" AND NOT included IN_LIST seen)
        if(NOT DEFINED "via_${included}")
          set("via_${included}" "${file}")
        endif()
        list(APPEND queue "${included}")
      endif()
    endif()
  endforeach()
endwhile()

list(LENGTH seen checked)
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "layers above the platform reach Cairo, SDL or GLib:\n  ${text}")
endif()
list(JOIN layers ", " layer_names)
message(STATUS "${checked} files reached from ${layer_names}: none includes Cairo, SDL or GLib")
