#pragma once

// The application: start-up in its fixed order (tree icons, settings store
// and recent files, the documents, the main window, dropped files, one
// running instance, the .ged file type, the command line), and the
// application's own commands (New, Open, recent files, About, Print Setup).
// main() makes the QApplication and then one CStirpexApp.

#include "find/locale_collator_qt.h"
#include "page/stirpex_view.h"
#include "shell/message_box_qt.h"
#include "shell/recent_files.h"

#include <QIcon>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QUrl>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace stirpex {

class CChildFrame;
class CMainFrame;
class DocumentSet;
class MediaOpener;
class PagePrinting;
class RememberedFiles;
struct CommandLineInfo;
class SingleInstance;

// What start-up may be given instead of the real thing, so that tests can
// run the whole application in one process.
struct AppEnvironment {
    MessageSink* messages = nullptr;  // default: message boxes
    ProgressSink* progress = nullptr; // default: the progress window
    // default: the File Open dialog, starting in `folder`
    std::function<QUrl(const QString& filter, const QString& folder)> chooseFileToOpen;
    std::function<void(int)> exit; // default: end the process with that code
    bool singleInstance = true;    // hand files to a running instance
    bool registerFileTypes = true;
};

class CStirpexApp : public QObject {
    Q_OBJECT

public:
    // `arguments` are the program's arguments after its path, as the bytes the
    // system gave: a file name among them need not be UTF-8.
    explicit CStirpexApp(std::vector<std::string> arguments, AppEnvironment environment = {});
    ~CStirpexApp() override;

    // The start-up sequence; false when the program must end at once (its
    // exit code is then ExitCode()).
    bool InitInstance();
    int ExitCode() const noexcept { return m_exitCode; }

    CMainFrame& MainFrame() const noexcept { return *m_mainFrame; }
    DocumentSet& Documents() const noexcept { return *m_documents; }
    const std::array<QIcon, 3>& TreeIcons() const noexcept { return m_treeIcons; }
    const RecentFileList& RecentFiles() const noexcept { return m_recent; }

    void OnFileNew();
    void OnFileOpen();
    // Where File Open starts: the folder of the file opened last, in this run or an earlier one; empty for none.
    QString OpenFolder() const;
    bool OpenFile(const std::filesystem::path& path);
    bool OpenFile(const QString& path); // a name given as text, as any UTF-8 name can be

private:
    bool handledWithoutWindows(const CommandLineInfo& commandLine);
    void provideDialogs(MessageSink& messages);
    CChildFrame* frameOf(const CStirpexView& view) const;
    void openInNewWindow(const CStirpexView& view, const CPerson& person);
    void setHomePerson(const CStirpexView& view, const CPerson& person);
    void keepOpenWindows();
    bool printFromShell(const CommandLineInfo& commandLine);
    void createWindows(const CommandLineInfo& commandLine, MessageSink& messages);
    bool loadTreeIcons();
    void loadRecentFiles();
    void saveRecentFiles();
    void fileOpened(const std::filesystem::path& path);
    bool openFiles(const std::vector<std::string>& files);

    std::vector<std::string> m_arguments;
    AppEnvironment m_env;
    int m_exitCode = 0;
    std::array<QIcon, 3> m_treeIcons;
    QSettings m_settings;
    RecentFileList m_recent;
    std::unique_ptr<RememberedFiles> m_remembered;
    LocaleCollator m_collator;
    MessageBoxSink m_messageBoxes;
    std::unique_ptr<ProgressSink> m_progressWindows;
    ProgressSink* m_documentsProgress = nullptr; // the windows above, or the one the environment gives
    PageDialogs m_dialogs;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<DocumentSet> m_documents;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<PagePrinting> m_printing;
    std::unique_ptr<MediaOpener> m_media; // its temporary folder goes at exit
};

} // namespace stirpex
