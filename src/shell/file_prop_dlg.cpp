#include "shell/file_prop_dlg.h"

#include "page/stirpex_view.h"
#include "model/stirpex_doc.h"
#include "shell/accessible_texts_qt.h"
#include "shell/dialog_layout_qt.h"
#include "shell/reading_report_dlg.h"
#include "shell/open_gedcom_app.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace stirpex {
namespace {

// The window's size in dialog units of an 8-point dialog font, whose
// character cell is 6 by 13 pixels: 4 units across a character, 8 down.
constexpr int kWidth = 321 * 6 / 4;
constexpr int kHeight = 188 * 13 / 8;
constexpr int kPathMargin = 2;

QString fromModel(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QGridLayout* gridOf(QGroupBox* group) {
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    return grid;
}

} // namespace

CFilePropDlg::CFilePropDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("GEDCOM File Properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_groupHeader = new QGroupBox(QStringLiteral("GEDCOM properties"), this);
    m_groupPath = new QGroupBox(QStringLiteral("Full file path"), this);
    m_groupFile = new QGroupBox(QStringLiteral("File properties"), this);
    auto* header = gridOf(m_groupHeader);
    gridOf(m_groupFile);

    // The header's texts in two columns, the submitter across both below them.
    addValue(1012, m_groupHeader, 0, 0);
    addValue(1013, m_groupHeader, 1, 0);
    addValue(1018, m_groupHeader, 2, 0);
    addValue(1014, m_groupHeader, 3, 0, 2);
    addValue(1015, m_groupHeader, 0, 1);
    addValue(1016, m_groupHeader, 1, 1);
    addValue(1017, m_groupHeader, 2, 1);
    header->setColumnStretch(1, 1);
    header->setColumnStretch(3, 1);

    // A path is one long word: it breaks wherever a line is full, so that two lines hold as much as they can.
    m_editPath = new QPlainTextEdit(m_groupPath);
    m_editPath->setObjectName(QStringLiteral("value1019"));
    m_editPath->setReadOnly(true);
    m_editPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_editPath->setWordWrapMode(QTextOption::WrapAnywhere);
    m_editPath->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_editPath->setBackgroundRole(QPalette::Window);
    m_editPath->viewport()->setBackgroundRole(QPalette::Window);
    m_editPath->document()->setDocumentMargin(kPathMargin);
    m_editPath->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Two lines and not a pixel less, or the second line's descenders would scroll.
    m_editPath->setFixedHeight(2 * m_editPath->fontMetrics().lineSpacing() +
                               2 * (m_editPath->frameWidth() + kPathMargin) + 1);
    m_values[1019 - kFirstControl] = m_editPath;
    (new QVBoxLayout(m_groupPath))->addWidget(m_editPath);

    // The counts in two columns of three, in the order they are read.
    addValue(1024, m_groupFile, 0, 0);
    addValue(1020, m_groupFile, 1, 0);
    addValue(1021, m_groupFile, 2, 0);
    addValue(1022, m_groupFile, 0, 1);
    addValue(1023, m_groupFile, 1, 1);
    addValue(1025, m_groupFile, 2, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    m_btnReport = new QPushButton(QStringLiteral("&Reading Report..."), this);
    m_btnReport->setObjectName(QStringLiteral("report"));
    m_btnReport->setEnabled(false);
    connect(m_btnReport, &QPushButton::clicked, this, &CFilePropDlg::showReport);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_btnReport);
    buttons->addWidget(ok);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_groupFile);
    bottom->addStretch(1);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_groupHeader);
    layout->addWidget(m_groupPath);
    layout->addLayout(bottom);
    layout->addStretch(1);

    setFixedSize(QSize(kWidth, kHeight).expandedTo(sizeHint()));
    ok->setFocus();

    SetAccessibleTexts({
        {m_editPath, QStringLiteral("Full file path"),
         QStringLiteral("The whole path of the file, to select and copy")},
    });
}

CFilePropDlg::~CFilePropDlg() = default;

void CFilePropDlg::addValue(int controlId, QGroupBox* group, int row, int column, int span) {
    auto* label = new QLabel(group);
    label->setObjectName(QStringLiteral("label%1").arg(controlId));
    label->setTextFormat(Qt::PlainText);
    auto* value = new QLabel(group);
    value->setObjectName(QStringLiteral("value%1").arg(controlId));
    // Header texts come from the file: never read them as markup.
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Wide enough for the usual values; a longer one is cut at a bound instead of widening the
    // window past the screen, and can still be read whole in its tooltip or by selecting it.
    const int digit = value->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    value->setMinimumWidth(digit * 8);
    value->setMaximumWidth(digit * (span == 1 ? 30 : 72));

    // A screen reader then reads each value with its label, as the eye pairs them across the row.
    label->setBuddy(value);

    auto* grid = static_cast<QGridLayout*>(group->layout());
    grid->addWidget(label, row, column * 2);
    grid->addWidget(value, row, column * 2 + 1, 1, span * 2 - 1);
    const auto i = static_cast<std::size_t>(controlId - kFirstControl);
    m_labels[i] = label;
    m_values[i] = value;
}

void CFilePropDlg::SetValues(const FileProperties& properties) {
    for (const FileProperty& property : properties) {
        const QString text = QString::fromUtf8(property.label.data(), static_cast<qsizetype>(property.label.size()));
        const QString value = fromModel(property.value);
        if (property.controlId == 1019) {
            m_groupPath->setTitle(text);
            m_editPath->setPlainText(value);
            continue;
        }
        Label(property.controlId)->setText(text);
        auto* label = static_cast<QLabel*>(Value(property.controlId));
        label->setText(value);
        label->setToolTip(value);
        const Qt::Alignment side = property.alignment == PropertyAlignment::Right ? Qt::AlignRight : Qt::AlignLeft;
        label->setAlignment(side | Qt::AlignVCenter);
    }
    // Before the window is first shown its layouts do not hear of new texts: bring them up to date, inner first.
    for (QLayout* grid : {m_groupHeader->layout(), m_groupPath->layout(), m_groupFile->layout(), layout()}) {
        grid->invalidate();
        grid->activate();
    }
    setFixedSize(QSize(kWidth, kHeight).expandedTo(sizeHint()));
}

std::int32_t CFilePropDlg::ShowProperties(const CStirpexDoc& doc, const QString& title, const QString& fullPath) {
    m_doc = &doc;
    m_chosenPerson = -1;
    m_btnReport->setEnabled(true);
    SetValues(GetFileProperties(doc, title.toStdString(), fullPath.toStdString()));
    exec();
    return m_chosenPerson;
}

void CFilePropDlg::showReport() {
    if (!m_doc) {
        return;
    }
    ReadingReport report;
    {
        const WaitCursor wait; // a file of millions of records takes a moment to check
        report = MakeReadingReport(*m_doc);
    }
    CReadingReportDlg dialog(*m_doc, std::move(report), this);
    dialog.exec();
    if (dialog.ChosenPerson() >= 0) {
        m_chosenPerson = dialog.ChosenPerson();
        accept();
    }
}

const CPerson* ShowProperties(CStirpexView& view) {
    CFilePropDlg dialog(view.window());
    const CStirpexDoc& doc = view.GetDocument();
    const std::int32_t chosen = dialog.ShowProperties(doc, view.Document().Title(), view.Document().Path());
    return chosen >= 0 && chosen < doc.m_nPersons ? doc.m_ppPersons[static_cast<std::size_t>(chosen)].get() : nullptr;
}

} // namespace stirpex
