# Run at install time, when the prefix is known: a desktop entry with its (first, plain) Exec line
# naming the installed program by its full path. KWin lets a program use the D-Bus interfaces its entry lists in
# X-KDE-DBUS-Restricted-Interfaces only where that entry's Exec is the program's own file.
# In: QUORVEX_ENTRY_SOURCE, QUORVEX_ENTRY_FOLDER (below the prefix), QUORVEX_ENTRY_BINDIR, QUORVEX_ENTRY_STAGE.
file(READ "${QUORVEX_ENTRY_SOURCE}" entry)
string(REGEX MATCH "\nExec=([^\n ]+)\n" exec_line "${entry}")
set(program "${QUORVEX_ENTRY_BINDIR}/${CMAKE_MATCH_1}")
if(NOT IS_ABSOLUTE "${program}")
    set(program "${CMAKE_INSTALL_PREFIX}/${program}")
endif()
if(program MATCHES " ")
    set(program "\"${program}\"")
endif()
string(REPLACE "${exec_line}" "\nExec=${program}\n" entry "${entry}")
get_filename_component(name "${QUORVEX_ENTRY_SOURCE}" NAME)
file(WRITE "${QUORVEX_ENTRY_STAGE}/${name}" "${entry}")
file(INSTALL "${QUORVEX_ENTRY_STAGE}/${name}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${QUORVEX_ENTRY_FOLDER}")
