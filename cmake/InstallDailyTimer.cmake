# Runs at install time: writes the reminder's systemd user units, whose service starts Avisela
# from the program directory under the install prefix, quoted as systemd requires.
set(program "${CMAKE_INSTALL_PREFIX}/${TORTAVELA_PROGRAM_DIR}/Avisela")
# Inside double quotes: backslashes and quotes escaped; "%" starts a specifier and "$" a
# variable, both doubled to stand for themselves.
string(REPLACE "\\" "\\\\" quoted "${program}")
string(REPLACE "\"" "\\\"" quoted "${quoted}")
string(REPLACE "%" "%%" quoted "${quoted}")
string(REPLACE "$" "$$" quoted "${quoted}")
set(TORTAVELA_AVISELA_EXEC "\"${quoted}\"")
# $XDG_DATA_HOME/systemd/user for ~/.local, $XDG_DATA_DIRS/systemd/user for /usr/local and /usr:
# both are searched by the systemd user instance.
set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${TORTAVELA_DATADIR}/systemd/user")
file(MAKE_DIRECTORY "${destination}")
foreach(unit tortavela-avisela.service tortavela-avisela.timer)
    configure_file("${TORTAVELA_UNIT_TEMPLATES}/${unit}.in" "${destination}/${unit}" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${destination}/${unit}")
    message(STATUS "Daily timer: ${destination}/${unit}")
endforeach()
