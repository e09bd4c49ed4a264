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

# The same day at noon as the package changelog writes it ("Thu, 27 Aug 2020 12:00:00 +0000"):
# string(TIMESTAMP) formats SOURCE_DATE_EPOCH when it is set, so count the days to it.
set(year ${CMAKE_MATCH_1})
math(EXPR month "${CMAKE_MATCH_2}")
if(month LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
    math(EXPR month "${month} + 9")
else()
    math(EXPR month "${month} - 3")
endif()
math(EXPR era_year "${year} % 400")
math(EXPR days "(${year} / 400) * 146097 + ${era_year} * 365 + ${era_year} / 4 - ${era_year} / 100 \
                + (153 * ${month} + 2) / 5 + ${day} - 1 - 719468")
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
math(EXPR noon "${days} * 86400 + 43200")
set(ENV{SOURCE_DATE_EPOCH} ${noon})
string(TIMESTAMP STIRPEX_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

set(STIRPEX_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/stirpex_version.h.in ${STIRPEX_GENERATED_DIR}/stirpex_version.h @ONLY)
