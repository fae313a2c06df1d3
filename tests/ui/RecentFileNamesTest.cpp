#include "ui/RecentFileNames.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFileNamesTest, ShortPathsStayWhole) {
    EXPECT_EQ("/srv/rates.xml", AbbreviateName("/srv/rates.xml", 30, '/'));
}

TEST(RecentFileNamesTest, LongPathsKeepTheRootAndTheLastFolders) {
    const std::string name = AbbreviateName("/home/someone/projects/rates/2024/rates.xml", 30, '/');
    EXPECT_EQ("/.../rates/2024/rates.xml", name);
    EXPECT_LE(name.size(), 30u);
    EXPECT_EQ("C:\\...\\Veltrane\\rates.xml",
              AbbreviateName("C:\\Documents and Settings\\Veltrane\\rates.xml", 30, '\\'));
}

TEST(RecentFileNamesTest, TooLongNameIsShownAlone) {
    EXPECT_EQ("a-very-long-rate-file-name-of-the-vendor.xml",
              AbbreviateName("/x/y/a-very-long-rate-file-name-of-the-vendor.xml", 30, '/'));
}

TEST(RecentFileNamesTest, MenuTextNumbersShortensAndEscapes) {
    EXPECT_EQ("&1 /srv/rates.xml", RecentFileMenuText(0, "/srv/rates.xml", "/home", '/'));
    EXPECT_EQ("&2 rates.xml", RecentFileMenuText(1, "/home/me/rates.xml", "/home/me/", '/'));
    EXPECT_EQ("&4 /srv/R&&D.xml", RecentFileMenuText(3, "/srv/R&D.xml", "/", '/'));
}

} // namespace
