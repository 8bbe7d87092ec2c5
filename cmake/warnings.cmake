# Strict warnings for the project's own code, the same on g++ and mingw.
function(project_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wshadow -Wconversion -Wcast-qual -Wformat=2 -Wundef
        -Wnon-virtual-dtor -Wold-style-cast -Wnull-dereference)
    if(PROJECT_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
