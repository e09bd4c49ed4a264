# stirpex-cli page: the person page's texts, points, faces, colours, links and flags.
set(sample_dir ${PROJECT_SOURCE_DIR}/samples)

function(stirpex_page_test name ged)
    stirpex_file_test(page.${name} ${ged} ARGS page;@GED@;${ARGN} EXPECTED ${expected_dir}/${name}.page.${page_format})
endfunction()

set(page_format json)
stirpex_page_test(harrow_family.start harrow_family.ged --json)
# A missing child, marriage notes, no parents, a burial.
stirpex_page_test(harrow_family.I24 harrow_family.ged I24;--json)
# A narrow window: the notes and sources columns stay right of the widest value, past the window's edge.
stirpex_page_test(harrow_family.I1.narrow harrow_family.ged I1;--width;300;--json)
stirpex_page_test(harrow_family.I1.print harrow_family.ged I1;--print;--json)
stirpex_page_test(MINIMAL555.placeholder MINIMAL555.GED --json)
stirpex_page_test(TGC551LF.start TGC551LF.ged --json)
set(page_format txt)
stirpex_page_test(harrow_family.I1 harrow_family.ged I1)
# A husband without SEX, and a man recorded as the wife of a man: each has the other as spouse.
stirpex_page_test(couples.I1 couples.ged I1)
stirpex_page_test(couples.I5 couples.ged I5)
# Calendars shown as words after each date, also in a period; a French republican marriage and divorce.
stirpex_page_test(early_dates.I7 early_dates.ged I7)
stirpex_page_test(early_dates.I9 early_dates.ged I9)

stirpex_cli_test(page.unknown_id ARGS page;${sample_dir}/harrow_family.ged;I404 EXIT 2
                 STDERR "^stirpex-cli: no individual with ID 'I404'\n$")
stirpex_cli_test(page.bad_width ARGS page;${sample_dir}/harrow_family.ged;--width;wide EXIT 2
                 STDERR "^stirpex-cli: --width needs a whole number")
stirpex_cli_test(page.width_beyond_any_screen ARGS page;${sample_dir}/harrow_family.ged;--width;-2147483648 EXIT 2
                 STDERR "^stirpex-cli: --width needs a whole number from 0 to 100000, not '-2147483648'\n$")
# With a home person: the line under the names says what the person shown is to them.
stirpex_page_test(harrow_family.I38.home harrow_family.ged I38;--home;I1)
stirpex_cli_test(page.unknown_home ARGS page;${sample_dir}/harrow_family.ged;I38;--home;I404 EXIT 2
                 STDERR "^stirpex-cli: no individual with ID 'I404'\n$")
