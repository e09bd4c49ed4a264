#include "find/goto_dlg.h"

#include "find/go_to.h"
#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/accessible_texts_qt.h"
#include "shell/dialog_layout_qt.h"
#include "shell/open_gedcom_app.h"

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace stirpex {
namespace {

// Never smaller than the control needs to show its text in the font it is given.
void place(QWidget& control, const QRect& rect) {
    const QSize hint = control.sizeHint();
    control.setGeometry(rect.x(), rect.y(), std::max(rect.width(), hint.width()),
                        std::max(rect.height(), hint.height()));
}

} // namespace

CGoToDlg::CGoToDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Go to a person by ID reference"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* label = new QLabel(QStringLiteral("Go to this ID"), this);
    label->setObjectName(QStringLiteral("idLabel"));
    m_editID = new QLineEdit(this);
    m_editID->setObjectName(QStringLiteral("idEdit"));
    label->setBuddy(m_editID);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(ok, &QPushButton::clicked, this, &CGoToDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Each control keeps its gap to the one above it however tall the style makes that one.
    place(*label, DialogUnitsRect(7, 7, 68, 9));
    QRect edit = DialogUnitsRect(7, 22, 70, 12);
    edit.moveTop(std::max(edit.top(), label->geometry().bottom() + 1 + DialogUnitsY(6)));
    place(*m_editID, edit);
    place(*ok, DialogUnitsRect(129, 7, 50, 14));
    QRect below = DialogUnitsRect(129, 24, 50, 14);
    below.moveTop(std::max(below.top(), ok->geometry().bottom() + 1 + DialogUnitsY(3)));
    place(*cancel, below);

    // The template's size, or more with a margin of 7 units where the controls or the title need it.
    int right = std::max(DialogUnitsX(186), TitleBarWidth(*this));
    int bottom = DialogUnitsY(46);
    for (const QWidget* control : {static_cast<QWidget*>(label), static_cast<QWidget*>(m_editID),
                                   static_cast<QWidget*>(ok), static_cast<QWidget*>(cancel)}) {
        right = std::max(right, control->geometry().right() + 1 + DialogUnitsX(7));
        bottom = std::max(bottom, control->geometry().bottom() + 1 + DialogUnitsY(7));
    }
    // A title wider than the template widens the dialog: the buttons keep the right margin the field keeps on
    // the left, and the field keeps its gap to them, instead of a wide empty strip right of the buttons.
    const int spare = right - DialogUnitsX(7) - 1 - std::max(ok->geometry().right(), cancel->geometry().right());
    if (spare > 0) {
        ok->move(ok->x() + spare, ok->y());
        cancel->move(cancel->x() + spare, cancel->y());
        m_editID->resize(m_editID->width() + spare, m_editID->height());
    }
    m_templateSize = QSize(right, bottom);
    setFixedSize(m_templateSize);

    // Below everything, across the dialog; the dialog grows to show it.
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("idMessage"));
    m_message->setWordWrap(true);
    m_message->setForegroundRole(QPalette::BrightText);
    QPalette palette = m_message->palette();
    palette.setColor(QPalette::BrightText, QColor(0xa0, 0x10, 0x10));
    m_message->setPalette(palette);
    m_message->hide();
    // A new key clears the message about the last one.
    connect(m_editID, &QLineEdit::textEdited, m_message, &QLabel::hide);
    m_editID->setFocus();

    SetAccessibleTexts({
        {m_editID,
         {}, // named by its label, its buddy
         QStringLiteral("A person's identifier as the file writes it between at-signs, such as I1")},
    });
}

CGoToDlg::~CGoToDlg() = default;

int CGoToDlg::ShowGoTo(CStirpexDoc& doc) {
    m_pDoc = &doc;
    return exec();
}

void CGoToDlg::OnOK() {
    if (m_pDoc != nullptr) {
        // Exactly as typed: blanks count, and the exact case goes first.
        const QString typed = m_editID->text();
        if (AcceptGoTo(*m_pDoc, typed.toStdString()) == nullptr) {
            showMessage(QStringLiteral("No person has the identifier \"%1\".").arg(typed));
            m_editID->selectAll();
            m_editID->setFocus();
            return;
        }
    }
    QDialog::accept();
}

void CGoToDlg::showMessage(const QString& text) {
    const int margin = DialogUnitsX(7);
    m_message->setText(text);
    const int width = m_templateSize.width() - 2 * margin;
    const int top = m_templateSize.height() - DialogUnitsY(4);
    m_message->setGeometry(margin, top, width, m_message->heightForWidth(width));
    m_message->show();
    setFixedSize(m_templateSize.width(), m_message->geometry().bottom() + 1 + DialogUnitsY(7));
}

bool ShowGoTo(CStirpexView& view) {
    CGoToDlg dialog(view.window());
    return dialog.ShowGoTo(view.Document().Doc()) == QDialog::Accepted;
}

} // namespace stirpex
