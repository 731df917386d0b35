# Warnings for every target of ours; ORVANE_WERROR (on in CI) makes them errors.
option(ORVANE_WERROR "Treat compiler warnings as errors" OFF)

function(orvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(ORVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
