# cmake -DROOT=<source folder> -P CheckIncludes.cmake
#
# Checks that every source file includes only its own folder and the folders that the layout
# table of ROOT/README.md lets that folder use. The table is the one statement of the layer
# order, so the README cannot drift from the code. Each of its rows reads
#   | `engine/` | `platform`, `helpers`, `drives` | what lives there |
# A folder with sources but no row fails too; tests/ may include anything and is not checked.
cmake_minimum_required(VERSION 3.25)

file(STRINGS "${ROOT}/README.md" rows REGEX "^\\| `[a-z]+/` \\|")
set(folders "")
foreach(row IN LISTS rows)
  string(REGEX MATCH "^\\| `([a-z]+)/` \\|([^|]*)\\|" _ "${row}")
  set(folder "${CMAKE_MATCH_1}")
  string(REGEX MATCHALL "`[a-z]+`" uses "${CMAKE_MATCH_2}")
  string(REPLACE "`" "" uses "${uses}")
  list(APPEND folders ${folder})
  set(allowed_${folder} ${folder} ${uses})
endforeach()

set(faults "")
set(count 0)
file(GLOB children LIST_DIRECTORIES true RELATIVE "${ROOT}" "${ROOT}/*")
foreach(folder IN LISTS children)
  if(NOT IS_DIRECTORY "${ROOT}/${folder}" OR folder MATCHES "^(tests|build.*|\\..*)$")
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  if(sources AND NOT folder IN_LIST folders)
    list(APPEND faults "${folder}/ has no row in the README's layout table")
    continue()
  endif()
  foreach(source IN LISTS sources)
    math(EXPR count "${count} + 1")
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"([^\"/]+)/" _ "${line}")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed_${folder})
        list(APPEND faults "${source}: ${folder}/ may not include ${CMAKE_MATCH_1}/ (${line})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes against the layer order:\n${text}")
endif()
message(STATUS "Layer order kept by ${count} files")
