#pragma once

// Fakes for the name index tests: a plain ASCII collator, sinks that record,
// and a memory resource that runs out.

#include "find/collator.h"
#include "find/key_prefix_sort.h"
#include "gedcom/load_sinks.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stirpex::test {

inline char foldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Byte order with ASCII letters folded to lower case; records the pairs that
// the ASCII fast path of startsWith hands on.
class AsciiCollator : public Collator {
public:
    int compare(std::string_view a, std::string_view b) const override {
        const std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            const auto x = static_cast<unsigned char>(foldAscii(a[i]));
            const auto y = static_cast<unsigned char>(foldAscii(b[i]));
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }

    mutable std::vector<std::pair<std::string, std::string>> folded;

protected:
    bool startsWithFolded(std::string_view text, std::string_view prefix) const override {
        folded.emplace_back(text, prefix);
        return text.size() >= prefix.size() && compare(text.substr(0, prefix.size()), prefix) == 0;
    }
};

// The ASCII collator's key: the folded bytes of the text, as its compare
// orders them. A collation key holds no zero byte (a zero ends it), so each
// byte is written as its two halves, each plus one: a text with NUL in it
// (a fuzzed file's) keeps its order.
inline void FoldedPrefix(std::string_view text, detail::KeyPrefix& prefix) {
    prefix.fill(0);
    for (std::size_t i = 0; i < std::min(text.size(), prefix.size() / 2); ++i) {
        const auto folded = static_cast<std::uint8_t>(foldAscii(text[i]));
        prefix[2 * i] = static_cast<std::uint8_t>((folded >> 4) + 1);
        prefix[2 * i + 1] = static_cast<std::uint8_t>((folded & 0x0F) + 1);
    }
}

// The ASCII order, sorted as the locale collator sorts: by key prefixes.
class PrefixSortingCollator : public AsciiCollator {
public:
    void sort(std::span<NameEntry> entries, std::pmr::memory_resource* scratch) const override {
        detail::SortByKeyPrefix(entries, *this, FoldedPrefix, scratch);
    }
};

class RecordingMessages : public MessageSink {
public:
    void Show(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

// Every window made, every position sent, and whether the last window is gone.
class RecordingProgress : public ProgressSink {
public:
    struct Window : ProgressWindow {
        explicit Window(RecordingProgress& owner) : m_owner(owner) {}
        ~Window() override { m_owner.windowOpen = false; }
        void SetPos(int percent) override { m_owner.positions.push_back(percent); }
        RecordingProgress& m_owner;
    };

    std::unique_ptr<ProgressWindow> Create(std::string_view text) override {
        texts.emplace_back(text);
        windowOpen = true;
        return std::make_unique<Window>(*this);
    }

    std::vector<std::string> texts;
    std::vector<int> positions;
    bool windowOpen = false;
};

// Hands out memory while the bytes in use stay within `budget` and no single
// request exceeds `largest`; beyond either it throws std::bad_alloc.
class LimitedResource : public std::pmr::memory_resource {
public:
    explicit LimitedResource(std::size_t budget, std::size_t largest = static_cast<std::size_t>(-1))
        : m_budget(budget), m_largest(largest) {}

    std::size_t inUse() const noexcept { return m_inUse; }
    int refused = 0;

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override {
        if (bytes > m_largest || m_inUse + bytes > m_budget) {
            ++refused;
            throw std::bad_alloc();
        }
        void* p = std::pmr::new_delete_resource()->allocate(bytes, alignment);
        m_inUse += bytes;
        return p;
    }
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override {
        m_inUse -= bytes;
        std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

    std::size_t m_budget;
    std::size_t m_largest;
    std::size_t m_inUse = 0;
};

} // namespace stirpex::test
