#include "document/RecentFileList.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using Entries = std::vector<std::string>;

TEST(RecentFileListTest, NewestFirstAndTheOldestDropsOut) {
    CFakePlatform platform;
    CRecentFileList list(platform);
    for (const char* path : {"/a.xml", "/b.xml", "/c.xml", "/d.xml", "/e.xml"}) {
        list.Add(path);
    }
    EXPECT_EQ((Entries{"/e.xml", "/d.xml", "/c.xml", "/b.xml"}), list.GetEntries());
}

TEST(RecentFileListTest, AddingAListedFileMovesItToTheTop) {
    CFakePlatform platform;
    CRecentFileList list(platform);
    list.Add("/a.xml");
    list.Add("/b.xml");
    list.Add("/c.xml");
    list.Add("/a.xml");
    EXPECT_EQ((Entries{"/a.xml", "/c.xml", "/b.xml"}), list.GetEntries());
    list.Remove(1);
    list.Remove(7);
    EXPECT_EQ((Entries{"/a.xml", "/b.xml"}), list.GetEntries());
    EXPECT_EQ("", list.GetAt(2));
}

TEST(RecentFileListTest, KeptInTheSettingsAsFile1ToFile4) {
    CFakePlatform platform;
    CRecentFileList list(platform);
    list.Add("/old.xml");
    list.Add("/new.xml");
    list.WriteList();
    EXPECT_EQ("/new.xml", (platform.m_strings[{"Recent File List", "File1"}]));
    EXPECT_EQ("/old.xml", (platform.m_strings[{"Recent File List", "File2"}]));
    EXPECT_EQ("", (platform.m_strings[{"Recent File List", "File3"}]));
    EXPECT_EQ("", (platform.m_strings[{"Recent File List", "File4"}]));

    (platform.m_strings[{"Recent File List", "File4"}]) = "/fourth.xml";
    CRecentFileList reread(platform);
    reread.ReadList();
    EXPECT_EQ((Entries{"/new.xml", "/old.xml", "/fourth.xml"}), reread.GetEntries());
}
