# stirpex-cli search: the people found by each criterion and their combination, in list order.
set(people ${PROJECT_SOURCE_DIR}/tests/data/search_people.ged)
set(sample ${PROJECT_SOURCE_DIR}/samples/harrow_family.ged)

# Surname and given name must fit one name: here the married name under her NAME.
stirpex_cli_test(search.married_name ARGS "search;${people};--surname;jones;--given;mary"
                 EXPECTED ${expected_dir}/search_people.ged.married.search.txt)
# Place and years on one fact, sex, and a word of a note shared with another person.
stirpex_cli_test(search.combined
                 ARGS "search;${people};--place;chicago;--years;1900..1910;--sex;F;--text;lindqvist;--json"
                 EXPECTED ${expected_dir}/search_people.ged.combined.search.json)
stirpex_cli_test(search.soundex ARGS search;${people};--soundex;moskovitz;--json
                 EXPECTED ${expected_dir}/search_people.ged.soundex.search.json)
# One word in a fact's value, the other in the title of the source it cites.
stirpex_cli_test(search.words ARGS "search;${people};--text;blacksmith granna"
                 EXPECTED ${expected_dir}/search_people.ged.words.search.txt)
stirpex_cli_test(search.sample.open_range ARGS search;${sample};--years;..1800
                 EXPECTED ${expected_dir}/harrow_family.ged.early.search.txt)
stirpex_cli_test(search.nothing_found ARGS search;${people};--surname;Zz STDOUT "^$")

stirpex_cli_test(search.no_criterion ARGS search;${people};--text;-- EXIT 2
                 STDERR "^stirpex-cli: search needs a criterion")
stirpex_cli_test(search.reversed_years ARGS search;${people};--years;1900..1800 EXIT 2
                 STDERR "^stirpex-cli: --years needs A..B")
stirpex_cli_test(search.bad_years ARGS search;${people};--years;1850-1860 EXIT 2
                 STDERR "^stirpex-cli: --years needs A..B")
stirpex_cli_test(search.bad_sex ARGS search;${people};--sex;U EXIT 2 STDERR "^stirpex-cli: --sex needs M or F")
stirpex_cli_test(search.stray_operand ARGS search;${people};I1;--sex;M EXIT 2
                 STDERR "^stirpex-cli: unexpected argument 'I1'")
