#pragma once

// The person page on screen: a scrolling view that paints the core's page,
// forwards the mouse to it and serves the page's commands. Every decision is
// the core's (person_page.h, page_pointer.h); this class turns its effects
// into repaints, cursors and dialogs.

#include "page/page_pointer.h"
#include "page/person_page.h"

#include <QAbstractScrollArea>
#include <QString>

#include <functional>
#include <memory>
#include <string_view>

class QMenu;

namespace stirpex {

class CExtObj;
class CStirpexDoc;
class CStirpexView;
class OpenGedcom;

// The dialogs a page opens, provided by the shell that owns the windows. A
// command whose dialog is not provided is disabled.
struct PageDialogs {
    std::function<void(CStirpexView&, const StoryRequest&)> story;
    std::function<bool(CStirpexView&, int treeKind)> tree; // true when the dialog ended with OK
    std::function<bool(CStirpexView&)> goTo;               // true with the typed key in m_strGoToID
    std::function<void(CStirpexView&)> find;
    // Returns the person the user chose to open from the reading report, or null.
    std::function<const CPerson*(CStirpexView&)> properties;
    std::function<void(CStirpexView&, int command)> print; // print, direct print, preview
    // How another person is related to the one shown; the person whose link was chosen, or null.
    std::function<const CPerson*(CStirpexView&)> relationship;
    // People found by what is known of them; the person chosen, or null.
    std::function<const CPerson*(CStirpexView&)> search;
    // Opens another window on the view's document, showing `person`.
    std::function<void(CStirpexView&, const CPerson& person)> newWindow;
    // Makes `person` the home person of the view's file, for every window on it and for later runs.
    std::function<void(CStirpexView&, const CPerson& person)> setHome;
    std::function<void(CStirpexView&, const CExtObj&)> media; // a media link: the image window or the desktop
    std::function<void(CStirpexView&, int command)> chart;    // the chart of the person shown, ID_CHART_*
};

class CStirpexView : public QAbstractScrollArea {
    Q_OBJECT

public:
    CStirpexView(OpenGedcom& document, const PageDialogs& dialogs, QWidget* parent = nullptr);
    ~CStirpexView() override;

    OpenGedcom& Document() const noexcept { return m_document; }
    const CStirpexDoc& GetDocument() const noexcept;
    PersonPage& Page() noexcept { return m_page; }
    const PersonPage& Page() const noexcept { return m_page; }

    // Makes `person` current and repaints at once.
    void ShowPerson(const CPerson* person);
    // Opens on `person` instead of the document's start person (before the first paint).
    void StartAt(const CPerson& person);
    bool IsCommandEnabled(int command) const noexcept;
    // Runs a command the page serves; false for one it does not serve or that is disabled.
    bool RunCommand(int command);

    void OnBack();
    void OnForward();
    void OnGoTo();
    void OnFind();
    void OnAncestors();
    void OnDescendants();
    void OnMtDNA();
    void OnYChromosome();
    void OnFileProperties();
    void OnRelationship();
    void OnSearch();
    void OnHomePerson();
    void OnSetHomePerson();
    void OnEditCopy();

    // The menu a right click on `link` opens: "Copy name", and "Open in New
    // Window" for a link to a person. The actions keep what they need, so the
    // menu outlives a change of page.
    std::unique_ptr<QMenu> LinkMenu(const PageLink& link);

    // For assistive technology: puts the keyboard focus on link `link` of the
    // last paint, or follows it as a click would.
    void FocusLink(int link);
    void FollowLink(int link);

    // Which of the windows on its document this one is (from 1), 0 while it is the only one; the caption shows it.
    void SetWindowNumber(int number);
    int WindowNumber() const noexcept { return m_windowNumber; }

    // Where a link of the last paint lies in viewport coordinates.
    QRect ClientRect(const PageRect& rect) const;

signals:
    // The page's commands may have changed state (a paint after a change of person).
    void commandsChanged();
    void captionChanged(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Tab and Shift+Tab move between the page's links, not out of the page.
    bool focusNextPrevChild(bool next) override;

private:
    QPoint pageOffset() const;
    QPoint toPage(const QPoint& client) const { return client + pageOffset(); }
    void apply(const PageEffects& effects);
    void repaintNow(const PageRect& rect);
    void repaintAll();
    void updateScrollRanges();
    void reveal(const PageRect& rect);
    void drawFocusFrame(QPainter& painter) const;
    void runTree(int treeKind);
    void clearHotLink();
    void announceFocus();
    void showCaption(std::string_view text);

    OpenGedcom& m_document;
    const PageDialogs& m_dialogs;
    PersonPage m_page;
    int m_totalHeight = 200; // scroll size as OnInitialUpdate sets it, until the first paint
    int m_totalWidth = PersonPage::kScrollWidth;
    int m_windowNumber = 0;
};

} // namespace stirpex
