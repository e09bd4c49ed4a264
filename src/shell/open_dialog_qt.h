#pragma once

// The File Open dialog: it starts in the folder of the file opened last, and
// it is wide enough at its first size for the size, type and date columns of
// its detail view to show whole beside the names.

#include <QString>
#include <QUrl>

#include <memory>

class QFileDialog;
class QWidget;

namespace stirpex {

std::unique_ptr<QFileDialog> MakeOpenDialog(QWidget* parent, const QString& folder, const QString& filter);
// Runs the dialog; an empty URL when it is cancelled.
QUrl ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filter);

} // namespace stirpex
