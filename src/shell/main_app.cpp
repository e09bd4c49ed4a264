// stirpex: the desktop viewer.

#include "shell/about_dlg.h"
#include "shell/stirpex_app.h"

#include <QApplication>

int main(int argc, char** argv) {
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
