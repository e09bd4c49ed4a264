# Warnings, sanitizers and the one function every test goes through.

option(STIRPEX_WERROR "Treat warnings as errors" OFF)
set(STIRPEX_SANITIZERS "" CACHE STRING "Semicolon-separated sanitizers, e.g. address;undefined")

function(stirpex_target_flags target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
    # Hardened as Debian builds its packages: checked string and memory
    # functions where the optimiser can see the sizes, and relocations bound at start.
    target_compile_definitions(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
    target_link_options(${target} PRIVATE LINKER:-z,relro,-z,now)
    if(STIRPEX_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(STIRPEX_SANITIZERS)
        list(JOIN STIRPEX_SANITIZERS "," sanitizers)
        target_compile_options(${target} PRIVATE -fsanitize=${sanitizers} -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=all)
        target_link_options(${target} PRIVATE -fsanitize=${sanitizers})
    endif()
endfunction()

# stirpex_add_test(NAME target LABELS a;b [ENVIRONMENT k=v...] COMMAND ...)
function(stirpex_add_test)
    cmake_parse_arguments(ARG "" "NAME" "LABELS;ENVIRONMENT;COMMAND" ${ARGN})
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
    set_tests_properties(${ARG_NAME} PROPERTIES LABELS "${ARG_LABELS}"
                         ENVIRONMENT "LC_ALL=C.UTF-8;${ARG_ENVIRONMENT}")
endfunction()
