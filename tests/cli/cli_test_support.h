#pragma once

// Runs a stirpex-cli subcommand on a document loaded from inline GEDCOM text
// and gives back what it wrote, as the program would have printed it.

#include "cli/command.h"
#include "gedcom/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace stirpex::test {

struct CliRun {
    explicit CliRun(std::string_view gedcom) : loaded(LoadText(gedcom)) {}

    // The subcommand's output; a UsageError goes to the caller.
    std::string operator()(int (*command)(const cli::CommandInput&), bool json = false) {
        char* buffer = nullptr;
        std::size_t size = 0;
        std::FILE* out = open_memstream(&buffer, &size);
        const cli::CommandInput in{*loaded.doc, loaded.result, "test.ged", "test.ged", operands,
                                   options,     json,          nullptr,    out};
        struct Closer {
            std::FILE* out;
            char*& buffer;
            ~Closer() {
                std::fclose(out);
                std::free(buffer);
            }
        } closer{out, buffer};
        command(in);
        std::fflush(out);
        return std::string(buffer, size);
    }

    LoadedDoc loaded;
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;
};

} // namespace stirpex::test
