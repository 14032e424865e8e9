# The release history: the Debian changelog beside this file is the one list of versions. From it
# come the software centres' list of releases (KORVEL_RELEASES, XML elements with the notes of each
# release) and the date of the newest release (KORVEL_RELEASE_DATE, YYYY-MM-DD) that the manual
# pages carry. Its newest entry must be the project's version, so a new version cannot go out
# without its entry.
set(changelog ${CMAKE_CURRENT_SOURCE_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
file(READ ${changelog} history)

# Semicolons would split CMake's lists of lines and notes: they travel as another character until
# a note is written out as XML.
string(ASCII 1 semicolon)
string(REPLACE ";" "${semicolon}" history "${history}")
string(REPLACE "\n" ";" lines "${history}")

set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(KORVEL_RELEASES "")
set(KORVEL_RELEASE_DATE "")
foreach(line IN LISTS lines)
  if(line MATCHES "^korvel98 \\(([^)]+)\\)")
    set(version ${CMAKE_MATCH_1})
    set(notes "")
  elseif(line MATCHES "^  \\* (.*)$")
    list(APPEND notes "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^    (.*)$")
    list(POP_BACK notes note)
    list(APPEND notes "${note} ${CMAKE_MATCH_1}")
  elseif(line MATCHES "^ -- .*, ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1")
    math(EXPR day "${CMAKE_MATCH_1}")
    set(year ${CMAKE_MATCH_3})
    foreach(part month day)
      if(${part} LESS 10)
        set(${part} 0${${part}})
      endif()
    endforeach()
    if(NOT KORVEL_RELEASE_DATE)
      set(KORVEL_RELEASE_DATE ${year}-${month}-${day})
      if(NOT version STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "${changelog}: the newest release is ${version}, the project's "
                            "version ${PROJECT_VERSION}; give ${PROJECT_VERSION} its entry")
      endif()
    endif()
    string(APPEND KORVEL_RELEASES
           "    <release version=\"${version}\" date=\"${year}-${month}-${day}\">\n"
           "      <description>\n        <ul>\n")
    foreach(note IN LISTS notes)
      string(REPLACE "&" "&amp;" note "${note}")
      string(REPLACE "<" "&lt;" note "${note}")
      string(REPLACE ">" "&gt;" note "${note}")
      string(REPLACE "${semicolon}" ";" note "${note}")
      string(APPEND KORVEL_RELEASES "          <li>${note}</li>\n")
    endforeach()
    string(APPEND KORVEL_RELEASES "        </ul>\n      </description>\n    </release>\n")
  endif()
endforeach()
if(NOT KORVEL_RELEASE_DATE)
  message(FATAL_ERROR "${changelog}: no release found")
endif()
