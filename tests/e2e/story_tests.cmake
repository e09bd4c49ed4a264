# stirpex-cli story: the notes and sources viewer's caption and text, against known answers.

# Each case: the file, the known answer's name, then the words after the file.
function(stirpex_story_test ged what)
    stirpex_file_test(story.${ged}.${what} ${ged} ARGS story;@GED@;${ARGN};--json
                      EXPECTED ${expected_dir}/${ged}.${what}.story.json)
endfunction()

# Three notes, two of them made from OCCU and ADDR lines.
stirpex_story_test(harrow_family.ged I1_notes I1 notes person)
stirpex_story_test(harrow_family.ged I1_birth_sources I1 sources birth)
# A citation of a source written inline: the title alone.
stirpex_story_test(harrow_family.ged I18_sources I18 sources person)
# PAGE and DATA/TEXT glued into one citation text.
stirpex_story_test(harrow_family.ged I22_sources I22 sources person)
stirpex_story_test(harrow_family.ged I3_baptism_sources I3 sources baptism)
stirpex_story_test(harrow_family.ged F1_marriage_notes I1 notes marriage --family 0)
# The divorce's own citation; the caption names the wife shown, not the couple.
stirpex_story_test(harrow_family.ged F1_divorce_sources I2 sources divorce --family 0)
# A citation of a source that does not exist is left out with its text "Entire source".
stirpex_story_test(maximal70.ged I1_sources I1 sources person)
# A source with a note record and an inline note, cited twice by the divorce.
stirpex_story_test(TGC551LF.ged FAMILY1_divorce_sources PERSON1 sources divorce --family 0)

stirpex_cli_test(story.text ARGS story;${PROJECT_SOURCE_DIR}/samples/harrow_family.ged;I1;notes;marriage;--family;0
                 EXPECTED ${expected_dir}/harrow_family.ged.F1_marriage_notes.story.txt)

set(sample ${PROJECT_SOURCE_DIR}/samples/harrow_family.ged)
stirpex_cli_test(story.unknown_id ARGS story;${sample};I999;notes;person EXIT 2
                 STDERR "^stirpex-cli: no individual with ID 'I999'\n$")
stirpex_cli_test(story.unknown_list ARGS story;${sample};I1;letters;person EXIT 2
                 STDERR "^stirpex-cli: unknown list 'letters'")
stirpex_cli_test(story.unknown_topic ARGS story;${sample};I1;sources;christening EXIT 2
                 STDERR "^stirpex-cli: unknown topic 'christening'")
stirpex_cli_test(story.missing_topic ARGS story;${sample};I1;sources EXIT 2 STDERR "^stirpex-cli: missing topic\n$")
stirpex_cli_test(story.extra_word ARGS story;${sample};I1;sources;birth;death EXIT 2
                 STDERR "^stirpex-cli: unexpected argument 'death'\n$")
stirpex_cli_test(story.marriage_without_family ARGS story;${sample};I1;sources;marriage EXIT 2
                 STDERR "^stirpex-cli: marriage, divorce and family-fact lists need --family INDEX\n$")
stirpex_cli_test(story.family_past_the_table ARGS story;${sample};I1;sources;divorce;--family;99 EXIT 2
                 STDERR "^stirpex-cli: no family with index 99\n$")
stirpex_cli_test(story.negative_family ARGS story;${sample};I1;notes;marriage;--family;-1 EXIT 2
                 STDERR "^stirpex-cli: no family with index -1\n$")
stirpex_cli_test(story.family_not_a_number ARGS story;${sample};I1;notes;marriage;--family;F1 EXIT 2
                 STDERR "^stirpex-cli: --family needs a whole number, not 'F1'\n$")
stirpex_cli_test(story.family_for_a_birth ARGS story;${sample};I1;sources;birth;--family;0 EXIT 2
                 STDERR "^stirpex-cli: --family belongs to marriage, divorce and family-fact lists only\n$")
