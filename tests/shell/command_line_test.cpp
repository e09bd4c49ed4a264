#include "shell/command_line.h"

#include "gedcom/start_option.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <sstream>
#include <vector>

namespace stirpex {
namespace {

using Args = std::vector<std::string>;

struct Case {
    Args arguments;
    ShellCommand command;
    std::string file;
    std::string printer;
    std::string error;
};

std::string describe(const Args& arguments) {
    std::string text = "{";
    for (const std::string& argument : arguments) {
        text += " '" + argument + "'";
    }
    return text + " }";
}

TEST(CommandLine, ArgumentsGiveCommandFilePrinterAndError) {
    using enum ShellCommand;
    const std::vector<Case> cases = {
        {{}, FileNew, "", "", ""},
        {{"royal.ged"}, FileOpen, "royal.ged", "", ""},
        // A leading slash starts a path here, not a flag.
        {{"/home/ann/royal.ged"}, FileOpen, "/home/ann/royal.ged", "", ""},
        // The start option's key must never become the file.
        {{"royal.ged", "-i", "I12"}, FileOpen, "royal.ged", "", ""},
        {{"-i", "I12", "royal.ged"}, FileOpen, "royal.ged", "", ""},
        {{"-iI12", "royal.ged"}, FileOpen, "royal.ged", "", ""},
        {{"royal.ged", "-i"}, FileOpen, "royal.ged", "", ""},
        {{"-i", "-p", "royal.ged"}, FileOpen, "royal.ged", "", ""},
        {{"a.ged", "b.ged"}, FileOpen, "a.ged", "", ""},
        {{"", "a.ged"}, FileOpen, "a.ged", "", ""},
        {{"--", "-odd.ged"}, FileOpen, "-odd.ged", "", ""},
        {{"-p", "royal.ged"}, FilePrint, "royal.ged", "", ""},
        {{"royal.ged", "-p", "extra"}, FilePrint, "royal.ged", "", ""},
        {{"-pt", "royal.ged", "Office Laser"}, FilePrintTo, "royal.ged", "Office Laser", ""},
        {{"royal.ged", "Office", "-pt"}, FilePrintTo, "royal.ged", "Office", ""},
        {{"--register"}, AppRegister, "", "", ""},
        {{"-r", "royal.ged"}, AppRegister, "royal.ged", "", ""},
        {{"--unregister"}, AppUnregister, "", "", ""},
        {{"-u"}, AppUnregister, "", "", ""},
        // The last shell flag counts.
        {{"-p", "a.ged", "-u"}, AppUnregister, "a.ged", "", ""},
        {{"-u", "-pt", "a.ged", "Lp"}, FilePrintTo, "a.ged", "Lp", ""},
        {{"--help"}, ShowHelp, "", "", ""},
        {{"-h", "royal.ged"}, ShowHelp, "royal.ged", "", ""},
        {{"--version"}, ShowVersion, "", "", ""},
        {{"--bogus", "--help"}, ShowHelp, "", "", ""},
        {{"--version", "--help"}, ShowHelp, "", "", ""},
        {{"-x", "royal.ged"}, FileOpen, "royal.ged", "", ""},
        {{"royal.ged", "-I", "I7"}, FileOpen, "royal.ged", "", ""},
        {{"-"}, FileNew, "", "", ""},
        {{"--fast", "royal.ged"}, Error, "royal.ged", "", "unknown option '--fast'"},
        {{"--pt", "-y"}, Error, "", "", "unknown option '--pt'"},
        {{"-p"}, Error, "", "", "option '-p' needs a FILE"},
        {{"-pt", "royal.ged"}, Error, "royal.ged", "", "option '-pt' needs a FILE and a PRINTER"},
        {{"-pt"}, Error, "", "", "option '-pt' needs a FILE and a PRINTER"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.arguments));
        const CommandLineInfo info = ParseCommandLine(c.arguments);
        EXPECT_EQ(info.command, c.command);
        EXPECT_EQ(info.file, c.file);
        EXPECT_EQ(info.printer, c.printer);
        EXPECT_EQ(info.error, c.error);
    }
}

TEST(CommandLine, ArgumentTextIsEveryArgumentJoinedByOneBlank) {
    EXPECT_EQ(ParseCommandLine(Args{}).argumentText, "");
    EXPECT_EQ(ParseCommandLine(Args{"-pt", "my file.ged", "Office Laser"}).argumentText,
              "-pt my file.ged Office Laser");
    EXPECT_EQ(ParseCommandLine(Args{"", "a.ged", "-x"}).argumentText, " a.ged -x");

    // The load reads the start person from this text.
    const CommandLineInfo info = ParseCommandLine(Args{"royal.ged", "-i", "I12"});
    EXPECT_EQ(ParseStartOption(info.argumentText), "I12");
}

TEST(CommandLine, ArgvSkipsTheProgramPath) {
    const char* const argv[] = {"/usr/bin/stirpex", "-i", "I3", "/tmp/royal.ged"};
    const CommandLineInfo info = ParseCommandLine(4, argv);
    EXPECT_EQ(info.command, ShellCommand::FileOpen);
    EXPECT_EQ(info.file, "/tmp/royal.ged");
    EXPECT_EQ(info.argumentText, "-i I3 /tmp/royal.ged");
}

// A desktop hands every chosen file over at once (Exec=stirpex %F).
TEST(CommandLine, EveryPlainArgumentIsAFileToOpen) {
    using Files = std::vector<std::string>;
    EXPECT_EQ(ParseCommandLine(Args{"a.ged", "-i", "I3", "b.ged", "--", "-c.ged"}).files,
              (Files{"a.ged", "b.ged", "-c.ged"}));
    EXPECT_EQ(ParseCommandLine(Args{}).files, Files{});
    // The shell's verbs take one file; their second plain argument is a printer.
    EXPECT_EQ(ParseCommandLine(Args{"-pt", "a.ged", "Laser"}).files, Files{});
    EXPECT_EQ(ParseCommandLine(Args{"-p", "a.ged", "b.ged"}).files, Files{});
}

// Guards against a help text that offers a flag the parser rejects.
TEST(CommandLine, EveryFlagTheHelpShowsIsAccepted) {
    std::istringstream help{std::string(UsageText())};
    int flags = 0;
    for (std::string line; std::getline(help, line);) {
        std::istringstream words(line);
        for (std::string word; words >> word && word.starts_with("-");) {
            if (word.ends_with(",")) {
                word.pop_back();
            }
            SCOPED_TRACE(word);
            const CommandLineInfo info = ParseCommandLine(Args{word, "royal.ged", "Laser"});
            EXPECT_NE(info.command, ShellCommand::Error) << info.error;
            ++flags;
        }
    }
    EXPECT_EQ(flags, 10); // -i -p -pt -r --register -u --unregister -h --help --version
}

// The version is written once, in the build; the line shows it in the program's
// old short form, the patch run into the minor number.
TEST(CommandLine, VersionLineShowsShortVersionAndDate) {
    EXPECT_EQ(VersionText(), "Stirpex version 1.09, 27 Aug 2020\n");
}

std::string contentOf(std::FILE* file) {
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    return text;
}

// Help and version go to standard output for a pipe, errors to standard error;
// anything that needs a window is left to the application.
TEST(CommandLine, HelpVersionAndErrorsAreAnsweredWithoutAWindow) {
    struct Expected {
        Args arguments;
        std::optional<int> code;
        std::string out;
        std::string err;
    };
    const std::vector<Expected> cases = {
        {{"--help", "royal.ged"}, 0, std::string(UsageText()), ""},
        {{"--version"}, 0, std::string(VersionText()), ""},
        {{"--bogus"}, 2, "", "stirpex: unknown option '--bogus'\nTry 'stirpex --help' for more information.\n"},
        {{"royal.ged"}, std::nullopt, "", ""},
        {{"--register"}, std::nullopt, "", ""},
    };
    for (const Expected& expected : cases) {
        SCOPED_TRACE(describe(expected.arguments));
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        ASSERT_TRUE(out != nullptr && err != nullptr);
        EXPECT_EQ(AnswerWithoutWindow(ParseCommandLine(expected.arguments), out, err), expected.code);
        EXPECT_EQ(contentOf(out), expected.out);
        EXPECT_EQ(contentOf(err), expected.err);
        std::fclose(out);
        std::fclose(err);
    }
}

} // namespace
} // namespace stirpex
