# Strict warnings for our own targets (never for third-party code).
function(tonvera_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
