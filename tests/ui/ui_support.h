#pragma once

// What the window tests share: a message sink that records instead of
// showing a box, a settings store of the test's own, and paths of the sample
// files.

#include "gedcom/load_sinks.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace stirpex::test {

class RecordedMessages final : public MessageSink {
public:
    void Show(std::string_view text) override {
        shown.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    QStringList shown;
};

// The app's settings in a folder of their own, empty when made: what the app
// remembers of a file must not carry over from one test, or one run of the
// tests, into the next. Made before the app, kept for as long as it runs.
class FreshSettings {
public:
    FreshSettings() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path()); }
    FreshSettings(const FreshSettings&) = delete;
    FreshSettings& operator=(const FreshSettings&) = delete;

private:
    QTemporaryDir m_folder;
};

inline QString SamplePath(const char* name = "harrow_family.ged") {
    return QStringLiteral(STIRPEX_SAMPLES_DIR "/") + QString::fromUtf8(name);
}

} // namespace stirpex::test
