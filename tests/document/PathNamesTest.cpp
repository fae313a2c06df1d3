#include "document/PathNames.h"

#include <gtest/gtest.h>

namespace {

std::tm Stamp() {
    std::tm when{};
    when.tm_mon = 11; // December
    when.tm_mday = 9;
    when.tm_year = 2003 - 1900;
    when.tm_hour = 14;
    when.tm_min = 30;
    when.tm_sec = 5;
    return when;
}

} // namespace

TEST(BackupNameTest, StampGoesBeforeTheFirstDotOfTheFileName) {
    EXPECT_EQ("C:\\Rates\\rates-12092003-143005.xml",
              MakeBackupName("C:\\Rates\\rates.xml", Stamp()));
    EXPECT_EQ("/srv/rates/rates-12092003-143005.xml",
              MakeBackupName("/srv/rates/rates.xml", Stamp()));
    EXPECT_EQ("rates-12092003-143005.2003.xml", MakeBackupName("rates.2003.xml", Stamp()));
    EXPECT_EQ("r-12092003-143005.", MakeBackupName("r.", Stamp()));
}

TEST(BackupNameTest, StampUsesLeadingZerosAndTheFourDigitYear) {
    std::tm when{};
    when.tm_mon = 0;
    when.tm_mday = 2;
    when.tm_year = 2025 - 1900;
    when.tm_hour = 3;
    when.tm_min = 4;
    when.tm_sec = 9;
    EXPECT_EQ("/a/b-01022025-030409.xml", MakeBackupName("/a/b.xml", when));
}

TEST(BackupNameTest, DotsInFolderNamesAreNotUsed) {
    EXPECT_EQ("/home/ann/.config/quillmar/rates-12092003-143005.xml",
              MakeBackupName("/home/ann/.config/quillmar/rates.xml", Stamp()));
    EXPECT_EQ("C:\\Rates.2003\\rates-12092003-143005.xml",
              MakeBackupName("C:\\Rates.2003\\rates.xml", Stamp()));
    EXPECT_EQ("", MakeBackupName("/home/ann/.config/rates", Stamp()));
}

TEST(BackupNameTest, TheLeadingDotOfAHiddenFileIsNotUsed) {
    EXPECT_EQ("/x/.rates-12092003-143005.xml", MakeBackupName("/x/.rates.xml", Stamp()));
    EXPECT_EQ("", MakeBackupName("/x/.rates", Stamp()));
    EXPECT_EQ("", MakeBackupName(".profile", Stamp()));
}

TEST(BackupNameTest, NoDotNoBackup) {
    EXPECT_EQ("", MakeBackupName("", Stamp()));
    EXPECT_EQ("", MakeBackupName("rates", Stamp()));
    EXPECT_EQ("", MakeBackupName("/srv/rates/", Stamp()));
    EXPECT_EQ("", MakeBackupName("C:\\Rates\\rates", Stamp()));
}

TEST(FileNameTest, LastPartAfterEitherSeparator) {
    EXPECT_EQ("rates.xml", FileNameOf("/srv/rates/rates.xml"));
    EXPECT_EQ("rates.xml", FileNameOf("C:\\Rates\\rates.xml"));
    EXPECT_EQ("rates.xml", FileNameOf("rates.xml"));
    EXPECT_EQ("", FileNameOf("/srv/"));
}
