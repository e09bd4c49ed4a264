# The version, stated once: project(VERSION) and the release date. Everything
# else (the code's header, the package, the metainfo) derives from these.
#
# The program has always shown its version as "1.09" (major, a dot, then minor
# and patch run together) and its date as "27 Aug 2020".
set(STIRPEX_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}${PROJECT_VERSION_PATCH}")
string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" date_ok "${STIRPEX_RELEASE_DATE}")
if(NOT date_ok)
    message(FATAL_ERROR "STIRPEX_RELEASE_DATE must read YYYY-MM-DD, not '${STIRPEX_RELEASE_DATE}'")
endif()
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR month_index "${CMAKE_MATCH_2} - 1")
list(GET month_names ${month_index} month_name)
math(EXPR day "${CMAKE_MATCH_3}") # no leading zero
set(STIRPEX_DISPLAY_DATE "${day} ${month_name} ${CMAKE_MATCH_1}")

set(STIRPEX_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/stirpex_version.h.in ${STIRPEX_GENERATED_DIR}/stirpex_version.h @ONLY)
