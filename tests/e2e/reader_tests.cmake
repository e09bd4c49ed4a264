# The reader on public files: text that a writer split over CONC lines comes out whole.

# A note cut mid-number ("in 112" / "4, Robert") by its writer.
stirpex_file_test(reader.conc_note.Queen Queen.ged ARGS story;@GED@;I168;notes;person
                  STDOUT "as David I, in 1124, Robert obtained from him the lordship of Annandale")
# A cited text whose CONC starts after the blank that ended the line before; its
# continuation used to go to another source's text.
stirpex_file_test(reader.conc_citation.Lincoln_Family Lincoln_Family.ged ARGS story;@GED@;I9;sources;person
                  STDOUT "from the book on American Presidents\\.")
# A source title split mid-word.
stirpex_file_test(reader.conc_title.rootsmagic rootsmagic-2026-export.ged ARGS dump;@GED@;--json
                  STDOUT "\"title\":\"GEDCOM file submitted by Jane Doe, janedoe@example.com. Imported on 2 February 2026.\"")
