#pragma once

// The go-to dialog: the user types the key of an individual, as the file
// writes it between its at-signs (find/go_to.h says how it is matched). OK
// keeps the text, untouched, as the document's last go-to text for the page
// to look up; a text that names nobody keeps the dialog open and says so
// under the field, so that the user can correct it. Cancel, Escape and the
// close box leave the last text as it was. Modal, made for one showing, so
// the field is empty each time.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace stirpex {

class CStirpexDoc;
class CStirpexView;

class CGoToDlg : public QDialog {
    Q_OBJECT

public:
    explicit CGoToDlg(QWidget* parent = nullptr);
    ~CGoToDlg() override;

    // Runs the dialog for `doc`: QDialog::Accepted with the typed text in
    // its m_strGoToID, or QDialog::Rejected.
    virtual int ShowGoTo(CStirpexDoc& doc);

    QLineEdit* m_editID = nullptr;
    QLabel* m_message = nullptr; // hidden until a key names nobody
    CStirpexDoc* m_pDoc = nullptr;

public Q_SLOTS:
    void accept() override { OnOK(); }

private:
    void OnOK();
    void showMessage(const QString& text);

    QSize m_templateSize;
};

// The page's go-to command, for the application's page dialogs: true after
// OK, with the typed key in the document's m_strGoToID.
bool ShowGoTo(CStirpexView& view);

} // namespace stirpex
