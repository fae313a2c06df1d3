// Saves that must not damage the file on disk: a document without a tree, a
// text that could not be built completely, and bytes that could not all be
// written.
#include "document/QuillmarDoc.h"

#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TreeDump.h"
#include "tests/xml/CapacityLimit.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kRateFile = "<?xml version=\"1.0\"?>\n<RATEFILE>\n"
                                  "  <CUSTOMER><CONTRACTNUM>7</CONTRACTNUM></CUSTOMER>\n"
                                  "</RATEFILE>\n";

class SaveFaultsTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CFakePlatform m_platform;
    std::unique_ptr<CQuillmarDoc> m_doc;

    void SetUp() override { m_doc = std::make_unique<CQuillmarDoc>(m_platform); }

    std::string OpenRateFile() {
        const std::string path = m_folder.File("rates.xml");
        WriteFileText(path, kRateFile);
        EXPECT_TRUE(m_doc->DoOpen(path));
        m_doc->SetModifiedFlag(true);
        m_platform.m_messages.clear();
        return path;
    }

    // The failed save left the file, the folder and the document as they were.
    void ExpectNothingSaved(const std::string& path, const std::vector<std::string>& files) {
        ASSERT_EQ(1u, m_platform.m_messages.size());
        EXPECT_EQ("Failed to save document.", m_platform.m_messages[0].strText);
        EXPECT_EQ(kRateFile, ReadFileText(path));
        EXPECT_EQ(files, m_folder.List()) << "no temporary file is left behind";
        EXPECT_TRUE(m_doc->IsModified());
    }
};

} // namespace

TEST_F(SaveFaultsTest, DocumentWithoutTreeRefusesToSaveAndKeepsTheFile) {
    const std::string path = m_folder.File("rates.xml");
    WriteFileText(path, "<?xml version=\"1.0\"?>\nno element here\n");
    ASSERT_TRUE(m_doc->DoOpen(path));
    ASSERT_EQ(nullptr, m_doc->m_pRootNode);
    m_platform.m_messages.clear();

    EXPECT_FALSE(m_doc->DoSave());
    EXPECT_FALSE(m_doc->DoSaveAs(m_folder.File("other.xml")));
    m_doc->SetModifiedFlag(true);
    EXPECT_FALSE(m_doc->DoSendMail()) << "sending would need a save first";
    ASSERT_EQ(3u, m_platform.m_messages.size());
    for (const CShownMessage& message : m_platform.m_messages) {
        EXPECT_EQ("The document holds no rate file, so there is nothing to save.  The file on "
                  "disk was left as it was.",
                  message.strText);
    }
    EXPECT_EQ("<?xml version=\"1.0\"?>\nno element here\n", ReadFileText(path));
    EXPECT_EQ(std::vector<std::string>{"rates.xml"}, m_folder.List()) << "no backup either";
    EXPECT_TRUE(m_platform.m_mails.empty());
}

TEST_F(SaveFaultsTest, MissingFileLeavesNoTreeAndNothingToSave) {
    const std::string path = m_folder.File("rates.xml");
    WriteFileText(path, kRateFile);
    ASSERT_TRUE(m_doc->DoOpen(path));
    // The reader opens the file by its path again; here it has gone by then.
    fs::remove(path);
    m_doc->SerializeLoad(path);
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ("Error reading XML file.  Unable to access file.", m_platform.m_messages[0].strText);
    EXPECT_EQ(nullptr, m_doc->m_pRootNode);
    EXPECT_FALSE(m_doc->DoSave());
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SaveFaultsTest, IncompleteTextIsNotWritten) {
    const std::string path = OpenRateFile();
    for (int i = 0; i < 40; ++i) {
        m_doc->m_pRootNode->AddChild("CUSTOMER", "a customer with a fairly long text");
    }
    {
        const CapacityLimit limit(1024);
        EXPECT_FALSE(m_doc->DoSave());
    }
    ExpectNothingSaved(path, {"rates-03152025-094107.xml", "rates.xml"});
}

// Writing encodes '&', '<' and '>' in the tree's texts; a text whose encoded
// form cannot be built stays as it was, in the tree and in the file.
TEST_F(SaveFaultsTest, TextThatCannotBeEncodedIsKeptAndNotSaved) {
    const std::string path = OpenRateFile();
    const std::string text(600, '&');
    CXmlNode* node = m_doc->m_pRootNode->AddChild("CUSTOMER", text.c_str());
    {
        const CapacityLimit limit(1024);
        EXPECT_FALSE(m_doc->DoSave());
    }
    ExpectNothingSaved(path, {"rates-03152025-094107.xml", "rates.xml"});
    EXPECT_EQ(text, node->TextRef().GetBuffer());
}

TEST_F(SaveFaultsTest, FolderThatIsGoneReportsTheFailure) {
    const std::string path = OpenRateFile();
    EXPECT_FALSE(m_doc->DoSaveAs(m_folder.File("gone/rates.xml")));
    ExpectNothingSaved(path, {"rates-03152025-094107.xml", "rates.xml"});
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_EQ(1, m_doc->GetRecentFileList().GetSize());
}

TEST_F(SaveFaultsTest, DestinationThatIsAFolderOrReadOnlyIsLeftAlone) {
    const std::string path = OpenRateFile();
    m_doc->OnEditAutoBackup();
    fs::create_directory(m_folder.File("folder.xml"));
    EXPECT_FALSE(m_doc->DoSaveAs(m_folder.File("folder.xml")));
    ExpectNothingSaved(path, {"folder.xml", "rates.xml"});

    m_platform.m_messages.clear();
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_FALSE(m_doc->OnSaveDocument(path));
    ExpectNothingSaved(path, {"folder.xml", "rates.xml"});
}

#if defined(__unix__)
// Windows files have no owner, group and others rights, and links need
// privileges there.
TEST_F(SaveFaultsTest, SaveKeepsTheAccessRightsOfTheReplacedFile) {
    const std::string path = OpenRateFile();
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(m_doc->DoSave());
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
              fs::status(path).permissions());
}

TEST_F(SaveFaultsTest, SaveThroughASymbolicLinkReplacesTheTarget) {
    const std::string path = OpenRateFile();
    const std::string link = m_folder.File("link.xml");
    fs::create_symlink(path, link);
    m_doc->OnEditAutoBackup();
    ASSERT_TRUE(m_doc->DoSaveAs(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(DumpTree(m_doc->m_pRootNode), DumpFile(path));
}

// A file-size limit makes the write fail part way, as a full disk would.
TEST_F(SaveFaultsTest, BytesThatCouldNotAllBeWrittenLeaveTheFileAsItWas) {
    const std::string path = OpenRateFile();
    m_doc->OnEditAutoBackup();
    for (int i = 0; i < 200; ++i) {
        m_doc->m_pRootNode->AddChild("CUSTOMER", "text that makes the file longer than the limit");
    }
    rlimit previous{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &previous));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = previous;
    lowered.rlim_cur = 4096;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &lowered));
    const bool saved = m_doc->DoSave();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    ExpectNothingSaved(path, {"rates.xml"});
}
#endif
