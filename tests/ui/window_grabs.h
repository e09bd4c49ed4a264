#pragma once

// Grabs of the windows a user meets first, written for a person to look at
// (clipped or overlapping text, blurred icons): the page, the tree dialog
// with its icons, the name list with an Arabic name, the go-to, search and
// file properties dialogs and the status bar with a long prompt. The window
// tests at one and at two pixels to the point both write them, each into a
// folder of its own.

#include "find/goto_dlg.h"
#include "find/locale_collator_qt.h"
#include "find/name_list_dlg.h"
#include "find/search_dlg.h"
#include "page/stirpex_view.h"
#include "shell/command_table.h"
#include "shell/file_prop_dlg.h"
#include "shell/main_frame.h"
#include "shell/open_gedcom_app.h"
#include "trees/gedtree_dlg.h"
#include "page_windows.h"

#include <QAction>
#include <QLineEdit>
#include <QDir>
#include <QStatusBar>
#include <QtTest>

#include <array>
#include <functional>

namespace stirpex::test {

class WindowGrabs {
public:
    explicit WindowGrabs(const QString& folder) : m_folder(QStringLiteral(STIRPEX_UI_OUTPUT_DIR "/") + folder) {
        QDir().mkpath(m_folder);
        m_icons = {QIcon(QStringLiteral(":/tree/partner.png")), QIcon(QStringLiteral(":/tree/male.png")),
                   QIcon(QStringLiteral(":/tree/female.png"))};
        m_dialogs.find = [](CStirpexView& page) { ShowNameList(page, nullptr); };
        m_dialogs.tree = [this](CStirpexView& page, int kind) { return ShowTreeDialog(page, kind, m_icons, nullptr); };
        m_dialogs.goTo = [](CStirpexView& page) { return ShowGoTo(page); };
        m_dialogs.search = [this](CStirpexView& page) { return ShowSearch(page, m_collator); };
        m_dialogs.properties = [](CStirpexView& page) { return ShowProperties(page); };
    }

    // Writes every grab; false with the first that could not be made.
    bool GrabAll() {
        PageWindows windows(m_dialogs);
        if (!windows.Open() || !save(windows.Frame().grab(), "page.png")) {
            return false;
        }
        QAction* about = windows.Frame().Action(ID_APP_ABOUT);
        about->showStatusText(&windows.Frame());
        // The panes move over once the bar has laid itself out again, as after the pointer's next move.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        if (!save(windows.Frame().statusBar()->grab(), "status_bar.png")) {
            return false;
        }
        const bool tree = grabModal(windows, ID_VIEW_DESCENDANTS, "tree_dialog.png");
        const bool goTo = grabModal(windows, ID_EDIT_GOTO, "goto_dialog.png");
        // With people found, whose columns must show their names, years and places.
        const bool search = grabModal(windows, ID_EDIT_SEARCH, "search_dialog.png", [](QWidget& dialog) {
            auto& searching = static_cast<CSearchDlg&>(dialog);
            searching.m_editSurname->setText(QStringLiteral("Harrow"));
            searching.OnSearch();
        });
        const bool properties = grabModal(windows, ID_FILE_PROPERTIES, "properties_dialog.png");
        if (!tree || !goTo || !search || !properties ||
            !windows.Documents().OpenDocumentFile(QStringLiteral(STIRPEX_TEST_DATA_DIR "/right_to_left_names.ged"))) {
            return false;
        }
        if (!QTest::qWaitFor([&] { return !windows.View().Page().m_bFirstDraw; }) ||
            !windows.Frame().Trigger(ID_EDIT_FIND)) {
            return false;
        }
        CNameListDlg& list = windows.View().Document().NameList();
        const bool shown = QTest::qWaitForWindowExposed(&list) && save(list.grab(), "name_list.png");
        list.hide();
        return shown;
    }

    const std::array<QIcon, 3>& Icons() const noexcept { return m_icons; }

private:
    bool save(const QPixmap& pixmap, const char* name) const {
        return !pixmap.isNull() && pixmap.save(m_folder + QLatin1Char('/') + QString::fromUtf8(name));
    }

    // Runs the command and grabs the dialog it opens, from inside its modal loop, once `fill` has filled it in.
    bool grabModal(PageWindows& windows, int command, const char* name,
                   const std::function<void(QWidget&)>& fill = {}) {
        bool saved = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr) {
                return;
            }
            if (fill) {
                fill(*dialog);
            }
            saved = QTest::qWaitForWindowExposed(dialog) && save(dialog->grab(), name);
            dialog->close();
        });
        windows.Frame().Trigger(command);
        return saved;
    }

    QString m_folder;
    LocaleCollator m_collator;
    std::array<QIcon, 3> m_icons;
    PageDialogs m_dialogs;
};

} // namespace stirpex::test
