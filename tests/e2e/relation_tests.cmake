# stirpex-cli relation: what the second person is to the first, with the path.
set(harrow ${PROJECT_SOURCE_DIR}/samples/harrow_family.ged)

# name: <file>.<A>_<B>; the known answer is expected/<name>.relation.<format>.
function(stirpex_relation_test name format ged)
    stirpex_file_test(relation.${name}.${format} ${ged} ARGS relation;@GED@;${ARGN}
                      EXPECTED ${expected_dir}/${name}.relation.${format})
endfunction()

# Cousins through their grandparents, the couple in the middle of the path.
stirpex_relation_test(harrow_family.ged.I41_I38 txt harrow_family.ged I41;I38)
# Through one grandfather only: a half cousin, one common ancestor.
stirpex_relation_test(harrow_family.ged.I38_I33 json harrow_family.ged I38;I33;--json)
# No blood line: her husband's great-grandfather, the path through the husband.
stirpex_relation_test(harrow_family.ged.I5_I20 json harrow_family.ged I5;I20;--json)

stirpex_cli_test(relation.none ARGS relation;${harrow};I38;I26
                 STDOUT "^No relationship was found between Daniel Harrow and Thos\\. Harrow\\.\n$")
stirpex_cli_test(relation.none_json ARGS relation;${harrow};I38;I26;--json JSON
                 STDOUT "^{\"a\":\"I38\",\"b\":\"I26\",\"relationships\":\\[\\]}\n$")
stirpex_cli_test(relation.unknown_id ARGS relation;${harrow};I38;I404 EXIT 2
                 STDERR "^stirpex-cli: no individual with ID 'I404'\n$")
stirpex_cli_test(relation.missing_id ARGS relation;${harrow};I38 EXIT 2
                 STDERR "^stirpex-cli: missing second individual ID\n$")
stirpex_cli_test(relation.extra_argument ARGS relation;${harrow};I38;I1;I2 EXIT 2
                 STDERR "^stirpex-cli: unexpected argument 'I2'\n$")
