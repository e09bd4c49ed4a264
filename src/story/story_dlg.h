#pragma once

// The notes and sources viewer: one list of notes or source citations of the
// page's person, of a life event, of a marriage or of a divorce, in a modal,
// resizable window whose only content is a text box. The text and caption are
// the core's (story_text.h); the box may be typed in, but nothing typed is
// kept, and every opening reads the records again.

#include <QDialog>

class QPlainTextEdit;

namespace stirpex {

class CFamily;
class CPerson;
class CStirpexDoc;
class CStirpexView;
struct StoryRequest;

class CStoryDlg : public QDialog {
    Q_OBJECT

public:
    explicit CStoryDlg(QWidget* parent = nullptr);
    ~CStoryDlg() override;

    // Shows the list of `kind` and `topic` for the view's current person;
    // `family` is set for the marriage and divorce topics only. Returns the
    // modal result, which means nothing to the caller.
    int ShowStory(CStirpexView& view, const CStirpexDoc& doc, int kind, int topic, const CFamily* family);

    const CStirpexDoc* m_pDoc = nullptr;
    CStirpexView* m_pView = nullptr;
    const CPerson* m_pPerson = nullptr;
    const CFamily* m_pFamily = nullptr;
    int m_nKind = 0;
    int m_nTopic = 0;
    int m_nFact = -1; // for the fact topics: which of the record's facts
    QPlainTextEdit* m_editText = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
};

// The page's "Notes" and "Sources" links, for the application's page dialogs.
void ShowStory(CStirpexView& view, const StoryRequest& request);

} // namespace stirpex
