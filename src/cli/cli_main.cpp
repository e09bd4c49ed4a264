// stirpex-cli: the viewer's core without a window, for scripts and for the
// project's own end-to-end tests.

#include "cli/dump_command.h"
#include "cli/json_writer.h"
#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <unistd.h>

#include <cstdio>
#include <ios>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace stirpex;

constexpr int kExitUsage = 2;
constexpr int kExitOutOfMemory = 1;

constexpr std::string_view kUsage = "usage: stirpex-cli stats FILE [--no-index] [--json]\n"
                                    "       stirpex-cli dump FILE [--json]\n";

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

struct Arguments {
    std::string command;
    std::vector<std::string> positional;
    std::set<std::string> options;
};

std::string joinedArguments(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        text.append(i > 1 ? " " : "").append(argv[i]);
    }
    return text;
}

int run(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage.data(), stdout);
            return 0;
        }
        if (arg.starts_with("--")) {
            args.options.emplace(arg);
        } else if (args.command.empty()) {
            args.command = arg;
        } else {
            args.positional.emplace_back(arg);
        }
    }
    const std::set<std::string> allowed = args.command == "stats"  ? std::set<std::string>{"--json", "--no-index"}
                                          : args.command == "dump" ? std::set<std::string>{"--json"}
                                                                   : std::set<std::string>{};
    if (args.command.empty()) {
        std::fputs(kUsage.data(), stderr);
        return kExitUsage;
    }
    if (args.command != "stats" && args.command != "dump") {
        return fail("unknown subcommand '" + args.command + "'");
    }
    for (const std::string& option : args.options) {
        if (!allowed.contains(option)) {
            return fail("unknown option '" + option + "' for " + args.command);
        }
    }
    if (args.positional.size() != 1) {
        return fail(args.positional.empty() ? "no file given" : "unexpected argument '" + args.positional[1] + "'");
    }
    const std::string& path = args.positional[0];
    const bool json = args.options.contains("--json");

    TerminalProgress progress;
    StderrMessages messages;
    const std::string argumentText = joinedArguments(argc, argv);
    LoadEnvironment env;
    env.progress = isatty(STDERR_FILENO) ? &progress : nullptr;
    env.messages = &messages;
    env.argumentText = argumentText;

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
        return kExitOutOfMemory;
    }

    if (args.command == "stats") {
        if (json) {
            cli::JsonWriter writer(stdout);
            writer.beginObject();
            writer.key("stats");
            writer.value(result.statsText);
            writer.key("counts");
            cli::WriteCountsJson(doc, writer);
            writer.endObject();
            writer.flush();
            std::fputc('\n', stdout);
        } else {
            std::printf("%s\n", result.statsText.c_str());
        }
        return 0;
    }
    if (json) {
        cli::JsonWriter writer(stdout);
        cli::WriteDumpJson(doc, path, result.statsText, writer);
        writer.flush();
        std::fputc('\n', stdout);
    } else {
        cli::WriteDumpText(doc, path, result.statsText, stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("stirpex-cli: out of memory\n", stderr);
        return kExitOutOfMemory;
    }
}
