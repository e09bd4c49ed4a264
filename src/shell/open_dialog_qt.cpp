#include "shell/open_dialog_qt.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeView>

#include <memory>

namespace stirpex {

namespace {

// Room for a file name of about forty characters beside the other columns.
constexpr int kNameColumnCharacters = 40;

// Widens the dialog by what the detail view's columns lack at its first size.
void fitColumns(QFileDialog& dialog) {
    auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (details == nullptr) {
        return; // a dialog of the desktop's own lays itself out
    }
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    int needed = dialog.fontMetrics().averageCharWidth() * kNameColumnCharacters;
    for (int column = 1; column < header->count(); ++column) {
        details->resizeColumnToContents(column); // the wider of its title and its entries
        needed += header->sectionSize(column);
    }
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    const int lacking = needed + details->verticalScrollBar()->sizeHint().width() + 2 * details->frameWidth() -
                        details->viewport()->width();
    if (lacking > 0) {
        dialog.resize(dialog.width() + lacking, dialog.height());
    }
}

} // namespace

std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent, const QString& folder, const QString& filter) {
    auto dialog = std::make_unique<QFileDialog>(parent, QString(), folder, filter);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setViewMode(QFileDialog::Detail);
    dialog->adjustSize();
    fitColumns(*dialog);
    // The dates and sizes are known once the folder is read, which happens after the dialog is made; fitted once,
    // the user's own resizing stands.
    if (auto* files = dialog->findChild<QFileSystemModel*>()) {
        auto fitted = std::make_shared<QMetaObject::Connection>();
        *fitted =
            QObject::connect(files, &QFileSystemModel::directoryLoaded, dialog.get(), [target = dialog.get(), fitted] {
                QObject::disconnect(*fitted);
                fitColumns(*target);
            });
    }
    return dialog;
}

QUrl ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filter) {
    const std::unique_ptr<QFileDialog> dialog = MakeOpenDialog(parent, folder, filter);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedUrls().isEmpty()) {
        return {};
    }
    return dialog->selectedUrls().front();
}

} // namespace stirpex
