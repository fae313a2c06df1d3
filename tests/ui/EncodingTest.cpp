// A document's bytes on screen: UTF-8 when the file is valid UTF-8, else
// Windows-1252, and edits converted back with the same encoding; characters
// the file cannot hold are refused, not replaced.
#include "support/GuiTest.h"

#include "resources/Resource.h"
#include "ui/TextCodec.h"

#include <gmock/gmock.h>
#include <wx/button.h>
#include <wx/textctrl.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class EncodingTest : public GuiTest {
protected:
    const CXmlNode* Plan() const {
        return Doc().m_pRootNode->FindChild("CUSTOMER", 0)->FindChild("INSURANCEPLAN", 0);
    }
    std::string PlanValue(const char* name) const {
        return Plan()->FindChild(name, 0)->TextRef().GetBuffer();
    }
    void SelectInPlan(const std::string& label, const std::string& name) {
        Select(FindItem({"RATEFILE", "CUSTOMER", label, name}));
    }
};

// "Caf\xE9 \x80" is "Café €" in Windows-1252 and not valid UTF-8.
const char* const kWindows1252File = "<RATEFILE><CUSTOMER><INSURANCEPLAN>"
                                     "<DPKEY>K\x80</DPKEY><PLANDESC>Caf\xE9</PLANDESC>"
                                     "</INSURANCEPLAN></CUSTOMER></RATEFILE>";
const char* const kUtf8File = "<RATEFILE><CUSTOMER><INSURANCEPLAN>"
                              "<DPKEY>K\xE2\x82\xAC</DPKEY><PLANDESC>Caf\xC3\xA9</PLANDESC>"
                              "</INSURANCEPLAN></CUSTOMER></RATEFILE>";

TEST_F(EncodingTest, Windows1252FileShowsItsCharacters) {
    StartWith(m_folder.Write("cp.xml", kWindows1252File));
    EXPECT_EQ(TextEncoding::kWindows1252, Frame().GetCodec().GetEncoding());
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("INSURANCEPLAN - Caf\xC3\xA9"));
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "DPKEY");
    EXPECT_EQ("K\xE2\x82\xAC", EditText());
}

TEST_F(EncodingTest, Utf8FileShowsItsCharacters) {
    StartWith(m_folder.Write("utf8.xml", kUtf8File));
    EXPECT_EQ(TextEncoding::kUtf8, Frame().GetCodec().GetEncoding());
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "DPKEY");
    EXPECT_EQ("K\xE2\x82\xAC", EditText());
}

TEST_F(EncodingTest, EditsOfAWindows1252FileAreStoredInWindows1252) {
    StartWith(m_folder.Write("cp.xml", kWindows1252File));
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "PLANDESC");
    TypeText("Cr\xC3\xA9"
             "dit \xE2\x82\xAC"); // "Crédit €"
    PressSet();
    EXPECT_EQ("Cr\xE9"
              "dit \x80",
              PlanValue("PLANDESC"));
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("INSURANCEPLAN - Cr\xC3\xA9"
                            "dit \xE2\x82\xAC"));
}

TEST_F(EncodingTest, CharacterTheFileCannotHoldIsRefusedAndNothingIsStored) {
    StartWith(m_folder.Write("cp.xml", kWindows1252File));
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "PLANDESC");
    TypeText("\xC5\x81\xC3\xB3"
             "d\xC5\xBA"); // "Łódź": Ł and ź are not in Windows-1252
    PressSet();
    ASSERT_FALSE(m_platform->m_boxes.empty());
    const CShownBox& box = m_platform->m_boxes.back();
    EXPECT_THAT(box.strText, HasSubstr("\"\xC5\x81\xC5\xBA\""));
    EXPECT_THAT(box.strText, HasSubstr("was not stored"));
    EXPECT_EQ(MsgIcon::Exclamation, box.icon);
    EXPECT_EQ("Caf\xE9", PlanValue("PLANDESC"));
    EXPECT_FALSE(Doc().IsModified());
    // The typed text stays in the box for the user to change.
    EXPECT_EQ("\xC5\x81\xC3\xB3"
              "d\xC5\xBA",
              EditText());
}

TEST_F(EncodingTest, EditsOfAUtf8FileAreStoredInUtf8) {
    StartWith(m_folder.Write("utf8.xml", kUtf8File));
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "PLANDESC");
    TypeText("\xC5\x81\xC3\xB3"
             "d\xC5\xBA");
    PressSet();
    EXPECT_EQ("\xC5\x81\xC3\xB3"
              "d\xC5\xBA",
              PlanValue("PLANDESC"));
    EXPECT_TRUE(m_platform->m_boxes.empty());
}

TEST_F(EncodingTest, ShownValueSetWithoutAnEditIsWrittenBackByteForByte) {
    // A UTF-8 document with one text that is not UTF-8, as a merge of a
    // Windows-1252 delivery leaves it: shown as Windows-1252, and kept as it
    // is when set without an edit.
    StartWith(m_folder.Write("utf8.xml", kUtf8File));
    Doc()
        .m_pRootNode->FindChild("CUSTOMER", 0)
        ->FindChild("INSURANCEPLAN", 0)
        ->FindChild("DPKEY", 0)
        ->SetText("\xE9t\xE9");
    Doc().UpdateAllViews(nullptr, kHintRebuildTree);
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "DPKEY");
    EXPECT_EQ("\xC3\xA9t\xC3\xA9", EditText());
    PressSet();
    EXPECT_EQ("\xE9t\xE9", PlanValue("DPKEY"));
    // Edited, the text takes the document's encoding.
    TypeText("\xC3\xA9t\xC3\xA9!");
    PressSet();
    EXPECT_EQ("\xC3\xA9t\xC3\xA9!", PlanValue("DPKEY"));
}

TEST_F(EncodingTest, SavedWindows1252FileKeepsItsEncoding) {
    const std::string path = m_folder.Write("cp.xml", kWindows1252File);
    StartWith(path);
    SelectInPlan("INSURANCEPLAN - Caf\xC3\xA9", "DPKEY");
    TypeText("\xC3\xBC"); // "ü"
    PressSet();
    Frame().RunCommand(ID_FILE_SAVE);
    const std::string saved = ReadFileBytes(path);
    EXPECT_NE(std::string::npos, saved.find("<DPKEY>"));
    EXPECT_NE(std::string::npos, saved.find("\xFC"));
    EXPECT_NE(std::string::npos, saved.find("Caf\xE9"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(EncodingTest, NewDocumentIsUtf8AfterAWindows1252File) {
    StartWith(m_folder.Write("cp.xml", kWindows1252File));
    Frame().RunCommand(ID_FILE_NEW);
    EXPECT_EQ(TextEncoding::kUtf8, Frame().GetCodec().GetEncoding());
}

} // namespace
