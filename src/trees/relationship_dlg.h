#pragma once

// How is another person related to the person shown? The dialog asks for
// the other person (a name or an identifier typed, or the home person) and
// lists every relationship found as its sentence and its path, each person
// of the path a link. A link chosen ends the dialog with that person as its
// result; the caller shows the page.

#include <QDialog>

#include <string_view>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace stirpex {

class CPerson;
class CStirpexDoc;
class NameIndex;

class CRelationshipDlg : public QDialog {
    Q_OBJECT

public:
    // `home` may be null: the home person's button is then disabled. With the
    // document's name index, typed names are found in it; without one (or
    // while it is empty) by reading every person.
    CRelationshipDlg(const CStirpexDoc& doc, const CPerson& person, const CPerson* home, QWidget* parent = nullptr,
                     const NameIndex* index = nullptr);

    // Shows how `other` is related to the person of the dialog.
    void ShowRelationship(const CPerson& other);
    // The person whose link was chosen, or null.
    const CPerson* ChosenPerson() const noexcept { return m_chosen; }

    QLineEdit* m_editName = nullptr;
    QListWidget* m_listMatches = nullptr;
    QPushButton* m_btnHome = nullptr;
    QTextBrowser* m_textResult = nullptr;

private:
    void findMatches(const QString& typed);
    void addIndexMatches(std::string_view typed, const CPerson* byKey);
    void addScannedMatches(const QString& typed, const CPerson* byKey);
    void chooseMatch();
    void followLink(const QUrl& url);

    const CStirpexDoc& m_doc;
    const CPerson& m_person;
    const CPerson* m_home;
    const NameIndex* m_index;
    std::vector<const CPerson*> m_matches;
    const CPerson* m_chosen = nullptr;
};

// The dialog over the view's window for the person shown; the person chosen from a path, or null.
class CStirpexView;
const CPerson* ShowRelationship(CStirpexView& view, const CPerson* home);

} // namespace stirpex
