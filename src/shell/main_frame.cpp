#include "shell/main_frame.h"

#include "model/text_direction.h"
#include "shell/accessible_texts_qt.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/clipboard_isolates_qt.h"
#include "shell/command_table.h"
#include "shell/file_name_qt.h"
#include "shell/frame_geometry.h"
#include "shell/open_gedcom_app.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStatusBar>
#include <QToolBar>

// The resources are compiled into a static library: nothing refers to them, so
// they must be registered by hand before the first icon is asked for.
static void initResources() {
    Q_INIT_RESOURCE(stirpex);
}

namespace stirpex {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kRecentShown = 4;

bool isRecentFile(int command) {
    return command >= ID_FILE_MRU_FILE1 && command <= ID_FILE_MRU_FILE16;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_area(new QMdiArea(this)) {
    initResources();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Stirpex"));
    setWindowIcon(QIcon(QStringLiteral(":/app/stirpex.png")));
    resize(640, 480);
    setAcceptDrops(true);
    m_area->setObjectName(QStringLiteral("documentArea"));
    setCentralWidget(m_area);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    serveFrameCommands();
    new ClipboardIsolates(this);
    // The toolbar's image buttons are named by their commands (createToolBar).
    SetAccessibleTexts({
        {m_area, QStringLiteral("Document windows"), QStringLiteral("A window for each person page opened")},
        {m_statsLabel, QStringLiteral("File statistics"),
         QStringLiteral("The people, families, notes and sources of the file read last")},
    });
    connect(m_area, &QMdiArea::subWindowActivated, this, &CMainFrame::activeWindowChanged);
    switchMenus();
    UpdateCommands();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::createActions() {
    for (const CommandInfo& info : Commands()) {
        if (isRecentFile(info.id)) {
            continue;
        }
        auto* action = new QAction(this);
        action->setObjectName(toQString(info.name));
        action->setData(info.id);
        action->setStatusTip(toQString(info.prompt));
        action->setToolTip(info.tooltip.empty() ? QString() : toQString(info.tooltip));
        if (const std::string_view icon = ToolbarIcon(info.id); !icon.empty()) {
            action->setIcon(QIcon(toQString(icon)));
        }
        connect(action, &QAction::triggered, this, [this, id = info.id] { runCommand(id); });
        // Keys work in every state, whichever menu bar is shown.
        addAction(action);
        m_actions.emplace(info.id, action);
    }
    std::map<int, QList<QKeySequence>> keys;
    for (const Accelerator& accelerator : Accelerators()) {
        keys[accelerator.command].append(QKeySequence(toQString(accelerator.key), QKeySequence::PortableText));
    }
    for (auto& [command, sequences] : keys) {
        if (QAction* action = Action(command)) {
            action->setShortcuts(sequences);
        }
    }
    for (int i = 0; i < kRecentShown; ++i) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("ID_FILE_MRU_FILE%1").arg(i + 1));
        action->setStatusTip(toQString(FindCommand(ID_FILE_MRU_FILE1)->prompt));
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, i] {
            if (static_cast<std::size_t>(i) < m_recentFiles.size()) {
                emit recentFileChosen(m_recentFiles[static_cast<std::size_t>(i)]);
            }
        });
        m_recentActions.push_back(action);
    }
}

void CMainFrame::createMenus() {
    const auto build = [this](std::span<const Menu> menus, std::vector<QMenu*>& into) {
        for (const Menu& menu : menus) {
            auto* qmenu = new QMenu(toQString(menu.title), this);
            for (const MenuItem& item : menu.items) {
                switch (item.kind) {
                case MenuItemKind::Separator:
                    qmenu->addSeparator();
                    break;
                case MenuItemKind::RecentFiles: {
                    QAction* placeholder = qmenu->addAction(toQString(item.label()));
                    placeholder->setObjectName(QStringLiteral("recentFilePlaceholder"));
                    placeholder->setEnabled(false);
                    placeholder->setStatusTip(toQString(FindCommand(ID_FILE_MRU_FILE1)->prompt));
                    for (QAction* recent : m_recentActions) {
                        qmenu->addAction(recent);
                    }
                    break;
                }
                case MenuItemKind::WindowList:
                    m_windowMenu = qmenu;
                    connect(qmenu, &QMenu::aboutToShow, this, &CMainFrame::fillWindowMenu);
                    break;
                case MenuItemKind::Command:
                    if (QAction* action = Action(item.id)) {
                        // One action serves every menu, so the texts of both bars must agree.
                        action->setText(toQString(item.text));
                        qmenu->addAction(action);
                    }
                    break;
                }
            }
            into.push_back(qmenu);
        }
    };
    build(MainMenu(), m_mainMenus);
    build(DocumentMenu(), m_documentMenus);
}

void CMainFrame::createToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Toolbar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const int command : ToolbarButtons()) {
        if (command == ID_SEPARATOR) {
            m_toolBar->addSeparator();
        } else if (QAction* action = Action(command)) {
            m_toolBar->addAction(action);
            // The buttons show only their images: a screen reader says the tooltip and the prompt instead.
            QWidget* button = m_toolBar->widgetForAction(action);
            button->setAccessibleName(action->toolTip());
            button->setAccessibleDescription(action->statusTip());
        }
    }
}

void CMainFrame::createStatusBar() {
    m_readyLabel = new QLabel(QStringLiteral("Ready"), this);
    m_statsLabel = new QLabel(this);
    m_statsLabel->setObjectName(QStringLiteral("statsPane"));
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_statsWidth = screen ? screen->geometry().width() / 4 : 160;
    m_statsLabel->setFixedWidth(m_statsWidth);
    m_statsLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->addWidget(m_readyLabel, 1);
    statusBar()->addPermanentWidget(m_statsLabel);
    connect(statusBar(), &QStatusBar::messageChanged, this, &CMainFrame::fitStatsPane);
}

// A prompt is read while the pointer rests on its item; the statistics wait for it to go.
void CMainFrame::fitStatsPane() {
    const QString prompt = statusBar()->currentMessage();
    // The message line's own margins before the prompt and a gap after it.
    constexpr int kPromptMargins = 16;
    const int promptWidth =
        prompt.isEmpty() ? 0 : statusBar()->fontMetrics().horizontalAdvance(prompt) + kPromptMargins;
    // A quarter of the screen, or what the statistics need where that is less (a small screen, a large scale).
    const int preferred = std::max(m_statsWidth, m_statsLabel->fontMetrics().horizontalAdvance(m_statsLabel->text()) +
                                                     2 * m_statsLabel->frameWidth() + 8);
    if (prompt.isEmpty() || !m_statsLabel->isVisible()) {
        m_statsLabel->setFixedWidth(preferred);
        return;
    }
    // The pane's right edge stays where it is, before the size grip: it gives way leftwards.
    m_statsLabel->setFixedWidth(StatsPaneWidth(m_statsLabel->geometry().right() + 1, promptWidth, preferred));
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitStatsPane();
}

void CMainFrame::cascadeWindows() {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_area->subWindowList(QMdiArea::StackingOrder)) {
        if (!window->isMinimized() && !window->isHidden()) {
            windows.append(window);
        }
    }
    const QSize area = m_area->viewport()->size();
    const int step = m_area->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_area);
    const std::vector<CascadeRect> rects =
        CascadeRects(static_cast<int>(windows.size()), area.width(), area.height(), step);
    for (qsizetype i = 0; i < windows.size(); ++i) {
        const CascadeRect& r = rects[static_cast<std::size_t>(i)];
        windows[i]->showNormal();
        windows[i]->setGeometry(r.x, r.y, r.width, r.height);
        windows[i]->raise(); // the stacking order stays, the active window in front
    }
}

void CMainFrame::serveFrameCommands() {
    QAction* toolbar = Action(ID_VIEW_TOOLBAR);
    QAction* statusbar = Action(ID_VIEW_STATUS_BAR);
    toolbar->setCheckable(true);
    statusbar->setCheckable(true);
    toolbar->setChecked(true);
    statusbar->setChecked(true);
    SetHandler(ID_VIEW_TOOLBAR, [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); });
    SetHandler(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    connect(m_toolBar, &QToolBar::visibilityChanged, toolbar, &QAction::setChecked);
    SetHandler(ID_WINDOW_CASCADE, [this] { cascadeWindows(); });
    SetHandler(ID_WINDOW_TILE_HORZ, [this] { m_area->tileSubWindows(); });
    SetHandler(ID_WINDOW_ARRANGE, [this] {
        // Only minimised windows are arranged: along the bottom edge, side by side.
        int x = 0;
        for (QMdiSubWindow* window : m_area->subWindowList()) {
            if (window->isMinimized()) {
                window->move(x, m_area->viewport()->height() - window->height());
                x += window->width();
            }
        }
    });
    SetHandler(ID_APP_EXIT, [this] { close(); });
}

void CMainFrame::SetHandler(int command, std::function<void()> handler) {
    m_handlers[command] = std::move(handler);
    UpdateCommands();
}

QAction* CMainFrame::Action(int command) const {
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

CChildFrame* CMainFrame::ActiveChild() const {
    // The current window stays current while a dialog or another program has the focus.
    return qobject_cast<CChildFrame*>(m_area->currentSubWindow());
}

CStirpexView* CMainFrame::ActiveView() const {
    const CChildFrame* child = ActiveChild();
    return child ? child->View() : nullptr;
}

bool CMainFrame::isEnabled(int command) const {
    const CommandInfo* info = FindCommand(command);
    if (info == nullptr) {
        return false;
    }
    switch (info->server) {
    case CommandServer::Application:
    case CommandServer::MainFrame:
    case CommandServer::Document:
        if (m_handlers.count(command) == 0) {
            return false;
        }
        return info->server != CommandServer::Document || ActiveChild() != nullptr;
    case CommandServer::View: {
        const CStirpexView* view = ActiveView();
        return view != nullptr && view->IsCommandEnabled(command);
    }
    case CommandServer::Nobody:
        return false;
    }
    return false;
}

void CMainFrame::UpdateCommands() {
    for (auto& [command, action] : m_actions) {
        action->setEnabled(isEnabled(command));
    }
}

bool CMainFrame::Trigger(int command) {
    if (isRecentFile(command)) {
        const auto i = static_cast<std::size_t>(command - ID_FILE_MRU_FILE1);
        if (i >= m_recentFiles.size()) {
            return false;
        }
        m_recentActions[i]->trigger();
        return true;
    }
    QAction* action = Action(command);
    if (action == nullptr || !isEnabled(command)) {
        return false;
    }
    action->trigger();
    return true;
}

void CMainFrame::runCommand(int command) {
    if (!isEnabled(command)) {
        return;
    }
    if (const auto handler = m_handlers.find(command); handler != m_handlers.end()) {
        handler->second();
    } else if (CStirpexView* view = ActiveView()) {
        view->RunCommand(command);
    }
    UpdateCommands();
}

void CMainFrame::SetStatsText(const QString& text) {
    m_statsLabel->setText(text);
    fitStatsPane();
    m_statsLabel->repaint();
}

QString CMainFrame::StatsText() const {
    return m_statsLabel->text();
}

void CMainFrame::SetRecentFiles(const std::vector<std::filesystem::path>& paths) {
    m_recentFiles = paths;
    for (std::size_t i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        const bool shown = i < paths.size();
        action->setVisible(shown);
        if (shown) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(DisplayName(paths[i])));
            action->setToolTip(DisplayPath(paths[i]));
        }
    }
    for (QAction* placeholder : findChildren<QAction*>(QStringLiteral("recentFilePlaceholder"))) {
        placeholder->setVisible(paths.empty());
    }
}

void CMainFrame::switchMenus() {
    const bool documents = ActiveChild() != nullptr;
    if (documents == m_showingDocumentMenus && !menuBar()->actions().isEmpty()) {
        return;
    }
    m_showingDocumentMenus = documents;
    menuBar()->clear();
    for (QMenu* menu : documents ? m_documentMenus : m_mainMenus) {
        menuBar()->addMenu(menu);
    }
}

void CMainFrame::fillWindowMenu() {
    for (QAction* action : m_windowListActions) {
        m_windowMenu->removeAction(action);
        delete action;
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> windows = m_area->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty()) {
        return;
    }
    m_windowListActions.push_back(m_windowMenu->addSeparator());
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QAction* action = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == m_area->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window] { m_area->setActiveSubWindow(window); });
        m_windowListActions.push_back(action);
    }
}

void CMainFrame::activeWindowChanged(QMdiSubWindow* window) {
    switchMenus();
    const CChildFrame* child = qobject_cast<CChildFrame*>(window);
    showTitleOf(child);
    if (CStirpexView* view = child ? child->View() : nullptr) {
        // A view reports when a paint has changed its person and so its commands.
        connect(view, &CStirpexView::commandsChanged, this, &CMainFrame::UpdateCommands, Qt::UniqueConnection);
        // A second window on the file, or the last but one closed, numbers this one anew.
        connect(view, &CStirpexView::captionChanged, this, &CMainFrame::captionChanged, Qt::UniqueConnection);
        view->viewport()->installEventFilter(this);
    }
    UpdateCommands();
}

// The file's name as the Window menu gives it, numbered while more than one window shows the file.
void CMainFrame::showTitleOf(const CChildFrame* child) {
    if (child == nullptr || child->View() == nullptr) {
        setWindowTitle(QStringLiteral("Stirpex"));
        return;
    }
    const std::string title =
        IsolateRightToLeft(NumberedTitle(child->Document().Title().toStdString(), child->View()->WindowNumber()));
    setWindowTitle(QStringLiteral("Stirpex - ") + QString::fromStdString(title));
}

void CMainFrame::captionChanged() {
    const CChildFrame* child = ActiveChild();
    if (child != nullptr && child->View() == sender()) {
        showTitleOf(child);
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        const int command = button == Qt::BackButton      ? MouseButtonCommandOf(MouseButton::Back)
                            : button == Qt::ForwardButton ? MouseButtonCommandOf(MouseButton::Forward)
                                                          : 0;
        if (command != 0) {
            Trigger(command);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    std::vector<std::filesystem::path> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(PathFromUrl(url));
        }
    }
    if (!paths.empty()) {
        event->acceptProposedAction();
        emit filesDropped(paths);
    }
}

} // namespace stirpex
