# cmake -DPREFIX=... -DFILES=installed-files.txt -P uninstall.cmake
# Removes the files that the install put under $DESTDIR/PREFIX and nothing else; the folders stay,
# as other programs' files share them.
file(STRINGS "${FILES}" installed)
foreach(file IN LISTS installed)
  set(path "$ENV{DESTDIR}${PREFIX}/${file}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  endif()
endforeach()
