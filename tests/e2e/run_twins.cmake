# Runs stirpex-cli with ARGS (joined by '|'; "@FILE@" stands for the file) on
# FIRST and on SECOND, in WORKDIR, and checks that both give the same output
# apart from what tells two files apart: in a dump, the file's name, path,
# length and CHAR value; elsewhere, SECOND's name where FIRST's would be.
#   ARCHIVE   if ON, SECOND is made first: FIRST packed as gedcom.ged in a zip
#             archive, with a media file beside it
#   RENAME    text|replacement applied to SECOND's output, for a text that
#             says which file it is in (optional)
#   REQUIRES  a public file outside the repository; when it is absent the test
#             says so and CTest reports it skipped (optional)
if(DEFINED REQUIRES AND NOT EXISTS "${REQUIRES}")
    message("STIRPEX_SKIP: ${REQUIRES} is not here (public files without a stated licence stay outside the repository)")
    return()
endif()
string(REPLACE "|" ";" ARGS "${ARGS}")

if(ARCHIVE)
    get_filename_component(stage "${SECOND}" DIRECTORY)
    set(stage "${stage}/stage")
    file(REMOVE_RECURSE "${stage}")
    file(MAKE_DIRECTORY "${stage}/media")
    file(COPY_FILE "${WORKDIR}/${FIRST}" "${stage}/gedcom.ged")
    file(WRITE "${stage}/media/photo.jpg" "the bytes of a photograph")
    file(REMOVE "${SECOND}")
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${SECOND}" --format=zip gedcom.ged media
                    WORKING_DIRECTORY "${stage}" RESULT_VARIABLE packed)
    if(NOT packed EQUAL 0)
        message(FATAL_ERROR "cannot make ${SECOND}")
    endif()
endif()

function(run_on file out_var)
    list(TRANSFORM ARGS REPLACE "^@FILE@$" "${file}" OUTPUT_VARIABLE args)
    execute_process(COMMAND ${CLI} ${args} WORKING_DIRECTORY "${WORKDIR}"
                    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${file}: exit ${code}\nstderr: ${err}")
    endif()
    string(JSON type ERROR_VARIABLE no_file TYPE "${out}" file)
    if(NOT no_file AND type STREQUAL "OBJECT")
        foreach(field name path length charSet)
            string(JSON out REMOVE "${out}" file ${field})
        endforeach()
    endif()
    set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

run_on("${FIRST}" first)
run_on("${SECOND}" second)
get_filename_component(first_name "${FIRST}" NAME)
get_filename_component(second_name "${SECOND}" NAME)
string(REPLACE "${SECOND}" "${FIRST}" second "${second}")
string(REPLACE "${second_name}" "${first_name}" second "${second}")
if(DEFINED RENAME)
    string(REPLACE "|" ";" rename "${RENAME}")
    list(GET rename 0 from)
    list(GET rename 1 to)
    string(REPLACE "${from}" "${to}" second "${second}")
endif()
if(NOT first STREQUAL second)
    set(actual "${CMAKE_CURRENT_BINARY_DIR}/twins-${first_name}-${second_name}")
    file(WRITE "${actual}.first" "${first}")
    file(WRITE "${actual}.second" "${second}")
    message(FATAL_ERROR "the outputs differ; see ${actual}.first and .second")
endif()
