// Grabs the main window showing a GEDCOM file to a PNG: the screenshot that
// the package installs and that the software centre's metadata names. The
// real application starts as the window tests start it, without the
// single-instance socket or the file-type registration, and with its settings
// in a temporary folder (no recent files, no file reopening where the user
// left it), so that taking the picture neither changes nor reads anything of
// the machine's; run it offscreen:
//
//   QT_QPA_PLATFORM=offscreen stirpex-screenshot samples/harrow_family.ged shot.png

#include "gedcom/load_sinks.h"
#include "page/stirpex_view.h"
#include "shell/about_dlg.h"
#include "shell/main_frame.h"
#include "shell/stirpex_app.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

namespace {

// The size of the picture: wide enough for the page's two columns.
constexpr int kWidth = 960;
constexpr int kHeight = 680;

class StderrMessages final : public stirpex::MessageSink {
public:
    void Show(std::string_view text) override {
        std::fprintf(stderr, "stirpex-screenshot: %.*s\n", static_cast<int>(text.size()), text.data());
        shown = true;
    }
    bool shown = false;
};

// Lets the window lay itself out and paint the page once; false when it never does.
bool waitForFirstPaint(const stirpex::CMainFrame& frame) {
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        const stirpex::CStirpexView* view = frame.ActiveView();
        if (view != nullptr && !view->Page().m_bFirstDraw) {
            return true;
        }
    }
    return false;
}

int take(const std::string& file, const QString& output) {
    StderrMessages messages;
    stirpex::AppEnvironment environment;
    environment.messages = &messages;
    environment.singleInstance = false;
    environment.registerFileTypes = false;
    environment.exit = [](int code) { std::exit(code); };
    stirpex::CStirpexApp app({file}, environment);
    if (!app.InitInstance()) {
        return 1;
    }
    stirpex::CMainFrame& frame = app.MainFrame();
    frame.resize(kWidth, kHeight);
    if (QMdiSubWindow* child = frame.MdiArea().activeSubWindow()) {
        child->showMaximized();
    }
    if (!waitForFirstPaint(frame) || messages.shown) {
        std::fprintf(stderr, "stirpex-screenshot: the page of %s was not shown\n", file.c_str());
        return 1;
    }
    if (!frame.grab().save(output, "PNG")) {
        std::fprintf(stderr, "stirpex-screenshot: cannot write %s\n", qPrintable(output));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fputs("usage: stirpex-screenshot FILE.ged OUTPUT.png\n", stderr);
        return 2;
    }
    stirpex::SetApplicationRecord();
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    return take(argv[1], QString::fromLocal8Bit(argv[2]));
}
