// stirpex: the desktop viewer.

#include "shell/about_dlg.h"
#include "shell/command_line.h"
#include "shell/stirpex_app.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // Answered before Qt looks for a display, so that they work without one (over ssh, in scripts).
    if (const auto code = stirpex::AnswerWithoutWindow(stirpex::ParseCommandLine(argc, argv), stdout, stderr)) {
        return *code;
    }
    QApplication application(argc, argv); // takes out the arguments meant for Qt itself
    stirpex::SetApplicationRecord();
    // The bytes as given: decoded to text, a file name that is not UTF-8 would no longer name its file.
    stirpex::CStirpexApp app(std::vector<std::string>(argv + 1, argv + argc));
    if (!app.InitInstance()) {
        return app.ExitCode();
    }
    return QApplication::exec();
}
