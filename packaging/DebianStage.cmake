# Run by CPack on the staged tree of the Debian package before it is packed: what Debian's own
# packaging tools do to every package and the install rules leave undone. The programs lose their
# symbols and the compiler's notes (.comment, .note), and lintian learns which of its findings
# are intended.
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_KORVEL_STRIP} --remove-section=.comment --remove-section=.note
                          --strip-unneeded ${program} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
set(overrides ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/share/lintian/overrides)
file(MAKE_DIRECTORY ${overrides})
file(COPY_FILE ${CPACK_KORVEL_LINTIAN_OVERRIDES} ${overrides}/korvel98)
file(CHMOD ${overrides}/korvel98 FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
