// stirpex: the desktop viewer.

#include "shell/about_dlg.h"
#include "shell/command_line.h"
#include "shell/stirpex_app.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Answered before Qt looks for a display, so that they work without one (over ssh, in scripts).
    if (const auto code = stirpex::AnswerWithoutWindow(stirpex::ParseCommandLine(argc, argv), stdout, stderr)) {
        return *code;
    }
    QApplication application(argc, argv);
    stirpex::SetApplicationRecord();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    stirpex::CStirpexApp app(arguments);
    if (!app.InitInstance()) {
        return app.ExitCode();
    }
    return QApplication::exec();
}
