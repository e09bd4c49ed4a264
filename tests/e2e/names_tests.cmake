# stirpex-cli names: the name index in list order, and the search for a typed beginning.
set(sample ${PROJECT_SOURCE_DIR}/samples/harrow_family.ged)
set(accented ${PROJECT_SOURCE_DIR}/tests/data/accented_names.ged)

stirpex_cli_test(names.sample ARGS names;${sample};--json EXPECTED ${expected_dir}/harrow_family.ged.names.json)
# A lowercase beginning finds the capitalised entry; without married names the positions move.
stirpex_cli_test(names.sample.unmarried ARGS "names;${sample};--no-married;--find;harrow, m;--json"
                 EXPECTED ${expected_dir}/harrow_family.ged.unmarried.names.json)
# The start option defers the index past reading: names builds it on demand, the same
# list; a beginning that no entry has finds nothing.
stirpex_cli_test(names.sample.deferred ARGS "names;${sample};-i;I7;--find;Harrow, Zz;--json"
                 EXPECTED ${expected_dir}/harrow_family.ged.names.json)
stirpex_cli_test(names.stray_operand ARGS names;${sample};I7 EXIT 2
                 STDERR "^stirpex-cli: unexpected argument 'I7'\n$")

# The C locale orders by code point; names still sort accented letters beside their
# base letters. An accented capital beginning finds the accented entry, not "Emile".
stirpex_cli_test(names.accented.c_locale ARGS names;${accented};--find;ÉMI;--json
                 EXPECTED ${expected_dir}/accented_names.ged.names.json)
set_tests_properties(e2e.names.accented.c_locale PROPERTIES ENVIRONMENT "LC_ALL=C")
stirpex_cli_test(names.accented.text ARGS "names;${accented};--find;emile, p"
                 EXPECTED ${expected_dir}/accented_names.ged.names.txt)

# Married twice to the same man: two identical married entries. Two husbands: none.
stirpex_file_test(names.REMARR.GED REMARR.GED ARGS names;@GED@;--json
                  EXPECTED ${expected_dir}/REMARR.GED.names.json)
stirpex_file_test(names.SSMARR.GED SSMARR.GED ARGS "names;@GED@;--find;STEVENS, s;--json"
                  EXPECTED ${expected_dir}/SSMARR.GED.names.json)

# Three-digit years, also a date that is the year alone ("849"), and years
# before the common era in the life spans; a Hebrew year is not one.
stirpex_file_test(names.early_dates early_dates.ged ARGS names;@GED@ EXPECTED ${expected_dir}/early_dates.ged.names.txt)

# Married names follow the couple as recorded: the wife of two women takes the
# surname of the one recorded as husband; a woman the family does not name takes its husband's.
stirpex_file_test(names.couples couples.ged ARGS names;@GED@ EXPECTED ${expected_dir}/couples.ged.names.txt)

stirpex_cli_test(stats.sample.json ARGS stats;${sample};--json EXPECTED ${expected_dir}/harrow_family.ged.stats.json)
stirpex_cli_test(stats.sample.no_index ARGS stats;${sample};--no-index;--json
                 EXPECTED ${expected_dir}/harrow_family.ged.no_index.stats.json)
