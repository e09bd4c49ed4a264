#pragma once

// One open GEDCOM file in the desktop app: the document, where it came from,
// its title, its name index with the collation it is sorted by, the one
// find-by-name window over that index, and the file's home person. It lives as long as at least one
// window shows it.

#include "find/name_index.h"
#include "model/stirpex_doc.h"

#include <QString>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

namespace stirpex {

class CNameListDlg;

class OpenGedcom {
public:
    // `key` as DocumentKey() makes it; `waitProgress` shows a wait for the
    // index built in the background (may be null).
    OpenGedcom(std::filesystem::path key, const Collator& collator, MessageSink* messages,
               ProgressSink* waitProgress = nullptr);
    OpenGedcom(const OpenGedcom&) = delete;
    OpenGedcom& operator=(const OpenGedcom&) = delete;
    ~OpenGedcom();

    CStirpexDoc& Doc() noexcept { return m_doc; }
    const CStirpexDoc& Doc() const noexcept { return m_doc; }
    // The name index, once any build of it in the background is done.
    NameIndex& Index() {
        AwaitIndex();
        return m_index;
    }
    // The absolute path of the file, as it is compared when the same file is opened again.
    const std::filesystem::path& Key() const noexcept { return m_key; }
    // That path, and the file's name with its extension ("royal.ged"), as text to show.
    const QString& Path() const noexcept { return m_path; }
    const QString& Title() const noexcept { return m_title; }
    // The document's find-by-name window, made hidden when first asked for
    // and shared by every window on the document; after the index is done.
    CNameListDlg& NameList();
    // Builds the name index, then the document's parent table, on a thread
    // of its own; the document must not change until it is done.
    void BuildIndexInBackground();
    // Returns once no index is being built, after a progress window while it
    // waits. Events other than input go on meanwhile, so that the windows
    // repaint but no command runs.
    void AwaitIndex();
    bool IndexPending() const noexcept { return m_indexThread.joinable() && !m_indexDone; }

    // The person the pages of this file say how everyone is related to; null for none.
    const CPerson* HomePerson() const noexcept { return m_pHome; }
    void SetHomePerson(const CPerson* home) noexcept { m_pHome = home; }

private:
    CStirpexDoc m_doc;
    NameIndex m_index;
    std::filesystem::path m_key;
    QString m_path;
    QString m_title;
    const CPerson* m_pHome = nullptr;
    ProgressSink* m_waitProgress;
    std::atomic<int> m_indexPercent{0};
    std::atomic<bool> m_indexDone{false};
    std::atomic<bool> m_stopIndex{false}; // set when the document closes
    std::thread m_indexThread;            // joined before the document and index go
    // Last, so that it goes before the index it shows.
    std::unique_ptr<CNameListDlg> m_pNameListDlg;
};

// The name index as a load sees it when the index is to be built after the
// first page is shown: room reserved in the index at once, the build only noted.
class DeferredIndex final : public NameIndexBuilder {
public:
    explicit DeferredIndex(NameIndex& index) noexcept : m_index(index) {}
    bool Reserve(std::size_t entries) override { return m_index.Reserve(entries); }
    void Build(const CStirpexDoc&, ProgressSink*) override { m_wanted = true; }
    bool wanted() const noexcept { return m_wanted; }

private:
    NameIndex& m_index;
    bool m_wanted = false;
};

} // namespace stirpex
