#pragma once

// The reading report of a document, as a list the user can open items of:
// each section (lines not understood, pointers naming no record, duplicate
// identifiers, undecodable characters) with its items below it. An item that
// belongs to a person opens that person's page: the dialog ends with that
// person as its result, and the caller shows the page.

#include "gedcom/reading_report.h"

#include <QDialog>

#include <cstdint>

class QTreeWidget;
class QTreeWidgetItem;

namespace stirpex {

class CStirpexDoc;

class CReadingReportDlg : public QDialog {
    Q_OBJECT

public:
    CReadingReportDlg(const CStirpexDoc& doc, ReadingReport report, QWidget* parent = nullptr);

    // The table index of the person chosen, or -1 when the dialog was closed without one.
    std::int32_t ChosenPerson() const noexcept { return m_chosenPerson; }

    QTreeWidget* m_tree = nullptr;

private:
    void fill();
    QTreeWidgetItem* section(const QString& text);
    void addRecordItem(QTreeWidgetItem* parent, const QString& text, const RecordRef& record);
    void choose(QTreeWidgetItem* item);
    void copyAll() const;

    const CStirpexDoc& m_doc;
    ReadingReport m_report;
    std::int32_t m_chosenPerson = -1;
};

} // namespace stirpex
