#include "shell/message_box_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace stirpex {

void MessageBoxSink::Show(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Stirpex"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, m_parent);
    // A wait cursor set around a long loop must not hide the pointer from the button.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
}

} // namespace stirpex
