#pragma once

// Finding people by what is known of them (find/search.h): surname, given
// name, the sound of the surname, a place, years, sex and words of their
// notes and citations. The results are a list sortable by each column; a
// double click or Enter on one ends the dialog with that person as its
// result, and the caller shows the page.

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace stirpex {

class CPerson;
class CStirpexDoc;
class CStirpexView;
class Collator;
struct SearchQuery;

class CSearchDlg : public QDialog {
    Q_OBJECT

public:
    CSearchDlg(const CStirpexDoc& doc, const Collator& collator, QWidget* parent = nullptr);

    // Runs the query the fields hold and lists what it finds.
    void OnSearch();
    // The person chosen from the results, or null.
    const CPerson* ChosenPerson() const noexcept { return m_chosen; }

    QLineEdit* m_editSurname = nullptr;
    QLineEdit* m_editGiven = nullptr;
    QLineEdit* m_editSoundex = nullptr;
    QLineEdit* m_editPlace = nullptr;
    QLineEdit* m_editYears = nullptr;
    QComboBox* m_comboSex = nullptr;
    QLineEdit* m_editText = nullptr;
    QTreeWidget* m_listResults = nullptr;
    QLabel* m_labelStatus = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool readQuery(SearchQuery& query);
    void choose(QTreeWidgetItem* item);

    const CStirpexDoc& m_doc;
    const Collator& m_collator;
    const CPerson* m_chosen = nullptr;
};

const CPerson* ShowSearch(CStirpexView& view, const Collator& collator);

} // namespace stirpex
