# Run while installing: writes TONVERA_DESKTOP_OUT from TONVERA_DESKTOP_IN with the installed
# program's full path. In Exec a path with blanks or other reserved characters goes in double
# quotes, and ", `, $ and \ in it take a backslash; a % is written %%, and the file format then
# doubles every backslash.
set(_program "${CMAKE_INSTALL_PREFIX}/bin/tonvera")
set(TONVERA_TRYEXEC "${_program}")
string(REPLACE "\\" "\\\\" TONVERA_TRYEXEC "${TONVERA_TRYEXEC}")
if(_program MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" _program "${_program}")
    set(_program "\"${_program}\"")
endif()
string(REPLACE "%" "%%" _program "${_program}")
string(REPLACE "\\" "\\\\" TONVERA_EXEC "${_program}")
configure_file("${TONVERA_DESKTOP_IN}" "${TONVERA_DESKTOP_OUT}" @ONLY)
