// Saves whose file operations fail part way: the file at the destination is
// exactly as it was, no temporary file is left beside it, the user is told
// "Failed to save document." and the document stays modified.
#include "document/QuillmarDoc.h"
#include "document/SafeFileWriter.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr const char* kOriginal =
    "<?xml version=\"1.0\"?><RATEFILE><CUSTOMER><CONTRACTNUM>7</CONTRACTNUM></CUSTOMER></RATEFILE>";

// A file layer whose steps can be made to fail one by one.
class CFailingFiles : public CFileLayer {
public:
    std::function<void()> m_beforeCreate;
    bool m_bDiskFullHalfWay = false;
    bool m_bCloseFails = false;
    bool m_bRenameFails = false;

    std::FILE* CreateNew(const std::string& path) override {
        if (m_beforeCreate) {
            m_beforeCreate();
        }
        return CFileLayer::CreateNew(path);
    }
    bool WriteAll(std::FILE* file, const char* bytes, std::size_t size) override {
        if (m_bDiskFullHalfWay) {
            CFileLayer::WriteAll(file, bytes, size / 2);
            return false;
        }
        return CFileLayer::WriteAll(file, bytes, size);
    }
    bool Close(std::FILE* file) override {
        const bool closed = CFileLayer::Close(file);
        return closed && !m_bCloseFails;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return !m_bRenameFails && CFileLayer::Rename(from, to);
    }
};

class FailingWrites : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CFakePlatform m_platform;
    CFailingFiles m_files;
    std::string m_path;

    void SetUp() override {
        m_path = m_folder.File("rates.xml");
        WriteFileText(m_path, kOriginal);
    }

    // Opens the file, changes the tree and saves it with the failing layer.
    void SaveExpectingFailure(const std::string& destination) {
        CQuillmarDoc doc(m_platform);
        doc.SetFileLayer(m_files);
        ASSERT_TRUE(doc.DoOpen(m_path));
        doc.m_pRootNode->AddChild("NOTE", "changed");
        doc.SetModifiedFlag(true);
        const size_t messages = m_platform.m_messages.size();
        EXPECT_FALSE(doc.OnSaveDocument(destination));
        ASSERT_EQ(m_platform.m_messages.size(), messages + 1);
        EXPECT_EQ(m_platform.m_messages.back().strText, "Failed to save document.");
        EXPECT_TRUE(doc.IsModified());
    }

    void ExpectFolderUnchanged() {
        EXPECT_EQ(ReadFileText(m_path), kOriginal);
        for (const std::string& name : m_folder.List()) {
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name << " was left behind";
        }
    }
};

TEST_F(FailingWrites, DiskFullHalfWay) {
    m_platform.m_ints[{"Settings", "AutoBackup"}] = 0;
    m_files.m_bDiskFullHalfWay = true;
    SaveExpectingFailure(m_path);
    ExpectFolderUnchanged();
}

TEST_F(FailingWrites, CloseFails) {
    m_platform.m_ints[{"Settings", "AutoBackup"}] = 0;
    m_files.m_bCloseFails = true;
    SaveExpectingFailure(m_path);
    ExpectFolderUnchanged();
}

TEST_F(FailingWrites, RenameFails) {
    m_platform.m_ints[{"Settings", "AutoBackup"}] = 0;
    m_files.m_bRenameFails = true;
    SaveExpectingFailure(m_path);
    ExpectFolderUnchanged();
}

TEST_F(FailingWrites, DestinationFolderDisappears) {
    m_platform.m_ints[{"Settings", "AutoBackup"}] = 0;
    const std::filesystem::path folder = m_folder.Path() / "gone";
    std::filesystem::create_directory(folder);
    m_files.m_beforeCreate = [&] { std::filesystem::remove_all(folder); };
    SaveExpectingFailure((folder / "rates.xml").string());
    EXPECT_FALSE(std::filesystem::exists(folder));
    ExpectFolderUnchanged();
}

TEST_F(FailingWrites, FailedSaveAfterABackupKeepsTheOriginal) {
    // The backup is made first and is a copy: the original stays in place.
    m_files.m_bRenameFails = true;
    SaveExpectingFailure(m_path);
    EXPECT_EQ(ReadFileText(m_path), kOriginal);
    ASSERT_EQ(m_platform.m_copies.size(), 1u);
    EXPECT_EQ(m_platform.m_copies[0].first, m_path);
}

TEST_F(FailingWrites, TheSameLayerWritesWhenNothingFails) {
    CQuillmarDoc doc(m_platform);
    doc.SetFileLayer(m_files);
    ASSERT_TRUE(doc.DoOpen(m_path));
    doc.m_pRootNode->AddChild("NOTE", "changed");
    doc.SetModifiedFlag(true);
    EXPECT_TRUE(doc.OnSaveDocument(m_path));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(ReadFileText(m_path).find("<NOTE>"), std::string::npos);
}

} // namespace
