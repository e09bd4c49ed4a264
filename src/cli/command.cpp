#include "cli/command.h"

#include "model/stirpex_doc.h"

#include <charconv>

namespace stirpex::cli {

std::string_view CommandInput::value(std::string_view option, std::string_view fallback) const {
    const auto it = options.find(option);
    return it == options.end() ? fallback : std::string_view(it->second);
}

const std::string& CommandInput::operand(std::size_t position, std::string_view what) const {
    if (position >= operands.size()) {
        throw UsageError("missing " + std::string(what));
    }
    return operands[position];
}

void RequireNoOperands(const CommandInput& in) {
    if (!in.operands.empty()) {
        throw UsageError("unexpected argument '" + in.operands.front() + "'");
    }
}

const CPerson& RequirePerson(const CStirpexDoc& doc, std::string_view id) {
    const CPerson* person = doc.FindPerson(id);
    if (person == nullptr) {
        throw UsageError("no individual with ID '" + std::string(id) + "'");
    }
    return *person;
}

int ParseIntOption(std::string_view option, std::string_view text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError(std::string(option) + " needs a whole number, not '" + std::string(text) + "'");
    }
    return number;
}

int ParseIntOption(std::string_view option, std::string_view text, int min, int max) {
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < min || number > max) {
        throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not '" + std::string(text) + "'");
    }
    return static_cast<int>(number);
}

} // namespace stirpex::cli
