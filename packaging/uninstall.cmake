# cmake -DPREFIX=... -DFILES=installed-files.txt -P uninstall.cmake
# Removes the files that the install put under $DESTDIR/PREFIX and nothing else. Folders below
# bin/, lib/ and share/ go as well when that leaves them empty; folders still holding other
# programs' files stay.
file(STRINGS "${FILES}" installed)
foreach(file IN LISTS installed)
  set(path "$ENV{DESTDIR}${PREFIX}/${file}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  endif()
  string(REGEX REPLACE "/[^/]*$" "" folder "${file}")
  while(folder MATCHES "/")
    # rmdir refuses a folder that is not empty, which ends the climb.
    execute_process(COMMAND rmdir "$ENV{DESTDIR}${PREFIX}/${folder}" RESULT_VARIABLE failed
                    OUTPUT_QUIET ERROR_QUIET)
    if(failed)
      break()
    endif()
    string(REGEX REPLACE "/[^/]*$" "" folder "${folder}")
  endwhile()
endforeach()
# The type database forgets the collection files' type when the install put it there itself.
set(mime "${PREFIX}/share/mime")
if("$ENV{DESTDIR}" STREQUAL "" AND EXISTS "${mime}/packages")
  execute_process(COMMAND update-mime-database "${mime}" OUTPUT_QUIET ERROR_QUIET)
endif()
