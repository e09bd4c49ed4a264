# stirpex-cli tree: the lineage trees as the tree dialog opens them.
set(sample_dir ${PROJECT_SOURCE_DIR}/samples)

# name: <file>.<ID>_<kind>[_no_spouses]; the known answer is expected/<name>.tree.<format>.
function(stirpex_tree_test name format ged)
    stirpex_file_test(tree.${name}.${format} ${ged} ARGS tree;@GED@;${ARGN}
                      EXPECTED ${expected_dir}/${name}.tree.${format})
endfunction()

# Nine generations up, numbers to 257; every ancestor but Daniel with the rings.
stirpex_tree_test(harrow_family.ged.I38_ancestors json harrow_family.ged ancestors;I38;--json)
# A man with two families, partners shown and hidden.
stirpex_tree_test(harrow_family.ged.I1_descendants json harrow_family.ged descendants;I1;--json)
stirpex_tree_test(harrow_family.ged.I1_descendants_no_spouses json harrow_family.ged descendants;I1;--no-spouses;--json)
# Her mother's mother starts the line; a son is a leaf; she is selected two levels down.
stirpex_tree_test(harrow_family.ged.I41_mtdna json harrow_family.ged mtdna;I41;--json)
stirpex_tree_test(harrow_family.ged.I41_mtdna txt harrow_family.ged mtdna;I41)
# From the earliest man eight generations up; daughters and their sons left out.
stirpex_tree_test(harrow_family.ged.I38_ychromosome json harrow_family.ged ychromosome;I38;--json)
# A family without a wife: "Unknown partner", and the son listed under both families.
stirpex_tree_test(555SAMPLE.GED.I1_descendants json 555SAMPLE.GED descendants;I1;--json)
stirpex_tree_test(555SAMPLE.GED.I1_descendants_no_spouses json 555SAMPLE.GED descendants;I1;--no-spouses;--json)
# A man without given names (two blanks in the title) whose only family has no wife.
stirpex_tree_test(allged.ged.PERSON5_descendants json allged.ged descendants;PERSON5;--json)
# A mother without a husband: no number 4.
stirpex_tree_test(TGC551LF.ged.PERSON5_ancestors json TGC551LF.ged ancestors;PERSON5;--json)
stirpex_tree_test(TGC551LF.ged.I15_mtdna json TGC551LF.ged mtdna;I15;--json)
# A husband without SEX and the wife of two women: the partner is the other of the couple.
stirpex_tree_test(couples.ged.I1_descendants txt couples.ged descendants;I1)
stirpex_tree_test(couples.ged.I7_descendants txt couples.ged descendants;I7)
# Life spans before the common era.
stirpex_tree_test(early_dates.ged.I1_descendants txt early_dates.ged descendants;I1)

set(harrow ${sample_dir}/harrow_family.ged)
stirpex_cli_test(tree.unknown_id ARGS tree;${harrow};descendants;I404 EXIT 2
                 STDERR "^stirpex-cli: no individual with ID 'I404'\n$")
stirpex_cli_test(tree.missing_kind ARGS tree;${harrow} EXIT 2 STDERR "^stirpex-cli: missing tree kind\n$")
stirpex_cli_test(tree.unknown_kind ARGS tree;${harrow};parents;I1 EXIT 2
                 STDERR "^stirpex-cli: unknown tree kind 'parents'")
stirpex_cli_test(tree.missing_id ARGS tree;${harrow};ancestors EXIT 2
                 STDERR "^stirpex-cli: missing individual ID\n$")
stirpex_cli_test(tree.extra_argument ARGS tree;${harrow};ancestors;I1;I2 EXIT 2
                 STDERR "^stirpex-cli: unexpected argument 'I2'\n$")
stirpex_cli_test(tree.no_spouses_elsewhere ARGS tree;${harrow};ancestors;I1;--no-spouses EXIT 2
                 STDERR "^stirpex-cli: --no-spouses applies to the descendants tree only\n$")
