# check: the reading report, as text and as JSON, on public files with known faults.
stirpex_file_test(check.missing_pointer Human_and_Computer_Languages_Beta.ged ARGS check;@GED@
                  STDOUT "Pointers naming no record: 1\n  individual @I00088@: FAMS @F00088@\nDuplicate identifiers: none\n")
stirpex_file_test(check.duplicate.json Japanese_Imperial_Family.ged ARGS check;@GED@;--json JSON
                  STDOUT "\"duplicateIds\":{\"count\":1,\"items\":\\[{\"kind\":\"individual\",\"id\":\"I59\",\"indices\":\\[[0-9]+,[0-9]+\\]}\\]}")
stirpex_cli_test(check.missing_file ARGS check;/nonexistent/family.ged EXIT 2
                 STDERR "^stirpex-cli: cannot open /nonexistent/family.ged: No such file or directory\n$")
