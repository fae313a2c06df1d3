#include "document/QuillmarDoc.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

using Key = std::pair<std::string, std::string>;
const Key kCompression{"Settings", "Compression"};
const Key kAutoBackup{"Settings", "AutoBackup"};

} // namespace

TEST(DocumentOptionsTest, MissingValuesStartCompressionOffAndAutoBackupOn) {
    CFakePlatform platform;
    const CQuillmarDoc doc(platform);
    EXPECT_FALSE(doc.IsCompressed());
    EXPECT_TRUE(doc.IsAutoBackup());
    EXPECT_TRUE(platform.m_ints.empty()) << "reading writes nothing";
}

TEST(DocumentOptionsTest, StoredValuesAreReadOnceAtConstruction) {
    CFakePlatform platform;
    platform.m_ints[kCompression] = 1;
    platform.m_ints[kAutoBackup] = 0;
    const CQuillmarDoc doc(platform);
    platform.m_ints[kCompression] = 0;
    EXPECT_TRUE(doc.IsCompressed());
    EXPECT_FALSE(doc.IsAutoBackup());

    platform.m_ints[kCompression] = 7;
    const CQuillmarDoc nonZero(platform);
    EXPECT_TRUE(nonZero.IsCompressed());
}

TEST(DocumentOptionsTest, TogglingWritesTheNewValueAndLeavesTheDocumentAlone) {
    CFakePlatform platform;
    CQuillmarDoc doc(platform);
    ASSERT_TRUE(doc.DoNew());

    doc.OnEditCompressedSave();
    EXPECT_TRUE(doc.IsCompressed());
    EXPECT_EQ(1, platform.m_ints[kCompression]);
    doc.OnEditCompressedSave();
    EXPECT_EQ(0, platform.m_ints[kCompression]);

    doc.OnEditAutoBackup();
    EXPECT_FALSE(doc.IsAutoBackup());
    EXPECT_EQ(0, platform.m_ints[kAutoBackup]);
    doc.OnEditAutoBackup();
    EXPECT_EQ(1, platform.m_ints[kAutoBackup]);

    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ("Untitled", doc.GetTitle());
}

TEST(DocumentOptionsTest, MenuItemsAreEnabledAndCheckedWhileTheOptionIsOn) {
    CFakePlatform platform;
    CQuillmarDoc doc(platform);
    CFakeCmdUI compressed;
    CFakeCmdUI backup;
    doc.OnUpdateEditCompressedSave(compressed);
    doc.OnUpdateEditAutoBackup(backup);
    EXPECT_TRUE(compressed.m_bEnabled);
    EXPECT_EQ(0, compressed.m_nCheck);
    EXPECT_TRUE(backup.m_bEnabled);
    EXPECT_EQ(1, backup.m_nCheck);

    doc.OnEditCompressedSave();
    doc.OnEditAutoBackup();
    doc.OnUpdateEditCompressedSave(compressed);
    doc.OnUpdateEditAutoBackup(backup);
    EXPECT_EQ(1, compressed.m_nCheck);
    EXPECT_EQ(0, backup.m_nCheck);
}
