# Runs at install time: writes the manager's desktop launcher with the path of its launcher
# under the install prefix, quoted as desktop entries require.
set(program "${CMAKE_INSTALL_PREFIX}/bin/Agendela")
string(REPLACE "\\" "\\\\" quoted "${program}")
string(REPLACE "\"" "\\\"" quoted "${quoted}")
string(REPLACE "`" "\\`" quoted "${quoted}")
string(REPLACE "$" "\\$" quoted "${quoted}")
string(REPLACE "%" "%%" quoted "${quoted}")
# The file's own string escapes read every backslash once more.
string(REPLACE "\\" "\\\\" quoted "${quoted}")
set(TORTAVELA_EXEC "\"${quoted}\"")
set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${TORTAVELA_DATADIR}/applications")
file(MAKE_DIRECTORY "${destination}")
configure_file("${TORTAVELA_DESKTOP_TEMPLATE}" "${destination}/tortavela.desktop" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}/tortavela.desktop")
message(STATUS "Desktop launcher: ${destination}/tortavela.desktop")
