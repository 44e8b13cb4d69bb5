# One switch for the project's warning set; CI turns warnings into errors.
add_library(quorvel_warnings INTERFACE)
if(MSVC)
    target_compile_options(quorvel_warnings INTERFACE /W4)
    if(QUORVEL_WARNINGS_AS_ERRORS)
        target_compile_options(quorvel_warnings INTERFACE /WX)
    endif()
else()
    target_compile_options(quorvel_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
    if(QUORVEL_WARNINGS_AS_ERRORS)
        target_compile_options(quorvel_warnings INTERFACE -Werror)
    endif()
endif()
