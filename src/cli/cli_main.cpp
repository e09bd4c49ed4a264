// stirpex-cli: the viewer's core without a window, for scripts and for the
// project's own end-to-end tests.

#include "cli/command.h"
#include "cli/commands.h"
#include "find/locale_collator_qt.h"
#include "find/name_index.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"
#include "stirpex_version.h"

#include <unistd.h>

#include <cstdio>
#include <ios>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace stirpex;

constexpr int kExitUsage = 2;
constexpr int kExitOutOfMemory = 1;

constexpr std::string_view kUsage =
    "usage: stirpex-cli stats FILE [--no-index] [--json]\n"
    "       stirpex-cli dump FILE [--json]\n"
    "       stirpex-cli page FILE [ID] [--width W] [--print] [--home ID] [--json]\n"
    "       stirpex-cli tree FILE ancestors|descendants|mtdna|ychromosome ID [--no-spouses] [--json]\n"
    "       stirpex-cli names FILE [--no-married] [--find TEXT] [--json]\n"
    "       stirpex-cli story FILE ID notes|sources person|birth|baptism|marriage|divorce|death|burial|\n"
    "                         fact|family-fact [--family INDEX] [--fact POSITION] [--json]\n"
    "       stirpex-cli check FILE [--json]\n"
    "       stirpex-cli relation FILE ID ID [--json]\n"
    "       stirpex-cli search FILE [--surname S] [--given G] [--soundex S] [--place P] [--years A..B]\n"
    "                          [--sex M|F] [--text WORDS] [--json]\n"
    "       stirpex-cli chart FILE pedigree|descendants|hourglass|fan ID [--generations N]\n"
    "                         [--descendant-generations N] [--orientation right|down|up] [--numbers]\n"
    "                         [--no-spouses]\n"
    "                         [--width W] [--height H] --png|--svg|--pdf OUT [--json]\n"
    "       stirpex-cli --help | --version\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "stirpex-cli: %s\n", message.c_str());
    return kExitUsage;
}

// A bar on stderr while a large file is read, when a person is watching.
class TerminalProgress final : public ProgressSink {
    class Bar final : public ProgressWindow {
    public:
        explicit Bar(std::string text) : m_text(std::move(text)) { draw(0); }
        ~Bar() override { std::fputs("\r\033[K", stderr); }
        void SetPos(int percent) override { draw(percent); }

    private:
        void draw(int percent) {
            std::fprintf(stderr, "\r%s %3d%%", m_text.c_str(), percent > 100 ? 100 : percent);
            std::fflush(stderr);
        }
        std::string m_text;
    };

public:
    std::unique_ptr<ProgressWindow> Create(std::string_view text) override {
        return std::make_unique<Bar>(std::string(text));
    }
};

class StderrMessages final : public MessageSink {
public:
    void Show(std::string_view text) override {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fputc('\n', stderr);
    }
};

// One subcommand: its options (besides --json) and whether the name index is
// built at the end of reading, as the viewer builds it.
struct OptionEntry {
    std::string_view name;
    bool takesValue = false;
};
struct CommandEntry {
    std::string_view name;
    std::vector<OptionEntry> options;
    bool buildsIndex = false;
    int (*run)(const cli::CommandInput&) = nullptr;
};

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = {
        {"stats", {{"--no-index"}}, true, cli::RunStatsCommand},
        {"dump", {}, false, cli::RunDumpCommand},
        {"page", {{"--width", true}, {"--print"}, {"--home", true}}, false, cli::RunPageCommand},
        {"names", {{"--no-married"}, {"--find", true}}, true, cli::RunNamesCommand},
        {"story", {{"--family", true}, {"--fact", true}}, false, cli::RunStoryCommand},
        {"tree", {{"--no-spouses"}}, false, cli::RunTreeCommand},
        {"check", {}, false, cli::RunCheckCommand},
        {"relation", {}, false, cli::RunRelationCommand},
        {"chart",
         {{"--generations", true},
          {"--descendant-generations", true},
          {"--orientation", true},
          {"--numbers"},
          {"--no-spouses"},
          {"--width", true},
          {"--height", true},
          {"--png", true},
          {"--svg", true},
          {"--pdf", true}},
         false,
         cli::RunChartCommand},
        {"search",
         {{"--surname", true},
          {"--given", true},
          {"--soundex", true},
          {"--place", true},
          {"--years", true},
          {"--sex", true},
          {"--text", true}},
         false,
         cli::RunSearchCommand},
    };
    return table;
}

struct Arguments {
    const CommandEntry* command = nullptr;
    std::string file;
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;
    bool json = false;
};

const CommandEntry* findCommand(std::string_view name) {
    for (const CommandEntry& entry : commandTable()) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

const OptionEntry* findOption(const CommandEntry& entry, std::string_view name) {
    for (const OptionEntry& option : entry.options) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

// The command word comes first; options may stand anywhere after it.
Arguments parseArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (args.command == nullptr) {
            args.command = findCommand(arg);
            if (args.command == nullptr) {
                throw cli::UsageError("unknown subcommand '" + std::string(arg) + "'");
            }
        } else if (arg == "--json") {
            args.json = true;
        } else if (arg.starts_with("--")) {
            const OptionEntry* option = findOption(*args.command, arg);
            if (option == nullptr) {
                throw cli::UsageError("unknown option '" + std::string(arg) + "' for " +
                                      std::string(args.command->name));
            }
            std::string value;
            if (option->takesValue) {
                if (i + 1 >= argc) {
                    throw cli::UsageError(std::string(arg) + " needs a value");
                }
                value = argv[++i];
            }
            args.options.insert_or_assign(std::string(arg), std::move(value));
        } else if (args.file.empty()) {
            args.file = arg;
        } else {
            args.operands.emplace_back(arg);
        }
    }
    if (args.file.empty()) {
        throw cli::UsageError("no file given");
    }
    return args;
}

std::string joinedArguments(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        text.append(i > 1 ? " " : "").append(argv[i]);
    }
    return text;
}

std::string_view fileNameOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

int run(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(kUsage.data(), stderr);
        return kExitUsage;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
            std::fputs(kUsage.data(), stdout);
            return 0;
        }
        if (std::string_view(argv[i]) == "--version") {
            std::printf("stirpex-cli %.*s\n", static_cast<int>(kVersion.size()), kVersion.data());
            return 0;
        }
    }
    const Arguments args = parseArguments(argc, argv);
    const std::string& path = args.file;

    TerminalProgress progress;
    StderrMessages messages;
    const std::string argumentText = joinedArguments(argc, argv);
    LoadEnvironment env;
    env.progress = isatty(STDERR_FILENO) ? &progress : nullptr;
    env.messages = &messages;
    env.argumentText = argumentText;

    // The index the viewer keeps in its find window, in the user's collation.
    const LocaleCollator collator;
    NameIndex nameIndex(collator, &messages);
    nameIndex.m_bMarriedNames = !args.options.contains("--no-married");
    if (args.command->buildsIndex && !args.options.contains("--no-index")) {
        env.nameIndex = &nameIndex;
    }

    CStirpexDoc doc;
    std::string error;
    LoadResult result;
    try {
        result = LoadGedcomFile(doc, path, env, error);
    } catch (const std::ios_base::failure& e) {
        return fail("cannot read " + path + ": " + e.what());
    }
    if (!error.empty()) {
        return fail("cannot open " + path + ": " + error);
    }
    if (result.outcome == LoadOutcome::OutOfMemory) {
        messages.Show(result.outOfMemoryText); // straight to stderr: needs no memory the document holds
        return kExitOutOfMemory;
    }

    NameIndex* const index = args.command->buildsIndex ? &nameIndex : nullptr;
    const cli::CommandInput input{doc,          result,    path,  fileNameOf(path), args.operands,
                                  args.options, args.json, index, stdout,           &collator};
    const int status = args.command->run(input);
    std::fflush(stdout);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const cli::UsageError& e) {
        return fail(e.what());
    } catch (const std::bad_alloc&) {
        std::fputs("stirpex-cli: out of memory\n", stderr);
        return kExitOutOfMemory;
    }
}
