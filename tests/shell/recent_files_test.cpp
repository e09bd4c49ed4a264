#include "shell/recent_files.h"

#include <gtest/gtest.h>

namespace stirpex {
namespace {

using Entries = std::vector<std::string>;

TEST(RecentFileList, NewestFirstWithoutRepeatsAndAtMostFour) {
    RecentFileList list;
    for (const char* path : {"/a.ged", "/b.ged", "/c.ged", "/a.ged", "/d.ged", "/e.ged"}) {
        list.Add(path);
    }
    EXPECT_EQ(list.Entries(), (Entries{"/e.ged", "/d.ged", "/a.ged", "/c.ged"}));
    list.Remove("/d.ged");
    EXPECT_EQ(list.Entries(), (Entries{"/e.ged", "/a.ged", "/c.ged"}));
}

TEST(RecentFileList, StoredListIsCleanedUpInItsOrder) {
    const RecentFileList list(Entries{"/x.ged", "", "/y.ged", "/x.ged", "/z.ged", "/w.ged", "/v.ged"});
    EXPECT_EQ(list.Entries(), (Entries{"/x.ged", "/y.ged", "/z.ged", "/w.ged"}));
}

} // namespace
} // namespace stirpex
