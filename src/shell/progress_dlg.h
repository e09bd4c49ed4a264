#pragma once

// The progress window of reading and indexing: a small frameless box in the
// middle of the screen with a text line (room for two lines) and a bar from
// 0 to 100. It takes no input and cannot be cancelled. The loops that use it
// run on the user-interface thread without dispatching events, so the window
// paints itself at once when it appears and whenever the bar moves.

#include "gedcom/load_sinks.h"

#include <QDialog>

class QLabel;
class QProgressBar;

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

    QLabel* TextLine() const noexcept { return m_text; }
    QProgressBar* Bar() const noexcept { return m_bar; }

public slots:
    void reject() override; // Escape must not end the window: the work it watches goes on

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text;
    QProgressBar* m_bar;
};

// The progress windows of the load and the name index.
class ProgressWindowSink final : public ProgressSink {
public:
    std::unique_ptr<ProgressWindow> Create(std::string_view text) override;
};

} // namespace stirpex
