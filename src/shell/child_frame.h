#pragma once

// One document window: a person page filling an MDI child window whose
// caption follows the page ("royal.ged - I9").

#include <QMdiSubWindow>

namespace stirpex {

class CStirpexView;
class OpenGedcom;
struct PageDialogs;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

public:
    CChildFrame(OpenGedcom& document, const PageDialogs& dialogs, QWidget* parent = nullptr);

    CStirpexView* View() const noexcept { return m_view; }
    OpenGedcom& Document() const noexcept { return m_document; }

signals:
    // The window is about to go, while its page and size are still there to be remembered.
    void closing(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    OpenGedcom& m_document;
    CStirpexView* m_view;
};

} // namespace stirpex
