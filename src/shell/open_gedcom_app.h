#pragma once

// One open GEDCOM file in the desktop app: the document, where it came from,
// its title, and its name index with the collation it is sorted by. It lives
// as long as at least one window shows it.

#include "find/name_index.h"
#include "model/stirpex_doc.h"

#include <QString>

#include <memory>

namespace stirpex {

class OpenGedcom {
public:
    OpenGedcom(QString path, const Collator& collator, MessageSink* messages);
    OpenGedcom(const OpenGedcom&) = delete;
    OpenGedcom& operator=(const OpenGedcom&) = delete;
    ~OpenGedcom();

    CStirpexDoc& Doc() noexcept { return m_doc; }
    const CStirpexDoc& Doc() const noexcept { return m_doc; }
    NameIndex& Index() noexcept { return m_index; }
    // The absolute path of the file, as it is compared when the same file is opened again.
    const QString& Path() const noexcept { return m_path; }
    // The file's name with its extension: "royal.ged".
    const QString& Title() const noexcept { return m_title; }

private:
    CStirpexDoc m_doc;
    NameIndex m_index;
    QString m_path;
    QString m_title;
};

} // namespace stirpex
