#pragma once

// What the window tests share: a message sink that records instead of
// showing a box, and paths of the sample files.

#include "gedcom/load_sinks.h"

#include <QString>
#include <QStringList>

namespace stirpex::test {

class RecordedMessages final : public MessageSink {
public:
    void Show(std::string_view text) override {
        shown.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    QStringList shown;
};

inline QString SamplePath(const char* name = "harrow_family.ged") {
    return QStringLiteral(STIRPEX_SAMPLES_DIR "/") + QString::fromUtf8(name);
}

} // namespace stirpex::test
