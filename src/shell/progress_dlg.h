#pragma once

// The progress window of reading and indexing: a small frameless box in the
// middle of the screen with a text line (room for two lines) and a bar from
// 0 to 100; and, for work that can be given up, a Cancel button, which Escape
// presses too. Some loops that use it run on the user-interface thread
// without dispatching events, so the window paints itself at once when it
// appears and whenever the bar moves.

#include "gedcom/load_sinks.h"

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace stirpex {

class CProgressDlg : public QDialog {
    Q_OBJECT

public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    void SetText(const QString& text);
    // Positions beyond 100 show a full bar; the bar is repainted before returning.
    void SetPos(int percent);

    // Shows the window centred on the screen and paints it before returning.
    void ShowNow();
    // Shows a Cancel button below the bar, which calls `cancel`, as Escape does.
    void AllowCancel(std::function<void()> cancel);

    QLabel* TextLine() const noexcept { return m_text; }
    QProgressBar* Bar() const noexcept { return m_bar; }
    QPushButton* CancelButton() const noexcept { return m_cancelButton; }

public slots:
    // Escape must not end the window: the work it watches goes on, unless it can be cancelled.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QFrame* m_edge = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::function<void()> m_cancel;
};

// The progress windows of the load and the name index.
class ProgressWindowSink final : public ProgressSink {
public:
    std::unique_ptr<ProgressWindow> Create(std::string_view text) override;
};

// Gives a window the sink above made a Cancel button; other windows have none.
void AllowCancel(ProgressWindow& window, std::function<void()> cancel);

} // namespace stirpex
