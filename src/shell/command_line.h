#pragma once

// The program's command line: `stirpex [FILE] [-i KEY]` plus the shell's own
// flags. The first argument that does not start with "-" is the file ("/"
// starts a path, never a flag); "-i" and the key after it are left to the
// load, which reads them from the joined argument text produced here.
//
//   -p FILE             print FILE and end
//   -pt FILE PRINTER    print FILE on PRINTER and end
//   -r, --register      register the .ged file type and end
//   -u, --unregister    remove that registration and end
//   -h, --help          print the usage and end
//   --version           print the version and end
//   --                  every argument after it is plain
//
// The file and the printer are the first and second plain arguments wherever
// they stand; without a shell flag every plain argument is a file to open
// (a desktop hands over all the files chosen at once). When several shell flags are given the last one counts; an
// unknown flag is an error unless help or version was asked for, which win.

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex {

enum class ShellCommand {
    FileNew,       // no file: the main window opens empty
    FileOpen,      // open `file`
    FilePrint,     // print `file` without a dialog, then end
    FilePrintTo,   // print `file` on `printer`, then end
    AppRegister,   // register the file type, then end
    AppUnregister, // remove the file type's registration, then end
    ShowHelp,      // print UsageText() on stdout, exit 0
    ShowVersion,   // print VersionText() on stdout, exit 0
    Error,         // print "stirpex: " + error and the usage hint on stderr, exit 2
};

struct CommandLineInfo {
    ShellCommand command = ShellCommand::FileNew;
    std::string file;               // as given, relative paths included
    std::vector<std::string> files; // FileOpen: every plain argument in order, `file` first
    std::string printer;            // FilePrintTo only
    std::string argumentText;       // every argument joined by single blanks, for the "-i" start option
    std::string error;              // Error only: one line without a trailing newline
};

// `arguments` are the program's arguments after its path.
CommandLineInfo ParseCommandLine(std::span<const std::string> arguments);
CommandLineInfo ParseCommandLine(int argc, const char* const* argv);

std::string_view UsageText();
std::string VersionText();

// Help, version and a bad option need neither a window nor a display: writes
// the answer (usage or version to `out`, the error and a hint to `err`) and
// gives the exit code; nullopt for every other command.
std::optional<int> AnswerWithoutWindow(const CommandLineInfo& info, std::FILE* out, std::FILE* err);

} // namespace stirpex
