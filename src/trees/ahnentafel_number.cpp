#include "trees/ahnentafel_number.h"

namespace stirpex {

AhnentafelNumber::AhnentafelNumber(std::uint32_t number) {
    do {
        m_digits += static_cast<char>(number % 10);
        number /= 10;
    } while (number != 0);
}

void AhnentafelNumber::toParent(bool mother) {
    int carry = mother ? 1 : 0;
    for (char& digit : m_digits) {
        const int value = 2 * digit + carry;
        digit = static_cast<char>(value % 10);
        carry = value / 10;
    }
    if (carry != 0) {
        m_digits += static_cast<char>(carry);
    }
}

void AhnentafelNumber::toChild() {
    int remainder = 0;
    for (auto it = m_digits.rbegin(); it != m_digits.rend(); ++it) {
        const int value = 10 * remainder + *it;
        *it = static_cast<char>(value / 2);
        remainder = value % 2;
    }
    while (m_digits.size() > 1 && m_digits.back() == 0) {
        m_digits.pop_back();
    }
}

void AhnentafelNumber::appendTo(std::string& out) const {
    for (auto it = m_digits.rbegin(); it != m_digits.rend(); ++it) {
        out += static_cast<char>('0' + *it);
    }
}

std::string AhnentafelNumber::text() const {
    std::string out;
    out.reserve(m_digits.size());
    appendTo(out);
    return out;
}

} // namespace stirpex
