#include "gedcom/start_option.h"

#include "gedcom/gedcom_line.h"

namespace stirpex {

std::optional<std::string> ParseStartOption(std::string_view argumentText, std::string_view title) {
    const std::size_t titleAt = argumentText.find(title);
    if (titleAt == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t option = argumentText.find(" -i", titleAt + title.size());
    if (option == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t keyStart = SkipBlanks(argumentText, option + 3);
    std::size_t keyEnd = keyStart;
    while (keyEnd < argumentText.size() && !IsBlank(argumentText[keyEnd])) {
        ++keyEnd;
    }
    return std::string(argumentText.substr(keyStart, keyEnd - keyStart));
}

} // namespace stirpex
