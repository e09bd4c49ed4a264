#include "shell/remembered_files_app.h"

#include "model/stirpex_doc.h"
#include "page/stirpex_view.h"
#include "shell/child_frame.h"
#include "shell/file_name_qt.h"
#include "shell/open_gedcom_app.h"

#include <QSettings>

namespace stirpex {

namespace {

// The layout in the settings store, here alone: one array, newest file first,
// each entry the file's absolute path (as file_name_qt.h stores paths, so a
// name that is not UTF-8 comes back the same) and what is kept of the file.
// An array rather than a group per path: a path holds '/', which the store
// takes for its own separator, and the array keeps the order that bounds it.
const QString kFilesArray = QStringLiteral("Remembered Files");
const QString kPathKey = QStringLiteral("path");
const QString kHomeKey = QStringLiteral("home");
const QString kLastKey = QStringLiteral("last");
const QString kWidthKey = QStringLiteral("width");
const QString kHeightKey = QStringLiteral("height");

std::string keyText(const QVariant& value) {
    return value.toString().toUtf8().toStdString();
}

QString fromModel(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::vector<FileMemory> readStored(QSettings& settings) {
    std::vector<FileMemory> stored;
    const int count = settings.beginReadArray(kFilesArray);
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        FileMemory memory;
        memory.path = PathFromStored(settings.value(kPathKey)).native();
        memory.homeKey = keyText(settings.value(kHomeKey));
        memory.lastKey = keyText(settings.value(kLastKey));
        memory.width = settings.value(kWidthKey).toInt();
        memory.height = settings.value(kHeightKey).toInt();
        stored.push_back(std::move(memory));
    }
    settings.endArray();
    return stored;
}

} // namespace

RememberedFiles::RememberedFiles(QSettings& settings) : m_settings(settings), m_memories(readStored(settings)) {}

void RememberedFiles::Restore(CChildFrame& frame) const {
    OpenGedcom& document = frame.Document();
    const FileMemory* memory = m_memories.Find(document.Key().native());
    if (memory == nullptr) {
        return;
    }
    document.SetHomePerson(RememberedHome(document.Doc(), *memory));
    if (const std::optional<WindowSize> size = RememberedSize(*memory)) {
        frame.resize(size->width, size->height);
    }
    if (const CPerson* person = RememberedPerson(document.Doc(), *memory)) {
        frame.View()->StartAt(*person);
    }
}

void RememberedFiles::Keep(const CChildFrame& frame) {
    const OpenGedcom& document = frame.Document();
    FileMemory memory;
    if (const FileMemory* before = m_memories.Find(document.Key().native())) {
        memory = *before;
    }
    memory.path = document.Key().native();
    const CPerson* home = document.HomePerson();
    memory.homeKey = home ? std::string(home->m_strID.view()) : std::string();
    // A page not painted yet, or the placeholder of a file without individuals, shows nobody to remember.
    const CPerson* shown = frame.View()->Page().m_pPerson;
    if (shown != nullptr && document.Doc().m_nPersons > 0) {
        memory.lastKey = std::string(shown->m_strID.view());
    }
    // A maximised or minimised window has no size of its own to come back to.
    if (!frame.isMaximized() && !frame.isMinimized()) {
        memory.width = frame.width();
        memory.height = frame.height();
    }
    m_memories.Remember(std::move(memory));
    write();
}

void RememberedFiles::write() {
    m_settings.remove(kFilesArray);
    m_settings.beginWriteArray(kFilesArray, static_cast<int>(m_memories.Entries().size()));
    int i = 0;
    for (const FileMemory& memory : m_memories.Entries()) {
        m_settings.setArrayIndex(i++);
        m_settings.setValue(kPathKey, StoredPath(std::filesystem::path(memory.path)));
        m_settings.setValue(kHomeKey, fromModel(memory.homeKey));
        m_settings.setValue(kLastKey, fromModel(memory.lastKey));
        m_settings.setValue(kWidthKey, memory.width);
        m_settings.setValue(kHeightKey, memory.height);
    }
    m_settings.endArray();
    m_settings.sync();
}

} // namespace stirpex
