# Checks that every include between the folders of src/ points down the layer
# order; fails listing each one that points up or sideways.
#
#   cmake -DROOT=<source folder> -P scripts/check_layers.cmake
#
# Order, low to high (one level may hold two folders that must not include
# each other): core, media, filetypes, diskfs, tape|viewers, transfer, app,
# settings_store, cli|gui. A file may include its own folder and any lower.
if(NOT ROOT)
  get_filename_component(ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(levels core media filetypes diskfs "tape|viewers" transfer app settings_store "cli|gui")
set(index 0)
foreach(level IN LISTS levels)
  string(REPLACE "|" ";" folders "${level}")
  foreach(folder IN LISTS folders)
    set(level_of_${folder} ${index})
  endforeach()
  math(EXPR index "${index} + 1")
endforeach()

set(bad 0)
set(seen 0)
file(GLOB folders RELATIVE "${ROOT}/src" "${ROOT}/src/*")
foreach(folder IN LISTS folders)
  if(NOT DEFINED level_of_${folder})
    if(IS_DIRECTORY "${ROOT}/src/${folder}")
      message(SEND_ERROR "src/${folder}: a folder without a place in the layer order")
      math(EXPR bad "${bad} + 1")
    endif()
    continue()
  endif()
  file(GLOB_RECURSE files "${ROOT}/src/${folder}/*.h" "${ROOT}/src/${folder}/*.hpp"
       "${ROOT}/src/${folder}/*.cpp" "${ROOT}/src/${folder}/*.cc")
  foreach(f IN LISTS files)
    file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" to "${line}")
      if(NOT DEFINED level_of_${to})
        continue()
      endif()
      math(EXPR seen "${seen} + 1")
      if(NOT to STREQUAL folder AND NOT level_of_${to} LESS level_of_${folder})
        file(RELATIVE_PATH rel "${ROOT}" "${f}")
        message("${rel}: ${line}   (${folder} may not include ${to})")
        math(EXPR bad "${bad} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

message("layers: ${bad} of ${seen} includes between folders point up or sideways")
if(bad GREATER 0)
  message(FATAL_ERROR "includes point up or sideways")
endif()
