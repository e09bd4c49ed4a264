// A load asked to stop ends Cancelled soon after, read in one pass or in
// parts, and builds no name index; a token never set changes nothing.

#include "gedcom/load_driver.h"
#include "model/stirpex_doc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace stirpex {
namespace {

// Sets the token once the bar reaches `at` percent, and keeps what it was shown.
class StoppingProgress : public ProgressSink {
public:
    StoppingProgress(std::atomic<bool>& stop, int at) : m_stop(stop), m_at(at) {}
    struct Window : ProgressWindow {
        explicit Window(StoppingProgress& owner) : m_owner(owner) {}
        void SetPos(int percent) override {
            m_owner.positions.push_back(percent);
            if (percent >= m_owner.m_at) {
                m_owner.m_stop = true;
            }
        }
        StoppingProgress& m_owner;
    };
    std::unique_ptr<ProgressWindow> Create(std::string_view) override { return std::make_unique<Window>(*this); }
    std::vector<int> positions;

private:
    std::atomic<bool>& m_stop;
    int m_at;
};

class CountingIndex : public NameIndexBuilder {
public:
    bool Reserve(std::size_t) override { return true; }
    void Build(const CStirpexDoc&, ProgressSink*) override { ++builds; }
    int builds = 0;
};

std::string People(int count) {
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    for (int i = 1; i <= count; ++i) {
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME Anna /Berg" + std::to_string(i) + "/\n1 SEX F\n";
        text += "1 BIRT\n2 DATE 1 JAN 1900\n2 PLAC Somewhere\n";
    }
    return text + "0 TRLR\n";
}

struct Outcome {
    LoadResult result;
    int persons = 0;
    int builds = 0;
    std::vector<int> positions;
};

Outcome Load(const std::string& bytes, unsigned threads, int stopAt) {
    std::atomic<bool> stop{stopAt == 0};
    StoppingProgress progress(stop, stopAt);
    CountingIndex index;
    LoadEnvironment env;
    env.progress = &progress;
    env.nameIndex = &index;
    env.threads = threads;
    env.partBytes = threads > 1 ? 8192 : 0;
    env.stop = &stop;
    CStirpexDoc doc;
    std::istringstream in(bytes);
    Outcome outcome;
    outcome.result = LoadGedcom(doc, in, static_cast<std::int64_t>(bytes.size()), "people.ged", env);
    outcome.persons = doc.m_nPersons;
    outcome.builds = index.builds;
    outcome.positions = progress.positions;
    return outcome;
}

TEST(LoadStop, StopsPartWayInOnePassAndInParts) {
    const std::string bytes = People(4000);
    for (const unsigned threads : {1U, 3U}) {
        const Outcome outcome = Load(bytes, threads, 30);
        EXPECT_EQ(outcome.result.outcome, LoadOutcome::Cancelled) << threads;
        EXPECT_EQ(outcome.builds, 0) << threads;
        EXPECT_TRUE(outcome.result.statsText.empty()) << threads;
        ASSERT_FALSE(outcome.positions.empty()) << threads;
        // Within a part of the point it was asked at, not at the end of the file.
        EXPECT_LT(outcome.positions.back(), 60) << threads;
        EXPECT_LT(outcome.persons, 4000) << threads;
    }
}

TEST(LoadStop, ATokenSetBeforehandReadsNothingAndOneNeverSetReadsAll) {
    const std::string bytes = People(4000);
    for (const unsigned threads : {1U, 3U}) {
        const Outcome stopped = Load(bytes, threads, 0);
        EXPECT_EQ(stopped.result.outcome, LoadOutcome::Cancelled) << threads;
        EXPECT_EQ(stopped.persons, 0) << threads;
        const Outcome whole = Load(bytes, threads, std::numeric_limits<int>::max());
        EXPECT_EQ(whole.result.outcome, LoadOutcome::Loaded) << threads;
        EXPECT_EQ(whole.persons, 4000) << threads;
        EXPECT_EQ(whole.builds, 1) << threads;
    }
}

} // namespace
} // namespace stirpex
