#pragma once

// The document's find-by-name window: an edit field above the always open,
// sorted list of the document's name index, and the married-names option.
// Each key typed into the field selects the first entry beginning with the
// field's text (find/type_ahead.h), leaving the text as typed; a text that
// begins no entry says so under the field until it begins one again. Enter
// goes to the person of the first entry beginning with the text; a
// double-click goes to the entry clicked. Ctrl+C in the list copies the whole selected entry,
// also one the list shows cut. Going to a person shows it on the page that last used
// Find and hides the window, which keeps its list and selection for the next
// Find. One window per document, made when first needed, destroyed with the
// document; it has no parent window.

#include "gedcom/load_sinks.h"

#include <QDialog>
#include <QPointer>
#include <QRect>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QWidget;

namespace stirpex {

class CStirpexDoc;
class CStirpexView;
class NameIndex;
class NameListModel;

class CNameListDlg : public QDialog {
    Q_OBJECT

public:
    // The index must outlive the window.
    explicit CNameListDlg(NameIndex& index);
    ~CNameListDlg() override;

    // The page's Find command: serve `view` from now on, build the index if
    // it is empty, select the current person's entry and show the window in
    // front. `progress` shows the progress of this and later builds; may be null.
    void OnFind(CStirpexView& view, ProgressSink* progress);

    // Empties the index and fills it again from m_pDoc under the wait cursor.
    void BuildIndex();
    // Selects the first entry beginning with the current person's display
    // name, puts its text into the edit field and gives that the focus.
    void SelectCurrentPerson();

    bool MarriedNames() const noexcept;
    const NameListModel& Model() const noexcept { return *m_model; }
    // The selected position, -1 when nothing is selected.
    int Selected() const;

    QPointer<CStirpexView> m_pView; // the page that last used Find; null once it is gone
    const CStirpexDoc* m_pDoc = nullptr;
    QCheckBox* m_btnMarriedNames = nullptr;
    QWidget* m_cbNames = nullptr; // the edit field and the list below it, kept together on resize
    QLineEdit* m_editName = nullptr;
    QListView* m_lbNames = nullptr;
    QLabel* m_noMatch = nullptr; // under the field: empty while the text begins an entry
    QRect m_rectClient;
    QRect m_rectCombo;
    QRect m_rectCheck;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeControls();
    void OnInitDialog();
    void OnDblclkNames();
    void OnReturn();
    void OnMarriedNames();
    void OnSelchangeNames();
    void OnEditName(const QString& text);
    // Selects the entry at `position`; with `fill`, puts its text into the field.
    void select(int position, bool fill = true);
    void showInField(int position);
    int typedPosition(const QString& text) const;
    void copySelected() const;
    void pageGone();

    NameIndex& m_index;
    NameListModel* m_model = nullptr;
    ProgressSink* m_progress = nullptr;
    bool m_bPlaced = false; // centred on the screen at the first showing
    bool m_typing = false;  // selecting for a key: the field keeps what was typed
};

// The page's Find command, for the application's page dialogs: shows the
// name list of the view's document for that view.
void ShowNameList(CStirpexView& view, ProgressSink* progress);

} // namespace stirpex
