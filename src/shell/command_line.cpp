#include "shell/command_line.h"

#include "stirpex_version.h"

#include <optional>
#include <vector>

namespace stirpex {

namespace {

constexpr std::string_view kUsage = "Usage: stirpex [FILE...] [-i KEY]\n"
                                    "       stirpex -p FILE\n"
                                    "       stirpex -pt FILE PRINTER\n"
                                    "       stirpex --register | --unregister\n"
                                    "Shows each GEDCOM genealogy FILE, one person at a time.\n"
                                    "\n"
                                    "  -i KEY            start at the individual KEY (its identifier without '@')\n"
                                    "  -p FILE           print the first person's page of FILE, then end\n"
                                    "  -pt FILE PRINTER  print that page on PRINTER, then end\n"
                                    "  -r, --register    register the .ged file type for this user, then end\n"
                                    "  -u, --unregister  remove that registration, then end\n"
                                    "  -h, --help        show this help, then end\n"
                                    "      --version     show the version, then end\n";

std::string joined(std::span<const std::string> arguments) {
    std::string text;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += arguments[i];
    }
    return text;
}

// The shell command a flag stands for; nullopt for a flag the program does not know.
std::optional<ShellCommand> shellFlag(std::string_view flag) {
    if (flag == "-p") {
        return ShellCommand::FilePrint;
    }
    if (flag == "-pt") {
        return ShellCommand::FilePrintTo;
    }
    if (flag == "-r" || flag == "--register") {
        return ShellCommand::AppRegister;
    }
    if (flag == "-u" || flag == "--unregister") {
        return ShellCommand::AppUnregister;
    }
    if (flag == "-h" || flag == "--help") {
        return ShellCommand::ShowHelp;
    }
    if (flag == "--version") {
        return ShellCommand::ShowVersion;
    }
    return std::nullopt;
}

struct Scan {
    std::optional<ShellCommand> lastShellFlag;
    bool help = false;
    bool version = false;
    std::string firstUnknown;
    std::vector<std::string_view> plain;
};

Scan scan(std::span<const std::string> arguments) {
    Scan result;
    bool flagsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.empty()) {
            continue; // names no file; the framework skipped it too
        }
        if (flagsEnded || argument.front() != '-') {
            result.plain.push_back(argument);
        } else if (argument == "--") {
            flagsEnded = true;
        } else if (argument.starts_with("-i")) {
            // The load reads the start option itself; here "-i" only must not
            // turn its key into the file. "-iKEY" carries the key with it.
            if (argument == "-i" && i + 1 < arguments.size()) {
                ++i;
            }
        } else if (const auto command = shellFlag(argument)) {
            if (*command == ShellCommand::ShowHelp) {
                result.help = true;
            } else if (*command == ShellCommand::ShowVersion) {
                result.version = true;
            } else {
                result.lastShellFlag = command;
            }
        } else if (argument.starts_with("--") && result.firstUnknown.empty()) {
            result.firstUnknown = std::string(argument);
        }
        // Any other single-dash flag is one the shell does not know, and it
        // passes over it as it always has: "-I I7" opens the file and builds
        // the index, since only a lower-case "-i" is the start option.
    }
    return result;
}

CommandLineInfo failed(CommandLineInfo info, std::string error) {
    info.command = ShellCommand::Error;
    info.error = std::move(error);
    return info;
}

} // namespace

CommandLineInfo ParseCommandLine(std::span<const std::string> arguments) {
    CommandLineInfo info;
    info.argumentText = joined(arguments);
    const Scan found = scan(arguments);
    if (!found.plain.empty()) {
        info.file = std::string(found.plain[0]);
    }
    if (found.plain.size() > 1) {
        info.printer = std::string(found.plain[1]);
    }
    if (found.help) {
        info.command = ShellCommand::ShowHelp;
        return info;
    }
    if (found.version) {
        info.command = ShellCommand::ShowVersion;
        return info;
    }
    if (!found.firstUnknown.empty()) {
        return failed(std::move(info), "unknown option '" + found.firstUnknown + "'");
    }
    info.command = found.lastShellFlag.value_or(info.file.empty() ? ShellCommand::FileNew : ShellCommand::FileOpen);
    if (info.command == ShellCommand::FilePrint && info.file.empty()) {
        return failed(std::move(info), "option '-p' needs a FILE");
    }
    if (info.command == ShellCommand::FilePrintTo && info.printer.empty()) {
        return failed(std::move(info), "option '-pt' needs a FILE and a PRINTER");
    }
    if (info.command != ShellCommand::FilePrintTo) {
        info.printer.clear();
    }
    if (info.command == ShellCommand::FileOpen) {
        info.files.assign(found.plain.begin(), found.plain.end());
    }
    return info;
}

CommandLineInfo ParseCommandLine(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return ParseCommandLine(arguments);
}

std::string_view UsageText() {
    return kUsage;
}

std::string VersionText() {
    return std::string(kVersionLine) + '\n';
}

std::optional<int> AnswerWithoutWindow(const CommandLineInfo& info, std::FILE* out, std::FILE* err) {
    switch (info.command) {
    case ShellCommand::ShowHelp:
        std::fwrite(kUsage.data(), 1, kUsage.size(), out);
        return 0;
    case ShellCommand::ShowVersion:
        std::fputs(VersionText().c_str(), out);
        return 0;
    case ShellCommand::Error:
        std::fprintf(err, "stirpex: %s\nTry 'stirpex --help' for more information.\n", info.error.c_str());
        return 2;
    default:
        return std::nullopt;
    }
}

} // namespace stirpex
