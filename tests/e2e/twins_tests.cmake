# One family in two files: UTF-16 (either byte order, with or without a mark)
# and UTF-8, a plain file and the same packed as a GEDZIP archive. Each pair
# must give the same output.
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

# Our sample as an archive, through every subcommand (words after the file joined by ':').
foreach(subcommand stats dump:--json page:I1:--json page:I1 tree:ancestors:I38:--json names:--json
                   story:I1:notes:person:--json)
    string(REPLACE ":" "_" words "${subcommand}")
    string(REPLACE "--" "" words "${words}")
    string(REPLACE ":" ";" subcommand "${subcommand}")
    list(POP_FRONT subcommand command)
    stirpex_twins_test(gedzip.${words} WORKDIR ${PROJECT_SOURCE_DIR}/samples FIRST harrow_family.ged
                       SECOND ${CMAKE_CURRENT_BINARY_DIR}/gedzip/${words}/harrow_family.gdz
                       ARGS ${command};@FILE@;${subcommand} ARCHIVE)
endforeach()

# Archives that do not open say why, as any file that cannot be opened.
set(broken ${CMAKE_CURRENT_BINARY_DIR}/gedzip/broken)
file(MAKE_DIRECTORY ${broken}/media)
file(WRITE ${broken}/media/photo.jpg "the bytes of a photograph")
file(WRITE ${broken}/not-an-archive.gdz "0 HEAD\n0 TRLR\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf media-only.gdz --format=zip media WORKING_DIRECTORY ${broken})
stirpex_cli_test(gedzip.without_text ARGS stats;${broken}/media-only.gdz EXIT 2
                 STDERR "^stirpex-cli: cannot open .*/media-only.gdz: The archive holds no gedcom.ged\n$")
stirpex_cli_test(gedzip.not_an_archive ARGS dump;${broken}/not-an-archive.gdz EXIT 2
                 STDERR "^stirpex-cli: cannot open .*/not-an-archive.gdz: Not a zip archive\n$")
