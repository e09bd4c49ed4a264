#pragma once

// Messages for the user as the program's own message boxes: caption
// "Stirpex", the fixed text, one OK button.

#include "gedcom/load_sinks.h"

class QWidget;

namespace stirpex {

class MessageBoxSink final : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) noexcept { m_parent = parent; }
    void Show(std::string_view text) override;

private:
    QWidget* m_parent;
};

} // namespace stirpex
