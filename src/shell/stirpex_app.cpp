#include "shell/stirpex_app.h"

#include "find/goto_dlg.h"
#include "find/name_list_dlg.h"
#include "find/search_dlg.h"
#include "charts/chart_frame.h"
#include "page/page_printer_qt.h"
#include "shell/about_dlg.h"
#include "shell/file_prop_dlg.h"
#include "story/story_dlg.h"
#include "trees/gedtree_dlg.h"
#include "trees/relationship_dlg.h"
#include "shell/child_frame.h"
#include "shell/command_line.h"
#include "shell/command_table.h"
#include "shell/document_set_app.h"
#include "shell/file_name_qt.h"
#include "shell/file_types.h"
#include "shell/main_frame.h"
#include "shell/media_opener_app.h"
#include "shell/open_dialog_qt.h"
#include "shell/open_gedcom_app.h"
#include "shell/progress_dlg.h"
#include "shell/remembered_files_app.h"
#include "shell/single_instance_app.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace stirpex {

namespace {

// Closing the main window while a file is read gives the read up, and ends
// the program once it has, also when the file came with the start and the
// program's own event loop has not begun.
class CancelLoadOnClose final : public QObject {
public:
    CancelLoadOnClose(DocumentSet& documents, QObject* parent) : QObject(parent), m_documents(&documents) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close && m_documents && m_documents->Loading()) {
            m_documents->CancelLoad();
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPointer<DocumentSet> m_documents; // goes before the main window
};

const QString kRecentKey = QStringLiteral("Recent File List/Files");
// The folder of the file opened last, where File Open starts.
const QString kOpenFolderKey = QStringLiteral("File Open/Folder");

bool runDetached(const std::vector<std::string>& command) {
    if (command.empty()) {
        return false;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i) {
        arguments.append(QString::fromStdString(command[i]));
    }
    return QProcess::startDetached(QString::fromStdString(command.front()), arguments);
}

std::vector<FileTypeIcon> iconSizes(const QString& stem) {
    std::vector<FileTypeIcon> icons;
    for (const int size : {16, 32, 48, 256}) {
        QFile file(QStringLiteral("%1-%2.png").arg(stem).arg(size));
        if (file.open(QIODevice::ReadOnly)) {
            icons.push_back({size, file.readAll().toStdString()});
        }
    }
    return icons;
}

// What the desktop needs to open and print .ged files with this program.
FileTypeRegistration desktopRegistration() {
    FileTypeRegistration registration;
    registration.dataHome = UserDataHome();
    registration.dataDirs = SystemDataDirs();
    registration.programPath = QCoreApplication::applicationFilePath().toStdString();
    registration.appIcons = iconSizes(QStringLiteral(":/app/stirpex"));
    registration.documentIcons = iconSizes(QStringLiteral(":/app/document"));
    for (const QString& printer : QPrinterInfo::availablePrinterNames()) {
        registration.printers.push_back(printer.toStdString());
    }
    return registration;
}

} // namespace

CStirpexApp::CStirpexApp(std::vector<std::string> arguments, AppEnvironment environment)
    : m_arguments(std::move(arguments)), m_env(std::move(environment)),
      m_settings(QStringLiteral("Tessel Forge"), QStringLiteral("Stirpex")) {}

CStirpexApp::~CStirpexApp() {
    keepOpenWindows();
    // Windows go before the documents they show, and both before the services they use.
    m_documents.reset();
    m_mainFrame.reset();
}

bool CStirpexApp::InitInstance() {
    const CommandLineInfo commandLine = ParseCommandLine(m_arguments);
    if (handledWithoutWindows(commandLine)) {
        return false;
    }

    MessageSink& messages = m_env.messages ? *m_env.messages : m_messageBoxes;
    if (!loadTreeIcons()) {
        messages.Show("Can't load icon");
    }
    loadRecentFiles();
    m_remembered = std::make_unique<RememberedFiles>(m_settings);
    provideDialogs(messages);
    createWindows(commandLine, messages);
    if (commandLine.command == ShellCommand::FilePrint || commandLine.command == ShellCommand::FilePrintTo) {
        m_exitCode = printFromShell(commandLine) ? 0 : 1;
        return false;
    }

    if (m_env.singleInstance) {
        m_instance = std::make_unique<SingleInstance>();
        std::vector<std::filesystem::path> handed;
        for (const std::string& file : commandLine.files) {
            handed.push_back(DocumentKey(std::filesystem::path(file)));
        }
        if (m_instance->TryHandOff(handed)) {
            return false; // the running instance shows the files
        }
        connect(m_instance.get(), &SingleInstance::openRequested, this,
                [this](const std::filesystem::path& path) { OpenFile(path); });
        connect(m_instance.get(), &SingleInstance::activateRequested, this, [this] {
            m_mainFrame->showNormal();
            m_mainFrame->raise();
            m_mainFrame->activateWindow();
        });
        m_instance->Listen();
    }
    if (m_env.registerFileTypes) {
        // A desktop without the folders still runs the viewer; the type is registered on a later start.
        // An installed program leaves it to its package.
        RegisterFileTypes(desktopRegistration(), runDetached);
    }

    if (commandLine.command == ShellCommand::FileOpen && !openFiles(commandLine.files)) {
        m_exitCode = 1;
        return false;
    }
    m_mainFrame->show();
    return true;
}

// Help, version, a bad flag and the file-type flags need no window.
bool CStirpexApp::handledWithoutWindows(const CommandLineInfo& commandLine) {
    if (const std::optional<int> code = AnswerWithoutWindow(commandLine, stdout, stderr)) {
        m_exitCode = *code;
        return true;
    }
    switch (commandLine.command) {
    case ShellCommand::AppRegister:
    case ShellCommand::AppUnregister: {
        const FileTypeResult result = commandLine.command == ShellCommand::AppRegister
                                          ? RegisterFileTypes(desktopRegistration(), runDetached)
                                          : UnregisterFileTypes(UserDataHome(), runDetached);
        if (!result.ok) {
            std::fprintf(stderr, "stirpex: %s\n", result.error.c_str());
        } else if (!result.installedEntry.empty()) {
            std::printf("stirpex: installed as %s; nothing is registered for this user\n",
                        result.installedEntry.c_str());
        }
        m_exitCode = result.ok ? 0 : 1;
        return true;
    }
    default:
        return false;
    }
}

// The page's dialogs, each made for one showing (the name list lives with its document).
void CStirpexApp::provideDialogs(MessageSink& messages) {
    m_printing = std::make_unique<PagePrinting>(messages);
    m_dialogs.print = [this](CStirpexView& view, int command) { m_printing->RunCommand(view, command); };
    m_dialogs.story = [](CStirpexView& view, const StoryRequest& request) { ShowStory(view, request); };
    m_dialogs.properties = [](CStirpexView& view) { return ShowProperties(view); };
    m_dialogs.relationship = [](CStirpexView& view) { return ShowRelationship(view, view.Document().HomePerson()); };
    // Search, as Find and the relationships do by asking for the index, waits while the index is built.
    m_dialogs.search = [this](CStirpexView& view) {
        view.Document().AwaitIndex();
        return ShowSearch(view, m_collator);
    };
    m_dialogs.goTo = [](CStirpexView& view) { return ShowGoTo(view); };
    m_dialogs.find = [this](CStirpexView& view) { ShowNameList(view, m_documentsProgress); };
    m_dialogs.tree = [this, sink = &messages](CStirpexView& view, int treeKind) {
        return ShowTreeDialog(view, treeKind, m_treeIcons, sink);
    };
    m_media = std::make_unique<MediaOpener>(messages);
    m_dialogs.media = [this](CStirpexView& view, const CExtObj& object) { m_media->Open(view, object); };
    m_dialogs.newWindow = [this](CStirpexView& view, const CPerson& person) { openInNewWindow(view, person); };
    m_dialogs.chart = [](CStirpexView& view, int command) { OpenChart(view, command); };
    m_dialogs.setHome = [this](CStirpexView& view, const CPerson& person) { setHomePerson(view, person); };
}

CChildFrame* CStirpexApp::frameOf(const CStirpexView& view) const {
    for (QMdiSubWindow* window : m_mainFrame->MdiArea().subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame != nullptr && frame->View() == &view) {
            return frame;
        }
    }
    return nullptr;
}

// Window > New Window on the view's document, starting at `person` instead of the document's start person.
void CStirpexApp::openInNewWindow(const CStirpexView& view, const CPerson& person) {
    if (const CChildFrame* frame = frameOf(view)) {
        if (CChildFrame* added = m_documents->NewWindow(*frame)) {
            added->View()->StartAt(person);
        }
    }
}

// Every window on the file shows the new home line; the file keeps its home person for later runs.
void CStirpexApp::setHomePerson(const CStirpexView& view, const CPerson& person) {
    const CChildFrame* frame = frameOf(view);
    if (frame == nullptr) {
        return;
    }
    OpenGedcom& document = frame->Document();
    document.SetHomePerson(&person);
    m_remembered->Keep(*frame);
    for (QMdiSubWindow* window : m_mainFrame->MdiArea().subWindowList()) {
        const auto* other = qobject_cast<CChildFrame*>(window);
        if (other != nullptr && &other->Document() == &document) {
            other->View()->viewport()->update();
        }
    }
}

// The window used last is kept last, so that its page is the one its file reopens on.
void CStirpexApp::keepOpenWindows() {
    if (!m_mainFrame || !m_remembered) {
        return;
    }
    for (QMdiSubWindow* window : m_mainFrame->MdiArea().subWindowList(QMdiArea::ActivationHistoryOrder)) {
        if (const auto* frame = qobject_cast<CChildFrame*>(window)) {
            m_remembered->Keep(*frame);
        }
    }
}

// The shell's print verbs: the start page of the file, on the current or the named printer, and no window.
bool CStirpexApp::printFromShell(const CommandLineInfo& commandLine) {
    const std::filesystem::path path(commandLine.file);
    if (!OpenFile(path)) {
        return false;
    }
    const OpenGedcom* document = m_documents->Find(path);
    if (document == nullptr) {
        return false;
    }
    return commandLine.command == ShellCommand::FilePrintTo
               ? m_printing->PrintFile(document->Doc(), QString::fromStdString(commandLine.printer))
               : m_printing->PrintFile(document->Doc());
}

void CStirpexApp::createWindows(const CommandLineInfo& commandLine, MessageSink& messages) {
    m_mainFrame = std::make_unique<CMainFrame>();
    m_messageBoxes.SetParent(m_mainFrame.get());
    if (!m_env.progress) {
        m_progressWindows = std::make_unique<ProgressWindowSink>();
    }
    LoadServices services;
    services.progress = m_env.progress ? m_env.progress : m_progressWindows.get();
    m_documentsProgress = services.progress;
    services.messages = &messages;
    services.collator = &m_collator;
    services.argumentText = commandLine.argumentText;
    services.exit = m_env.exit ? m_env.exit : [](int code) { std::exit(code); };
    m_documents = std::make_unique<DocumentSet>(m_mainFrame->MdiArea(), std::move(services), m_dialogs);

    CMainFrame& frame = *m_mainFrame;
    frame.installEventFilter(new CancelLoadOnClose(*m_documents, &frame));
    connect(m_documents.get(), &DocumentSet::statisticsChanged, &frame, &CMainFrame::SetStatsText);
    connect(m_documents.get(), &DocumentSet::opened, this, &CStirpexApp::fileOpened);
    connect(m_documents.get(), &DocumentSet::documentRead, this,
            [this](CChildFrame* frame) { m_remembered->Restore(*frame); });
    connect(m_documents.get(), &DocumentSet::windowClosing, this,
            [this](CChildFrame* frame) { m_remembered->Keep(*frame); });
    connect(&frame, &CMainFrame::recentFileChosen, this, [this](const std::filesystem::path& path) { OpenFile(path); });
    connect(&frame, &CMainFrame::filesDropped, this, [this](const std::vector<std::filesystem::path>& paths) {
        for (const std::filesystem::path& path : paths) {
            OpenFile(path);
        }
    });
    frame.SetHandler(ID_FILE_NEW, [this] { OnFileNew(); });
    frame.SetHandler(ID_FILE_OPEN, [this] { OnFileOpen(); });
    frame.SetHandler(ID_FILE_CLOSE, [this] {
        if (const CChildFrame* child = m_mainFrame->ActiveChild()) {
            m_documents->CloseDocument(*child);
        }
    });
    frame.SetHandler(ID_APP_ABOUT, [this, sink = &messages] { ShowAbout(m_mainFrame.get(), sink); });
    frame.SetHandler(ID_FILE_PRINT_SETUP, [this] { m_printing->PrintSetup(m_mainFrame.get()); });
    frame.SetHandler(ID_WINDOW_NEW, [this] {
        if (const CChildFrame* child = m_mainFrame->ActiveChild()) {
            m_documents->NewWindow(*child);
        }
    });
    saveRecentFiles();
}

bool CStirpexApp::loadTreeIcons() {
    const QString names[] = {QStringLiteral(":/tree/partner.png"), QStringLiteral(":/tree/male.png"),
                             QStringLiteral(":/tree/female.png")};
    bool all = true;
    for (std::size_t i = 0; i < m_treeIcons.size(); ++i) {
        m_treeIcons[i] = QIcon(names[i]);
        all = all && !m_treeIcons[i].availableSizes().isEmpty();
    }
    return all;
}

void CStirpexApp::loadRecentFiles() {
    const QVariant value = m_settings.value(kRecentKey);
    // The store gives one entry back as a single value, not as a list of one.
    const bool single = value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
    std::vector<std::string> stored;
    for (const QVariant& entry : single ? QVariantList{value} : value.toList()) {
        stored.push_back(PathFromStored(entry).native());
    }
    m_recent = RecentFileList(std::move(stored));
}

void CStirpexApp::saveRecentFiles() {
    std::vector<std::filesystem::path> paths;
    QVariantList stored;
    for (const std::string& entry : m_recent.Entries()) {
        paths.emplace_back(entry);
        stored.append(StoredPath(paths.back()));
    }
    m_settings.setValue(kRecentKey, stored);
    m_settings.sync();
    if (m_mainFrame) {
        m_mainFrame->SetRecentFiles(paths);
    }
}

void CStirpexApp::fileOpened(const std::filesystem::path& path) {
    m_recent.Add(path.native());
    saveRecentFiles();
    m_settings.setValue(kOpenFolderKey, StoredPath(std::filesystem::absolute(path).parent_path()));
}

QString CStirpexApp::OpenFolder() const {
    const std::filesystem::path folder = PathFromStored(m_settings.value(kOpenFolderKey));
    return folder.empty() ? QString() : DisplayPath(folder);
}

bool CStirpexApp::OpenFile(const std::filesystem::path& path) {
    return m_documents->OpenDocumentFile(path);
}

// Each file its own document; start-up ends only when none of them opened
// (each failure has shown its message).
bool CStirpexApp::openFiles(const std::vector<std::string>& files) {
    bool opened = false;
    for (const std::string& file : files) {
        opened = OpenFile(std::filesystem::path(file)) || opened;
    }
    return opened;
}

bool CStirpexApp::OpenFile(const QString& path) {
    return OpenFile(PathFromText(path));
}

void CStirpexApp::OnFileNew() {
    // A document exists only for a file: a new, empty one is refused and nothing opens.
}

void CStirpexApp::OnFileOpen() {
    // A URL, not a name as text: a dialog of the desktop's gives the name's bytes in it even when they are not UTF-8.
    // Plain files and archives in one filter: which a family comes in is seldom known.
    const QString filter = QStringLiteral("Gedcom Files (*.ged *.gdz)");
    const QUrl chosen = m_env.chooseFileToOpen ? m_env.chooseFileToOpen(filter, OpenFolder())
                                               : ChooseFileToOpen(m_mainFrame.get(), OpenFolder(), filter);
    const std::filesystem::path path = PathFromUrl(chosen);
    if (!path.empty()) {
        OpenFile(path);
    }
}

} // namespace stirpex
