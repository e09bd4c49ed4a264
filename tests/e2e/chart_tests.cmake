# stirpex-cli chart: the chart windows' drawing written without a window.
set(run_chart ${CMAKE_CURRENT_SOURCE_DIR}/run_chart.cmake)
set(chart_data ${PROJECT_SOURCE_DIR}/tests/data)

# name, format, then -D definitions for run_chart.cmake; ARGS holds the command line after FILE.
function(stirpex_chart_test name format ged)
    cmake_parse_arguments(ARG "" "TEXTS;WIDTH;HEIGHT;NO_RUNTIME_DIR" "ARGS" ${ARGN})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/chart-${name}.${format})
    string(REPLACE ";" "|" joined_args "chart;${chart_data}/${ged};${ARG_ARGS};--${format};${out}")
    set(defines -DCLI=${cli} "-DARGS=${joined_args}" -DOUT=${out} -DFORMAT=${format})
    foreach(option TEXTS WIDTH HEIGHT NO_RUNTIME_DIR)
        if(DEFINED ARG_${option})
            list(APPEND defines "-D${option}=${ARG_${option}}")
        endif()
    endforeach()
    # No display: the command must draw on its own offscreen platform.
    stirpex_add_test(NAME e2e.chart.${name}.${format} LABELS e2e ENVIRONMENT DISPLAY=;WAYLAND_DISPLAY=
                     COMMAND ${CMAKE_COMMAND} ${defines} -P ${run_chart})
endfunction()

# Names, years, empty boxes and the collapse mark's word, each a text element.
stirpex_chart_test(pedigree svg chart_pedigree.ged ARGS pedigree;I1
                   TEXTS "Brandt, Carl|1900-?|Vogel, Ilse|Unknown mother|Repeated")
stirpex_chart_test(descendants svg chart_descendants.ged ARGS descendants;D1;--no-spouses
                   TEXTS "Roth, Adam|Roth, Jan")
stirpex_chart_test(fan_numbers svg chart_pedigree.ged ARGS fan;I1;--generations;3;--numbers TEXTS "Brandt, Otto|3")
# The size asked for, exactly, whatever the chart's proportions.
stirpex_chart_test(hourglass png chart_descendants.ged ARGS hourglass;D3;--width;640;--height;480 WIDTH 640
                   HEIGHT 480)
stirpex_chart_test(pedigree_width png chart_pedigree.ged ARGS pedigree;I1;--width;1500 WIDTH 1500)
# As root under CI: no runtime folder named, and still nothing on stderr.
stirpex_chart_test(no_runtime_dir png chart_two_families.ged ARGS hourglass;T1 NO_RUNTIME_DIR 1)
stirpex_chart_test(pedigree pdf chart_pedigree.ged ARGS pedigree;I1;--generations;3)

set(pedigree_file ${chart_data}/chart_pedigree.ged)
stirpex_cli_test(chart.no_output ARGS chart;${pedigree_file};pedigree;I1 EXIT 2
                 STDERR "^stirpex-cli: chart needs one of --png, --svg and --pdf")
stirpex_cli_test(chart.two_outputs ARGS chart;${pedigree_file};pedigree;I1;--png;a.png;--svg;a.svg EXIT 2
                 STDERR "^stirpex-cli: chart needs one of")
stirpex_cli_test(chart.unknown_kind ARGS chart;${pedigree_file};tree;I1;--png;a.png EXIT 2
                 STDERR "^stirpex-cli: unknown chart kind 'tree'")
stirpex_cli_test(chart.unknown_id ARGS chart;${pedigree_file};fan;I404;--png;a.png EXIT 2
                 STDERR "^stirpex-cli: no individual with ID 'I404'")
stirpex_cli_test(chart.bad_generations ARGS chart;${pedigree_file};fan;I1;--generations;0;--png;a.png EXIT 2
                 STDERR "^stirpex-cli: --generations")
stirpex_cli_test(chart.json ARGS chart;${pedigree_file};pedigree;I1;--svg;chart-json.svg;--json JSON
                 STDOUT "^{\"boxes\":17,\"cut\":false,\"width\":[0-9]+,\"height\":[0-9]+}\n$")
# An hourglass's halves apart: its ancestors from --generations, its lower half cut to the person and partners.
set(two_families_file ${chart_data}/chart_two_families.ged)
stirpex_cli_test(chart.hourglass_halves
                 ARGS chart;${two_families_file};hourglass;T1;--generations;3;--descendant-generations;1;--svg;chart-halves.svg;--json
                 JSON STDOUT "^{\"boxes\":10,\"cut\":false,")
stirpex_cli_test(chart.hourglass_both_halves
                 ARGS chart;${two_families_file};hourglass;T1;--generations;3;--svg;chart-both-halves.svg;--json
                 JSON STDOUT "^{\"boxes\":21,\"cut\":false,")
stirpex_cli_test(chart.descendant_generations_not_hourglass
                 ARGS chart;${pedigree_file};fan;I1;--descendant-generations;2;--png;a.png EXIT 2
                 STDERR "^stirpex-cli: --descendant-generations applies to the hourglass chart only")
