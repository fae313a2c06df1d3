#include "resources/StringTable.h"
#include "resources/Resource.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringTableTest, LoadMessagesKeepTheirTwoBlanksAfterTheFirstSentence) {
    EXPECT_STREQ("Error reading XML file.  A start tag and end tag match were not found.",
                 CStringTable::Get(IDS_LOAD_TAG_MISMATCH));
    EXPECT_STREQ("Error reading XML file.  A tag may have not been closed properly.",
                 CStringTable::Get(IDS_LOAD_TAG_NOT_CLOSED));
    EXPECT_STREQ("Error reading XML file.  Unable to access file.",
                 CStringTable::Get(IDS_LOAD_CANNOT_OPEN));
    EXPECT_STREQ("Error reading XML file.  No root node in the XML file was found.",
                 CStringTable::Get(IDS_LOAD_NO_ROOT));
    EXPECT_STREQ("Error reading XML file.", CStringTable::Get(IDS_LOAD_ERROR));
}

TEST(StringTableTest, NumberedTextsOfTheDocument) {
    EXPECT_STREQ("Settings", CStringTable::Get(136));
    EXPECT_STREQ("Compression", CStringTable::Get(137));
    EXPECT_STREQ("Are you sure you want to delete this plan?", CStringTable::Get(138));
    EXPECT_STREQ("Deletion of Plan Failed!", CStringTable::Get(139));
    EXPECT_STREQ("AutoBackup", CStringTable::Get(140));
    EXPECT_STREQ("Untitled", CStringTable::Get(61443));
    EXPECT_STREQ("Quillmar", CStringTable::Get(57344));
    EXPECT_STREQ("Failed to open document.", CStringTable::Get(AFX_IDP_FAILED_TO_OPEN_DOC));
    EXPECT_STREQ("Failed to save document.", CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC));
    EXPECT_EQ(0, std::string(CStringTable::Get(131))
                     .find("The merge feature can only be used when "
                           "the destination rate file is first "
                           "loaded.  First load"));
    EXPECT_EQ(0, std::string(CStringTable::Get(132))
                     .find("The merge feature can only be used to "
                           "merge valid Veltrane XML insurance "
                           "rate files.  The file you chose"));
}

TEST(StringTableTest, NoMatchMessageNamesSupportByTelephoneAndMail) {
    const std::string text = CStringTable::Get(IDS_MERGE_NO_MATCH);
    EXPECT_EQ(0, text.find("No PLANKEY's matched.  "));
    EXPECT_NE(std::string::npos, text.find("Veltrane"));
    EXPECT_NE(std::string::npos, text.find("1-800-555-"));
    EXPECT_NE(std::string::npos, text.find("@example.com"));
    EXPECT_EQ('.', text.back());
}

TEST(StringTableTest, FormatFillsPlaceholdersInOrderAndNeverReadsArgumentsAsFormats) {
    EXPECT_EQ("The two rate files are now merged together.\n\nPlans imported from the merged rate "
              "file: 12\nPlans matched in the original rate file: -3\n\nBe sure to verify "
              "whether the Plan Descriptions are still valid in the new file.",
              CStringTable::Format(IDS_MERGE_SUMMARY, {"12", "-3"}));
    EXPECT_EQ("Save changes to 100%s?", CStringTable::Format(AFX_IDP_ASK_TO_SAVE, {"100%s"}));
    EXPECT_EQ("DPKEY:", CStringTable::Format(IDS_CAPTION_FORMAT, {"DPKEY"}));
    // A missing argument leaves the placeholder as it is.
    EXPECT_EQ("%s:", CStringTable::Format(IDS_CAPTION_FORMAT, {}));
}

TEST(StringTableTest, DocumentStringFieldsAndUnknownNumbers) {
    EXPECT_EQ("Quillmar", CStringTable::GetField(IDR_MAINFRAME, 0));
    EXPECT_EQ("", CStringTable::GetField(IDR_MAINFRAME, 1));
    EXPECT_EQ("Rate Files (*.xml)", CStringTable::GetField(IDR_MAINFRAME, 3));
    EXPECT_EQ(".xml", CStringTable::GetField(IDR_MAINFRAME, 4));
    EXPECT_EQ("Rate Document", CStringTable::GetField(IDR_MAINFRAME, 6));
    EXPECT_EQ("", CStringTable::GetField(IDR_MAINFRAME, 7));
    EXPECT_EQ("Merge...", CStringTable::GetField(ID_FILE_MERGE, 1));
    EXPECT_FALSE(CStringTable::Contains(127));
    EXPECT_STREQ("", CStringTable::Get(127));
}
