#pragma once

// The file properties window: what the GEDCOM header of a document says
// about its file, where the file lies, how large it is and how many records of
// each kind were read. The values are the core's (file_properties.h); this
// window lays them out in three groups and changes nothing. Modal, made for
// one showing.

#include "shell/file_properties.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace stirpex {

class CPerson;
class CStirpexDoc;
class CStirpexView;

class CFilePropDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFilePropDlg(QWidget* parent = nullptr);
    ~CFilePropDlg() override;

    // Fills the fourteen values for `doc`, the file name `title` and the file's
    // full path, then runs the dialog; OK and Escape both end it, and so does
    // opening a person from the reading report. Returns that person's table
    // index, or -1.
    std::int32_t ShowProperties(const CStirpexDoc& doc, const QString& title, const QString& fullPath);
    void SetValues(const FileProperties& properties);

    static constexpr int kFirstControl = 1012;
    // The label and the value control of `controlId` (1012 to 1025); the
    // full path has no label of its own but its group's title, and its value
    // is the text box m_editPath.
    QLabel* Label(int controlId) const { return m_labels.at(static_cast<std::size_t>(controlId - kFirstControl)); }
    QWidget* Value(int controlId) const { return m_values.at(static_cast<std::size_t>(controlId - kFirstControl)); }

    QPlainTextEdit* m_editPath = nullptr;
    QGroupBox* m_groupHeader = nullptr;
    QGroupBox* m_groupPath = nullptr;
    QGroupBox* m_groupFile = nullptr;
    QPushButton* m_btnReport = nullptr;

private:
    void showReport();
    void addValue(int controlId, QGroupBox* group, int row, int column, int span = 1);

    std::array<QLabel*, kFilePropertyCount> m_labels{};
    std::array<QWidget*, kFilePropertyCount> m_values{};
    const CStirpexDoc* m_doc = nullptr;
    std::int32_t m_chosenPerson = -1;
};

// The page's File properties command, for the application's page dialogs:
// the person to open from the reading report, or null.
const CPerson* ShowProperties(CStirpexView& view);

} // namespace stirpex
