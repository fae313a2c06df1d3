#include "document/QuillmarDoc.h"

#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TreeDump.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "<?xml version=\"1.0\"?>";
constexpr const char* kSmallRateFile = "<?xml version=\"1.0\"?>\n"
                                       "<RATEFILE>\n"
                                       "  <HEADER><VENDOR>Veltrane</VENDOR></HEADER>\n"
                                       "  <CUSTOMER><CONTRACTNUM>7</CONTRACTNUM></CUSTOMER>\n"
                                       "</RATEFILE>\n";
// The stamp of the fake clock: 15 March 2025, 09:41:07.
constexpr const char* kStamp = "-03152025-094107";

// The new document's tree as the indented writer lays it out.
std::string NewDocumentText() {
    return std::string(kHeader) + "<ROOTNODE>" + std::string(21, ' ') + "Root Node Text" +
           std::string(14, ' ') + "</ROOTNODE>\r\n";
}

class DocumentLifecycleTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CFakePlatform m_platform;
    std::unique_ptr<CQuillmarDoc> m_doc;

    void SetUp() override { m_doc = std::make_unique<CQuillmarDoc>(m_platform); }

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = m_folder.File(name);
        WriteFileText(path, text);
        return path;
    }
    std::string OpenText(const std::string& name, const std::string& text) {
        const std::string path = Write(name, text);
        EXPECT_TRUE(m_doc->DoOpen(path));
        return path;
    }
};

} // namespace

TEST_F(DocumentLifecycleTest, NewDocumentHoldsTheRootNodeTreeUntitled) {
    ASSERT_TRUE(m_doc->DoNew());
    ASSERT_NE(nullptr, m_doc->m_pRootNode);
    EXPECT_EQ("ROOTNODE = Root Node Text\n", DumpTree(m_doc->m_pRootNode));
    EXPECT_EQ("", m_doc->GetPathName());
    EXPECT_EQ("Untitled", m_doc->GetTitle());
    EXPECT_EQ("Untitled - Quillmar", m_doc->GetFrameTitle());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_platform.m_messages.empty());
}

TEST_F(DocumentLifecycleTest, OpenGoodFileTakesItsTreePathTitleAndRecentEntry) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    EXPECT_EQ("RATEFILE\n  HEADER\n    VENDOR = Veltrane\n  CUSTOMER\n    CONTRACTNUM = 7\n",
              DumpTree(m_doc->m_pRootNode));
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_EQ("rates.xml", m_doc->GetTitle());
    EXPECT_EQ("rates.xml - Quillmar", m_doc->GetFrameTitle());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_platform.m_messages.empty());
    EXPECT_EQ(path, m_doc->GetRecentFileList().GetAt(0));
    EXPECT_EQ(path, (m_platform.m_strings[{"Recent File List", "File1"}]));
}

TEST_F(DocumentLifecycleTest, RelativePathsAreRecordedInFull) {
    const std::string path = Write("rates.xml", kSmallRateFile);
    const fs::path previous = fs::current_path();
    fs::current_path(m_folder.Path());
    const bool opened = m_doc->DoOpen("rates.xml");
    fs::current_path(previous);
    ASSERT_TRUE(opened);
    EXPECT_EQ(fs::path(path).lexically_normal().string(), m_doc->GetPathName());
}

struct CDamagedFile {
    const char* szText;
    const char* szMessage;
    const char* szTree; // the tree the document shows afterwards
};

class DamagedFileTest : public DocumentLifecycleTest,
                        public ::testing::WithParamInterface<CDamagedFile> {};

TEST_P(DamagedFileTest, OpensWithOneStopMessageAndWhatWasRead) {
    const CDamagedFile& damaged = GetParam();
    const std::string path = Write("damaged.xml", damaged.szText);
    ASSERT_TRUE(m_doc->DoNew());
    ASSERT_TRUE(m_doc->DoOpen(path)) << "a file that could be opened counts as opened";
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ(damaged.szMessage, m_platform.m_messages[0].strText);
    EXPECT_EQ(MsgIcon::Stop, m_platform.m_messages[0].icon);
    EXPECT_EQ(MsgButtons::Ok, m_platform.m_messages[0].buttons);
    EXPECT_EQ(damaged.szTree, DumpTree(m_doc->m_pRootNode));
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_EQ("damaged.xml", m_doc->GetTitle());
    EXPECT_FALSE(m_doc->IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    ReaderCodes, DamagedFileTest,
    ::testing::Values(
        CDamagedFile{"<RATEFILE><HEADER>7</HEADER>",
                     "Error reading XML file.  A start tag and end tag match were not found.",
                     "RATEFILE\n  HEADER = 7\n"},
        CDamagedFile{"<RATEFILE><CUSTOMER>1</CUSTOMER><!-- no end",
                     "Error reading XML file.  A tag may have not been closed properly.",
                     "RATEFILE\n  CUSTOMER = 1\n"},
        CDamagedFile{"<?xml version=\"1.0\"?>\n",
                     "Error reading XML file.  No root node in the XML file was found.", ""},
        CDamagedFile{"just some text",
                     "Error reading XML file.  No root node in the XML file "
                     "was found.",
                     ""}));

TEST_F(DocumentLifecycleTest, EmptyFileIsOpenedWithoutReadingAndKeepsTheTree) {
    OpenText("rates.xml", kSmallRateFile);
    CXmlNode* tree = m_doc->m_pRootNode;
    const std::string empty = Write("empty.xml", "");
    m_doc->SetModifiedFlag(true);
    m_platform.m_answers.push_back(MsgAnswer::No);
    ASSERT_TRUE(m_doc->DoOpen(empty));
    EXPECT_EQ(tree, m_doc->m_pRootNode);
    EXPECT_EQ("RATEFILE", std::string(m_doc->m_pRootNode->NameRef().GetBuffer()));
    EXPECT_EQ(empty, m_doc->GetPathName());
    EXPECT_EQ("empty.xml", m_doc->GetTitle());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ(1u, m_platform.m_messages.size()) << "only the prompt to save changes";
}

TEST_F(DocumentLifecycleTest, MissingFileOrFolderIsNotOpened) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    CXmlNode* tree = m_doc->m_pRootNode;
    for (const std::string& bad : {m_folder.File("missing.xml"), m_folder.Path().string()}) {
        m_platform.m_messages.clear();
        EXPECT_FALSE(m_doc->DoOpen(bad));
        ASSERT_EQ(1u, m_platform.m_messages.size());
        EXPECT_EQ("Failed to open document.", m_platform.m_messages[0].strText);
        EXPECT_EQ(tree, m_doc->m_pRootNode);
        EXPECT_EQ(path, m_doc->GetPathName());
        EXPECT_EQ(1, m_doc->GetRecentFileList().GetSize());
    }
}

TEST_F(DocumentLifecycleTest, OpenCommandUsesTheRateFileDialog) {
    const std::string path = Write("rates.xml", kSmallRateFile);
    EXPECT_FALSE(m_doc->OnFileOpen()) << "cancelled";
    m_platform.m_chosenFiles.push_back(path);
    EXPECT_TRUE(m_doc->OnFileOpen());
    ASSERT_EQ(2u, m_platform.m_dialogs.size());
    const CFileDialogSpec& spec = m_platform.m_dialogs[1];
    EXPECT_TRUE(spec.bOpen);
    EXPECT_TRUE(spec.bMustExist);
    EXPECT_EQ("xml", spec.strDefaultExt);
    EXPECT_EQ("Rate Files (*.xml)|*.xml|All Files (*.*)|*.*||", spec.strFilter);
    EXPECT_EQ(path, m_doc->GetPathName());
}

TEST_F(DocumentLifecycleTest, SavingANewDocumentWritesRootNodeAndMakesNoBackup) {
    ASSERT_TRUE(m_doc->DoNew());
    const std::string path = m_folder.File("new.xml");
    ASSERT_TRUE(m_doc->DoSaveAs(path));
    EXPECT_EQ(NewDocumentText(), ReadFileText(path));
    EXPECT_TRUE(m_platform.m_copies.empty());
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_EQ("new.xml", m_doc->GetTitle());
    EXPECT_EQ(std::vector<std::string>{"new.xml"}, m_folder.List());
}

TEST_F(DocumentLifecycleTest, SaveBacksUpTheFileAsItWasBeforeTheSave) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    m_doc->m_pRootNode->FindChild("HEADER", 0)->FindChild("VENDOR", 0)->SetText("Changed");
    m_doc->SetModifiedFlag(true);
    ASSERT_TRUE(m_doc->DoSave());
    EXPECT_FALSE(m_doc->IsModified());
    const std::string backup = m_folder.File(std::string("rates") + kStamp + ".xml");
    EXPECT_EQ(kSmallRateFile, ReadFileText(backup));
    EXPECT_NE(std::string::npos, ReadFileText(path).find("Changed"));
    EXPECT_EQ((std::vector<std::string>{"rates" + std::string(kStamp) + ".xml", "rates.xml"}),
              m_folder.List());
}

TEST_F(DocumentLifecycleTest, SaveAsBacksUpTheOldPathNotTheDestination) {
    const std::string oldPath = OpenText("rates.xml", kSmallRateFile);
    const std::string newPath = m_folder.File("copy.xml");
    WriteFileText(newPath, "previous content of the destination");
    ASSERT_TRUE(m_doc->DoSaveAs(newPath));
    ASSERT_EQ(1u, m_platform.m_copies.size());
    EXPECT_EQ(oldPath, m_platform.m_copies[0].first);
    EXPECT_EQ(m_folder.File(std::string("rates") + kStamp + ".xml"), m_platform.m_copies[0].second);
    EXPECT_EQ(kSmallRateFile, ReadFileText(oldPath));
    EXPECT_EQ(DumpFile(oldPath), DumpFile(newPath));
    EXPECT_EQ(newPath, m_doc->GetPathName());
    EXPECT_EQ("copy.xml", m_doc->GetTitle());
    EXPECT_EQ(newPath, m_doc->GetRecentFileList().GetAt(0));
    EXPECT_EQ(oldPath, m_doc->GetRecentFileList().GetAt(1));
}

TEST_F(DocumentLifecycleTest, TwoSavesInOneSecondShareTheBackupName) {
    OpenText("rates.xml", kSmallRateFile);
    ASSERT_TRUE(m_doc->DoSave());
    const std::string firstSave = ReadFileText(m_folder.File("rates.xml"));
    ASSERT_TRUE(m_doc->DoSave());
    EXPECT_EQ(firstSave, ReadFileText(m_folder.File(std::string("rates") + kStamp + ".xml")));
    EXPECT_EQ(2u, m_folder.List().size());
}

TEST_F(DocumentLifecycleTest, NamesOfAnyScriptOpenSaveAndBackUp) {
    const std::string name = "caf\xc3\xa9 \xe6\x96\x99\xe9\x87\x91 \xd0\xbd\xd0\xbe\xd0\xb2.xml";
    const std::string path = OpenText(name, kSmallRateFile);
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_STREQ("Veltrane",
                 m_doc->m_pRootNode->FindChild("HEADER", 0)->GetChildText("VENDOR", 0).GetBuffer());
    ASSERT_TRUE(m_doc->DoSave());
    const std::string backup = "caf\xc3\xa9 \xe6\x96\x99\xe9\x87\x91 \xd0\xbd\xd0\xbe\xd0\xb2" +
                               std::string(kStamp) + ".xml";
    EXPECT_EQ((std::vector<std::string>{backup, name}), m_folder.List());
    EXPECT_EQ(kSmallRateFile, ReadFileText(m_folder.File(backup)));
    EXPECT_EQ(DumpTree(m_doc->m_pRootNode), DumpFile(path));
}

TEST_F(DocumentLifecycleTest, NoBackupWithAutoBackupOffOrWithoutAClock) {
    m_doc->OnEditAutoBackup();
    ASSERT_FALSE(m_doc->IsAutoBackup());
    OpenText("rates.xml", kSmallRateFile);
    ASSERT_TRUE(m_doc->DoSave());
    m_doc->OnEditAutoBackup();
    m_platform.m_bClockWorks = false;
    ASSERT_TRUE(m_doc->DoSave());
    EXPECT_TRUE(m_platform.m_copies.empty());
    EXPECT_EQ(std::vector<std::string>{"rates.xml"}, m_folder.List());
}

TEST_F(DocumentLifecycleTest, FailedBackupCopyDoesNotStopTheSave) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    fs::remove(path);
    ASSERT_TRUE(m_doc->DoSave());
    EXPECT_EQ(1u, m_platform.m_copies.size());
    EXPECT_TRUE(m_platform.m_messages.empty());
    EXPECT_EQ(DumpTree(m_doc->m_pRootNode), DumpFile(path));
}

TEST_F(DocumentLifecycleTest, CompressedSaveWritesNoLayout) {
    m_doc->OnEditCompressedSave();
    OpenText("rates.xml", kSmallRateFile);
    ASSERT_TRUE(m_doc->DoSave());
    EXPECT_EQ(std::string(kHeader) + "<RATEFILE><HEADER><VENDOR>Veltrane</VENDOR></HEADER>"
                                     "<CUSTOMER><CONTRACTNUM>7</CONTRACTNUM></CUSTOMER></RATEFILE>",
              ReadFileText(m_folder.File("rates.xml")));
}

TEST_F(DocumentLifecycleTest, SaveOfANeverSavedDocumentAsksForAName) {
    ASSERT_TRUE(m_doc->DoNew());
    EXPECT_FALSE(m_doc->DoSave()) << "dialog cancelled";
    const std::string path = m_folder.File("chosen.xml");
    m_platform.m_chosenFiles.push_back(path);
    ASSERT_TRUE(m_doc->DoSave());
    ASSERT_EQ(2u, m_platform.m_dialogs.size());
    const CFileDialogSpec& spec = m_platform.m_dialogs[0];
    EXPECT_FALSE(spec.bOpen);
    EXPECT_EQ("Untitled.xml", spec.strFileName);
    EXPECT_EQ("xml", spec.strDefaultExt);
    EXPECT_EQ(NewDocumentText(), ReadFileText(path));
    EXPECT_EQ(path, m_doc->GetPathName());
}

TEST_F(DocumentLifecycleTest, SaveOfAReadOnlyFileGoesToSaveAs) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string other = m_folder.File("writable.xml");
    m_platform.m_chosenFiles.push_back(other);
    ASSERT_TRUE(m_doc->DoSave());
    ASSERT_EQ(1u, m_platform.m_dialogs.size());
    EXPECT_EQ(path, m_platform.m_dialogs[0].strFileName);
    EXPECT_EQ(kSmallRateFile, ReadFileText(path));
    EXPECT_EQ(other, m_doc->GetPathName());
}

TEST_F(DocumentLifecycleTest, PromptToSaveChangesYesNoCancel) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    EXPECT_TRUE(m_doc->SaveModified()) << "unmodified: no question";
    EXPECT_TRUE(m_platform.m_messages.empty());

    m_doc->m_pRootNode->FindChild("CUSTOMER", 0)->FindChild("CONTRACTNUM", 0)->SetText("8");
    m_doc->SetModifiedFlag(true);

    m_platform.m_answers.push_back(MsgAnswer::Cancel);
    EXPECT_FALSE(m_doc->SaveModified());
    ASSERT_EQ(1u, m_platform.m_messages.size());
    EXPECT_EQ("Save changes to " + path + "?", m_platform.m_messages[0].strText);
    EXPECT_EQ(MsgButtons::YesNoCancel, m_platform.m_messages[0].buttons);
    EXPECT_EQ(MsgIcon::Exclamation, m_platform.m_messages[0].icon);
    EXPECT_TRUE(m_doc->IsModified());

    m_platform.m_answers.push_back(MsgAnswer::No);
    EXPECT_TRUE(m_doc->SaveModified());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(kSmallRateFile, ReadFileText(path));

    m_platform.m_answers.push_back(MsgAnswer::Yes);
    EXPECT_TRUE(m_doc->SaveModified());
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_NE(std::string::npos, DumpFile(path).find("CONTRACTNUM = 8\n"));
}

TEST_F(DocumentLifecycleTest, CancelledPromptKeepsTheDocumentOnNewAndOpen) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    const std::string other = Write("other.xml", "<RATEFILE></RATEFILE>");
    CXmlNode* tree = m_doc->m_pRootNode;
    m_doc->SetModifiedFlag(true);
    m_platform.m_answers = {MsgAnswer::Cancel, MsgAnswer::Cancel, MsgAnswer::Cancel};
    EXPECT_FALSE(m_doc->DoNew());
    EXPECT_FALSE(m_doc->DoOpen(other));
    EXPECT_FALSE(m_doc->OnOpenRecentFile(0));
    EXPECT_EQ(tree, m_doc->m_pRootNode);
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(1, m_doc->GetRecentFileList().GetSize()) << "a cancelled open keeps the entry";
}

TEST_F(DocumentLifecycleTest, UntitledPromptNamesTheTitleAndYesAsksForAName) {
    ASSERT_TRUE(m_doc->DoNew());
    m_doc->SetModifiedFlag(true);
    m_platform.m_answers.push_back(MsgAnswer::Yes);
    EXPECT_FALSE(m_doc->DoNew()) << "the Save As dialog was cancelled";
    EXPECT_EQ("Save changes to Untitled?", m_platform.m_messages.at(0).strText);
    EXPECT_TRUE(m_doc->IsModified());
}

TEST_F(DocumentLifecycleTest, RecentFileThatCannotBeOpenedLeavesTheList) {
    const std::string first = OpenText("first.xml", kSmallRateFile);
    const std::string second = OpenText("second.xml", kSmallRateFile);
    fs::remove(first);
    EXPECT_FALSE(m_doc->OnOpenRecentFile(1));
    EXPECT_EQ((std::vector<std::string>{second}), m_doc->GetRecentFileList().GetEntries());
    EXPECT_EQ("", (m_platform.m_strings[{"Recent File List", "File2"}]));
    EXPECT_TRUE(m_doc->OnOpenRecentFile(0));
    EXPECT_EQ(second, m_doc->GetPathName());
}

TEST_F(DocumentLifecycleTest, RecentFileListIsReadFromTheSettings) {
    m_platform.m_strings[{"Recent File List", "File1"}] = "/srv/a.xml";
    m_platform.m_strings[{"Recent File List", "File2"}] = "/srv/b.xml";
    const CQuillmarDoc doc(m_platform);
    EXPECT_EQ((std::vector<std::string>{"/srv/a.xml", "/srv/b.xml"}),
              doc.GetRecentFileList().GetEntries());
}

TEST_F(DocumentLifecycleTest, SendOfAnUnmodifiedSavedDocumentHandsOverItsFile) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    ASSERT_TRUE(m_doc->DoSendMail());
    ASSERT_EQ(1u, m_platform.m_mails.size());
    EXPECT_EQ(path, m_platform.m_mails[0].strPath);
    EXPECT_EQ("rates.xml", m_platform.m_mails[0].strName);
    EXPECT_TRUE(m_platform.m_copies.empty());
}

TEST_F(DocumentLifecycleTest, SendOfAModifiedDocumentSavesATemporaryCopyFirst) {
    const std::string path = OpenText("rates.xml", kSmallRateFile);
    m_doc->m_pRootNode->FindChild("CUSTOMER", 0)->FindChild("CONTRACTNUM", 0)->SetText("99");
    m_doc->SetModifiedFlag(true);
    ASSERT_TRUE(m_doc->DoSendMail());
    ASSERT_EQ(1u, m_platform.m_mails.size());
    const CSentMail& mail = m_platform.m_mails[0];
    EXPECT_NE(path, mail.strPath);
    EXPECT_EQ("rates.xml", mail.strName);
    EXPECT_EQ(0u, mail.strContent.find(kHeader));
    EXPECT_NE(std::string::npos, mail.strContent.find("99"));
    EXPECT_FALSE(fs::exists(mail.strPath)) << "the temporary file is removed afterwards";
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(path, m_doc->GetPathName());
    EXPECT_EQ(kSmallRateFile, ReadFileText(path));
    // The storing steps include the backup of the document's own file.
    ASSERT_EQ(1u, m_platform.m_copies.size());
    EXPECT_EQ(path, m_platform.m_copies[0].first);
}

TEST_F(DocumentLifecycleTest, SendOfANeverSavedDocumentKeepsItUnmodified) {
    ASSERT_TRUE(m_doc->DoNew());
    ASSERT_TRUE(m_doc->DoSendMail());
    ASSERT_EQ(1u, m_platform.m_mails.size());
    EXPECT_EQ("Untitled.xml", m_platform.m_mails[0].strName);
    EXPECT_EQ(NewDocumentText(), m_platform.m_mails[0].strContent);
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_EQ("", m_doc->GetPathName());
}
