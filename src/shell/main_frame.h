#pragma once

// The main window: menus, accelerator keys, the toolbar, the status bar with
// the statistics pane, and the area holding the document windows. It serves
// the toolbar, status-bar and window commands itself, hands the application's
// commands to the handlers the application gives it, and every page command
// to the active page; a command nobody serves is greyed.

#include <QMainWindow>

#include <filesystem>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace stirpex {

class CChildFrame;
class CStirpexView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea& MdiArea() const noexcept { return *m_area; }
    CChildFrame* ActiveChild() const;
    CStirpexView* ActiveView() const;

    // Puts the statistics of the last file read into the right-hand pane of the status bar.
    void SetStatsText(const QString& text);
    QString StatsText() const;

    // The application serves these commands; without a handler a command is greyed.
    void SetHandler(int command, std::function<void()> handler);
    // The recent-file list shown in the File menu, newest first.
    void SetRecentFiles(const std::vector<std::filesystem::path>& paths);

    QAction* Action(int command) const;
    // Runs a command as its menu item would; false when it is greyed.
    bool Trigger(int command);
    // Recomputes which commands are enabled (after a change of window or of the page's person).
    void UpdateCommands();

signals:
    void recentFileChosen(const std::filesystem::path& path);
    void filesDropped(const std::vector<std::filesystem::path>& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // The mouse's side buttons over a page run their commands, as keys would.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void serveFrameCommands();
    void switchMenus();
    void fillWindowMenu();
    void runCommand(int command);
    bool isEnabled(int command) const;
    void activeWindowChanged(QMdiSubWindow* window);
    void showTitleOf(const CChildFrame* child);
    void captionChanged();
    void fitStatsPane();
    void cascadeWindows();

    QMdiArea* m_area;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_readyLabel = nullptr;
    QLabel* m_statsLabel = nullptr;
    int m_statsWidth = 160; // a quarter of the screen, while the prompt leaves room for it
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    std::vector<QMenu*> m_mainMenus;     // shown while no document window is open
    std::vector<QMenu*> m_documentMenus; // shown while one is
    QMenu* m_windowMenu = nullptr;
    std::vector<QAction*> m_windowListActions;
    std::vector<QAction*> m_recentActions;
    std::vector<std::filesystem::path> m_recentFiles;
    bool m_showingDocumentMenus = false;
};

} // namespace stirpex
