# One place for the warning flags, so that every target of the project is held to the same.
function(vantrelo_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
    if(VANTRELO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # Every signal connection names its receiver, so that none outlives the object it calls.
    target_compile_definitions(${target} PRIVATE QT_NO_CONTEXTLESS_CONNECT)
endfunction()
