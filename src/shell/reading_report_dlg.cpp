#include "shell/reading_report_dlg.h"

#include "model/stirpex_doc.h"
#include "shell/accessible_texts_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace stirpex {
namespace {

constexpr int kPersonRole = Qt::UserRole;

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString linesText(const LineSample& sample) {
    QStringList lines;
    for (const std::int64_t line : sample.firstLines) {
        lines << QString::number(line);
    }
    if (lines.isEmpty()) {
        return {};
    }
    const bool more = static_cast<std::int64_t>(sample.firstLines.size()) < sample.count;
    return (lines.size() == 1 ? QStringLiteral(" (line %1)") : QStringLiteral(" (lines %1)"))
        .arg(lines.join(QStringLiteral(", ")) + (more ? QStringLiteral(", \u2026") : QString()));
}

QString countText(std::int64_t count) {
    return count == 0 ? QStringLiteral("none") : QString::number(count);
}

} // namespace

CReadingReportDlg::CReadingReportDlg(const CStirpexDoc& doc, ReadingReport report, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_report(std::move(report)) {
    setWindowTitle(QStringLiteral("Reading Report"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("report"));
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { choose(item); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copy"));
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, [this] { copyAll(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    fill();
    resize(QSize(560, 420).expandedTo(sizeHint()));

    SetAccessibleTexts({
        {m_tree, QStringLiteral("Reading report"),
         QStringLiteral("What the reader did with the file; Enter or a double click on a person's record shows the "
                        "person's page")},
    });
}

QTreeWidgetItem* CReadingReportDlg::section(const QString& text) {
    auto* item = new QTreeWidgetItem(m_tree, QStringList{text});
    item->setExpanded(true);
    return item;
}

void CReadingReportDlg::addRecordItem(QTreeWidgetItem* parent, const QString& text, const RecordRef& record) {
    auto* item = new QTreeWidgetItem(parent, QStringList{text});
    const CPerson* person = nullptr;
    if (record.kind == RecordKind::Individual && record.index >= 0 && record.index < m_doc.m_nPersons) {
        person = m_doc.m_ppPersons[static_cast<std::size_t>(record.index)].get();
    }
    if (person) {
        item->setData(0, kPersonRole, static_cast<int>(record.index));
        item->setText(0, text + QStringLiteral(" \u2014 ") + fromModel(person->GetDisplayName()));
        item->setToolTip(0, QStringLiteral("Open this person's page"));
    }
}

void CReadingReportDlg::fill() {
    const ReadingReport& r = m_report;
    QString encoding = r.encoding.empty() ? QStringLiteral("unknown") : fromModel(r.encoding);
    if (!r.encodingReason.empty()) {
        encoding += QStringLiteral(" (%1)").arg(fromModel(r.encodingReason));
    }
    section(QStringLiteral("Encoding: %1").arg(encoding));
    section(QStringLiteral("GEDCOM version: %1")
                .arg(r.gedcomVersion.empty() ? QStringLiteral("not stated") : fromModel(r.gedcomVersion)));

    QTreeWidgetItem* skipped = section(QStringLiteral("Lines not understood: %1").arg(countText(r.skippedLines)));
    for (const SkippedTag& tag : r.skipped) {
        const QString name = tag.tag.empty() ? QStringLiteral("(no level number)") : fromModel(tag.tag);
        new QTreeWidgetItem(skipped,
                            {name + QStringLiteral(": ") + QString::number(tag.lines.count) + linesText(tag.lines)});
    }

    QTreeWidgetItem* missing = section(QStringLiteral("Pointers naming no record: %1").arg(countText(r.missingTotal)));
    for (const MissingPointer& pointer : r.missing) {
        const QString text = QStringLiteral("%1 @%2@: %3 @%4@")
                                 .arg(fromModel(RecordKindName(pointer.from.kind)), fromModel(pointer.from.key),
                                      fromModel(pointer.tag), fromModel(pointer.key));
        addRecordItem(missing, text, pointer.from);
    }

    QTreeWidgetItem* duplicates = section(QStringLiteral("Duplicate identifiers: %1").arg(countText(r.duplicateTotal)));
    for (const DuplicateId& duplicate : r.duplicates) {
        auto* item = new QTreeWidgetItem(duplicates,
                                         {QStringLiteral("%1 @%2@: %3 records")
                                              .arg(fromModel(RecordKindName(duplicate.kind)), fromModel(duplicate.key))
                                              .arg(duplicate.indices.size())});
        for (const std::int32_t index : duplicate.indices) {
            addRecordItem(item, QStringLiteral("record %1").arg(index + 1), {duplicate.kind, index, duplicate.key});
        }
    }

    section(QStringLiteral("Undecodable characters: %1")
                .arg(r.undecodable.count == 0
                         ? QStringLiteral("none")
                         : QStringLiteral("in %1 %2")
                                   .arg(r.undecodable.count)
                                   .arg(r.undecodable.count == 1 ? QStringLiteral("line") : QStringLiteral("lines")) +
                               linesText(r.undecodable)));
}

void CReadingReportDlg::choose(QTreeWidgetItem* item) {
    const QVariant person = item ? item->data(0, kPersonRole) : QVariant();
    if (person.isValid()) {
        m_chosenPerson = person.toInt();
        accept();
    }
}

void CReadingReportDlg::copyAll() const {
    const std::string text = FormatReadingReport(m_report);
    QApplication::clipboard()->setText(fromModel(text));
}

} // namespace stirpex
