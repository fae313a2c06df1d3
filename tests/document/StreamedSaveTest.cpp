// Saves write the file's text as it is made: the file holds exactly the text
// SerializeStore builds, a text a string could not hold is refused as before,
// and what building the text does to the tree happens on every save.
#include "document/QuillmarDoc.h"
#include "document/SafeFileWriter.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "tests/xml/CapacityLimit.h"
#include "xml/XmlTextSink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* kRateFile =
    "<?xml version=\"1.0\"?>\n<RATEFILE><HEADER><VENDOR>Tire & Wheel</VENDOR></HEADER>"
    "<CUSTOMER><CONTRACTNUM>7</CONTRACTNUM><INSURANCEPLAN><PLANKEY>K1</PLANKEY>"
    "<PLANDESC>a &lt;b&gt; c</PLANDESC></INSURANCEPLAN></CUSTOMER></RATEFILE>\n";

// The real file operations, counting the pieces written; the piece of a
// given number fails.
class CCountingFiles : public CFileLayer {
public:
    int m_nPieces = 0;
    int m_nFailingPiece = 0;
    bool WriteAll(std::FILE* file, const char* bytes, std::size_t size) override {
        return ++m_nPieces != m_nFailingPiece && CFileLayer::WriteAll(file, bytes, size);
    }
};

class StreamedSaveTest : public ::testing::Test {
protected:
    CTestFolder m_folder;
    CFakePlatform m_platform;
    std::string m_path = m_folder.File("rates.xml");

    void SetUp() override {
        m_platform.m_ints[{"Settings", "AutoBackup"}] = 0;
        WriteFileText(m_path, kRateFile);
    }

    // The text SerializeStore builds for the file as opened now.
    std::string Built(bool compressed) {
        CFakePlatform platform;
        platform.m_ints[{"Settings", "AutoBackup"}] = 0;
        platform.m_ints[{"Settings", "Compression"}] = compressed ? 1 : 0;
        CQuillmarDoc doc(platform);
        EXPECT_TRUE(doc.DoOpen(m_path));
        CXmlString text;
        EXPECT_TRUE(doc.SerializeStore(text));
        return text.GetBuffer();
    }
};

TEST_F(StreamedSaveTest, FileHoldsTheTextSerializeStoreBuilds) {
    for (const bool compressed : {false, true}) {
        for (const char* sample : {"samples/rates.xml", "samples/rates-new.xml"}) {
            std::filesystem::copy_file(SourceFile(sample), m_path,
                                       std::filesystem::copy_options::overwrite_existing);
            const std::string expected = Built(compressed);
            m_platform.m_ints[{"Settings", "Compression"}] = compressed ? 1 : 0;
            CQuillmarDoc doc(m_platform);
            ASSERT_TRUE(doc.DoOpen(m_path));
            const std::string saved = m_folder.File("saved.xml");
            ASSERT_TRUE(doc.DoSaveAs(saved));
            EXPECT_EQ(ReadFileText(saved), expected) << sample << " " << compressed;
        }
    }
}

TEST_F(StreamedSaveTest, LargeTextsGoToTheFileInPieces) {
    CQuillmarDoc doc(m_platform);
    ASSERT_TRUE(doc.DoOpen(m_path));
    for (int i = 0; i < 5000; ++i) {
        doc.m_pRootNode->AddChild("CUSTOMER", "a customer with a text of some length");
    }
    CXmlString text;
    ASSERT_TRUE(doc.SerializeStore(text));
    CCountingFiles files;
    doc.SetFileLayer(files);
    ASSERT_TRUE(doc.OnSaveDocument(m_path));
    EXPECT_GT(files.m_nPieces, 1);
    EXPECT_EQ(ReadFileText(m_path), text.GetBuffer());

    // A piece that cannot be written leaves the file as it was.
    doc.m_pRootNode->AddChild("NOTE", "changed");
    CCountingFiles failing;
    failing.m_nFailingPiece = 2;
    doc.SetFileLayer(failing);
    EXPECT_FALSE(doc.OnSaveDocument(m_path));
    EXPECT_EQ(failing.m_nPieces, 2) << "nothing is written after a failed piece";
    EXPECT_EQ(ReadFileText(m_path), text.GetBuffer());
    EXPECT_EQ(m_folder.List(), std::vector<std::string>{"rates.xml"});
}

TEST_F(StreamedSaveTest, TextsTooLongToBeOpenedAgainAreRefused) {
    // A customer text that brings the whole text to lengths around the
    // longest file that can be opened, which is shorter than the longest
    // text a string may hold.
    CQuillmarDoc doc(m_platform);
    ASSERT_TRUE(doc.DoOpen(m_path));
    CXmlNode* note = doc.m_pRootNode->AddChild("NOTE", "");
    const CapacityLimit limit(110000);
    ASSERT_LT(CXmlDocument::GetFileTextLimit(), CXmlString::GetLengthLimit());
    CXmlString base;
    ASSERT_TRUE(doc.SerializeStore(base));
    // The text grows by the note's text, less the blanks that line it up.
    const int32_t room = CXmlDocument::GetFileTextLimit() - base.GetLength();
    int completeSaves = 0;
    int refusedSaves = 0;
    for (int32_t extra = room - 5; extra <= room + 40; ++extra) {
        note->SetText(std::string(static_cast<size_t>(extra), 'n').c_str());
        CXmlString text;
        const bool complete = doc.SerializeStore(text);
        const std::string before = ReadFileText(m_path);
        m_platform.m_messages.clear();
        ASSERT_EQ(doc.OnSaveDocument(m_path), complete) << extra;
        EXPECT_EQ(ReadFileText(m_path), complete ? std::string(text.GetBuffer()) : before);
        // What was saved opens again.
        CXmlDocument saved;
        EXPECT_TRUE(saved.Load(m_path.c_str())) << extra;
        EXPECT_EQ(m_platform.m_messages.size(), complete ? 0u : 1u);
        EXPECT_EQ(m_folder.List(), std::vector<std::string>{"rates.xml"});
        ++(complete ? completeSaves : refusedSaves);
    }
    EXPECT_GT(completeSaves, 0);
    EXPECT_GT(refusedSaves, 0);
}

TEST_F(StreamedSaveTest, ARefusedSaveEncodesTheTextsAsBuildingTheTextDoes) {
    CQuillmarDoc doc(m_platform);
    ASSERT_TRUE(doc.DoOpen(m_path));
    CXmlNode* vendor = doc.m_pRootNode->FindChild("HEADER", 0)->FindChild("VENDOR", 0);
    ASSERT_TRUE(vendor->TextRef().Equals("Tire & Wheel"));
    std::filesystem::create_directory(m_folder.File("folder.xml"));
    EXPECT_FALSE(doc.OnSaveDocument(m_folder.File("folder.xml")));
    EXPECT_TRUE(vendor->TextRef().Equals("Tire &amp; Wheel"));
}

TEST_F(StreamedSaveTest, WriterThatGivesUpLeavesTheFileAsItWas) {
    const std::string before = ReadFileText(m_path);
    const bool written = WriteFileReplacing(
        m_path, [](CXmlTextSink& sink) { return sink.Put("part of a text", 14) && false; });
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFileText(m_path), before);
    EXPECT_EQ(m_folder.List(), std::vector<std::string>{"rates.xml"});

    EXPECT_TRUE(WriteFileReplacing(
        m_path, [](CXmlTextSink& sink) { return sink.Put("one ", 4) && sink.Put("two", 3); }));
    EXPECT_EQ(ReadFileText(m_path), "one two");
}

} // namespace
