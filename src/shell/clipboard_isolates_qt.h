#pragma once

// Keeps the directional isolates off the clipboard. The windows wrap each
// right-to-left name or place in invisible isolate marks so that it keeps its
// place in their left-to-right lines (model/text_direction.h); text copied out
// of them (a note selected in the notes viewer, a tree's person, the name list's
// field) would take those marks into a mail or a document, where they only get
// in the way: a search there for the name no longer finds it.
// Whatever the program puts on the clipboard or the selection is therefore put
// back without them, at one place for every window and every way of copying.

#include <QClipboard>
#include <QObject>

#include <array>
#include <cstdint>

namespace stirpex {

class ClipboardIsolates final : public QObject {
    Q_OBJECT

public:
    explicit ClipboardIsolates(QObject* parent);

private:
    void clean(QClipboard::Mode mode, std::uint64_t change);
    std::uint64_t& changesOf(QClipboard::Mode mode);

    std::array<std::uint64_t, QClipboard::LastMode + 1> m_changes{}; // each mode's changes, counted
};

} // namespace stirpex
