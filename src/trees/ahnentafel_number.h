#pragma once

// An Ahnentafel number of any size, as decimal digits. The father of the
// person numbered n is 2n and the mother 2n + 1, so a number doubles with
// every generation: past the 31st it no longer fits a 32-bit integer, and a
// line of thousands of generations gives numbers of thousands of digits. The
// ancestors walk keeps one number, that of the node it stands on, moving it
// down to a parent and back up to the child.

#include <cstdint>
#include <string>

namespace stirpex {

class AhnentafelNumber {
public:
    explicit AhnentafelNumber(std::uint32_t number);

    // n becomes 2n, or 2n + 1 for the mother.
    void toParent(bool mother);
    // n becomes n / 2 rounded down: back from a parent to the child.
    void toChild();

    bool isOne() const noexcept { return m_digits.size() == 1 && m_digits[0] == 1; }
    std::size_t digitCount() const noexcept { return m_digits.size(); }
    void appendTo(std::string& out) const;
    std::string text() const;

private:
    std::string m_digits; // values 0 to 9, least significant first, no leading zeros but for 0 itself
};

} // namespace stirpex
