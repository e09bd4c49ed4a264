# One family in two files: UTF-16 (either byte order, with or without a mark)
# and UTF-8. Each pair must give the same output.
set(run_twins ${CMAKE_CURRENT_SOURCE_DIR}/run_twins.cmake)

# stirpex_twins_test(name WORKDIR folder FIRST file SECOND file ARGS ... [ARCHIVE] [RENAME a|b] [REQUIRES file])
function(stirpex_twins_test name)
    cmake_parse_arguments(ARG "ARCHIVE" "WORKDIR;FIRST;SECOND;RENAME;REQUIRES" "ARGS" ${ARGN})
    string(REPLACE ";" "|" joined_args "${ARG_ARGS}")
    set(defines -DCLI=${cli} "-DARGS=${joined_args}" -DWORKDIR=${ARG_WORKDIR} -DFIRST=${ARG_FIRST}
                -DSECOND=${ARG_SECOND})
    foreach(option RENAME REQUIRES)
        if(DEFINED ARG_${option})
            list(APPEND defines "-D${option}=${ARG_${option}}")
        endif()
    endforeach()
    if(ARG_ARCHIVE)
        list(APPEND defines -DARCHIVE=ON)
    endif()
    set(labels e2e)
    if(ARG_REQUIRES)
        list(APPEND labels shared-corpus)
    endif()
    stirpex_add_test(NAME e2e.twins.${name} LABELS "${labels}" COMMAND ${CMAKE_COMMAND} ${defines} -P ${run_twins})
    set_tests_properties(e2e.twins.${name} PROPERTIES SKIP_REGULAR_EXPRESSION "STIRPEX_SKIP: ")
endfunction()

# The public test set of one family per encoding, in GEDCOM 5.5.1 and 7.0:
# each UTF-16 file against the UTF-8 file with a mark as it has one or not.
# Each names its own encoding in a note, which is the one difference allowed.
set(gedcom7code ${PROJECT_SOURCE_DIR}/tests/data/corpus/gedcom7code)
foreach(version 5 7)
    foreach(order le be)
        string(TOUPPER ${order} ORDER)
        stirpex_twins_test(gedcom7code.${version}.utf16${order}_without_mark WORKDIR ${gedcom7code}
                           FIRST ${version}/char_utf8-1.ged SECOND ${version}/char_utf16${order}-1.ged
                           ARGS dump;@FILE@;--json RENAME "UTF-16${ORDER}|UTF-8")
        stirpex_twins_test(gedcom7code.${version}.utf16${order}_with_mark WORKDIR ${gedcom7code}
                           FIRST ${version}/char_utf8-3.ged SECOND ${version}/char_utf16${order}-2.ged
                           ARGS dump;@FILE@;--json RENAME "UTF-16${ORDER}|UTF-8")
    endforeach()
endforeach()

# The public sample in UTF-16 both ways, beside its 8-bit original.
foreach(order LE BE)
    stirpex_twins_test(555SAMPLE16${order} WORKDIR ${STIRPEX_CORPUS_DIR} FIRST 555SAMPLE.GED
                       SECOND 555SAMPLE16${order}.GED ARGS dump;@FILE@;--json
                       REQUIRES ${STIRPEX_CORPUS_DIR}/555SAMPLE16${order}.GED)
endforeach()
