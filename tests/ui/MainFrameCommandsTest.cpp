// The main frame's commands as a user runs them: Delete and its question,
// Help, the options, Open, Save As, Merge, Print, Send, the recent files,
// the View toggles, dropped files and Exit.
#include "support/GuiTest.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/CommandIds.h"

#include <gmock/gmock.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class MainFrameCommandsTest : public GuiTest {
protected:
    std::string m_path;
    void SetUp() override {
        GuiTest::SetUp();
        m_path = m_folder.Write("rates.xml", kSmallRateFile);
        StartWith(m_path);
    }
    wxTreeItemId FirstPlan() const {
        return FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life"});
    }
};

TEST_F(MainFrameCommandsTest, DeleteIsEnabledOnlyWhileAPlanIsSelected) {
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
    EXPECT_FALSE(ToolEnabled(ID_EDIT_DELETE));
    Select(FindItem({"RATEFILE", "CUSTOMER"}));
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
    EXPECT_FALSE(ToolEnabled(ID_EDIT_DELETE));
    Select(FirstPlan());
    EXPECT_TRUE(MenuEnabled(ID_EDIT_DELETE));
    EXPECT_TRUE(ToolEnabled(ID_EDIT_DELETE));
}

TEST_F(MainFrameCommandsTest, DeleteAsksAndNoChangesNothing) {
    Select(FirstPlan());
    m_platform->m_answers.push_back(MsgAnswer::No);
    Frame().RunCommand(ID_EDIT_DELETE);
    ASSERT_EQ(1u, m_platform->m_boxes.size());
    const CShownBox& question = m_platform->m_boxes.front();
    EXPECT_EQ("Are you sure you want to delete this plan?", question.strText);
    EXPECT_EQ("Quillmar", question.strCaption);
    EXPECT_EQ(MsgButtons::YesNo, question.buttons);
    EXPECT_EQ(MsgIcon::Question, question.icon);
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("CONTRACTNUM", "CUSTOMERNAME", "INSURANCEPLAN - Credit Life",
                            "INSURANCEPLAN - Disability"));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(MenuEnabled(ID_EDIT_DELETE));
}

TEST_F(MainFrameCommandsTest, DeleteIsDisabledAfterACommittedEditUntilAPlanIsSelectedAgain) {
    Select(FirstPlan());
    Select(FindItem({"RATEFILE", "CUSTOMER", "INSURANCEPLAN - Credit Life", "DPKEY"}));
    TypeText("X");
    PressSet();
    EXPECT_FALSE(MenuEnabled(ID_EDIT_DELETE));
    Select(FirstPlan());
    EXPECT_TRUE(MenuEnabled(ID_EDIT_DELETE));
}

TEST_F(MainFrameCommandsTest, HelpShowsTheHelpTextWithItsCaption) {
    Frame().RunCommand(ID_HELP);
    ASSERT_EQ(1u, m_platform->m_boxes.size());
    const CShownBox& box = m_platform->m_boxes.front();
    EXPECT_EQ("Quillmar Help Text", box.strCaption);
    EXPECT_EQ(MsgIcon::Information, box.icon);
    EXPECT_EQ(MsgButtons::Ok, box.buttons);
    EXPECT_EQ(0u, box.strText.find("Quillmar will load a Veltrane XML insurance rate file.  Once "
                                   "loaded, some of the items may be edited."));
    EXPECT_THAT(box.strText, HasSubstr("editable.\n\nWhen a new rate file"));
}

TEST_F(MainFrameCommandsTest, OptionsToggleTheirCheckMarksAndSettingsButNotTheDocument) {
    EXPECT_FALSE(MenuChecked(ID_EDIT_COMPRESSED_SAVE));
    EXPECT_TRUE(MenuChecked(ID_EDIT_AUTO_BACKUP));
    EXPECT_TRUE(MenuEnabled(ID_EDIT_COMPRESSED_SAVE));
    Frame().RunCommand(ID_EDIT_COMPRESSED_SAVE);
    Frame().RunCommand(ID_EDIT_AUTO_BACKUP);
    EXPECT_TRUE(MenuChecked(ID_EDIT_COMPRESSED_SAVE));
    EXPECT_FALSE(MenuChecked(ID_EDIT_AUTO_BACKUP));
    EXPECT_EQ(1, (m_platform->m_ints[{"Settings", "Compression"}]));
    EXPECT_EQ(0, (m_platform->m_ints[{"Settings", "AutoBackup"}]));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ("rates.xml - Quillmar", Frame().GetTitle());
}

TEST_F(MainFrameCommandsTest, MergeIsEnabledOnlyForARateFile) {
    EXPECT_TRUE(MenuEnabled(ID_FILE_MERGE));
    Frame().RunCommand(ID_FILE_NEW);
    ProcessEvents();
    EXPECT_FALSE(MenuEnabled(ID_FILE_MERGE));
}

TEST_F(MainFrameCommandsTest, MergeShowsTheSummaryAndTheMergedTree) {
    const std::string incoming =
        m_folder.Write("new.xml", R"(<RATEFILE><HEADER><FILEVERSION>3.02</FILEVERSION></HEADER>
        <CUSTOMER><CONTRACTNUM>100</CONTRACTNUM>
          <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><DPKEY></DPKEY><PLANDESC>Vendor text</PLANDESC>
          <EXPIRATIONDATE>12/31/2031</EXPIRATIONDATE></INSURANCEPLAN></CUSTOMER>
        <CUSTOMER><CONTRACTNUM>300</CONTRACTNUM></CUSTOMER></RATEFILE>)");
    Select(FirstPlan());
    m_platform->m_chosenFiles.push_back(incoming);
    Frame().RunCommand(ID_FILE_MERGE);
    ProcessEvents();
    ASSERT_EQ(1u, m_platform->m_fileDialogs.size());
    EXPECT_EQ("XML Files (*.xml)|*.xml|All Files (*.*)|*.*||",
              m_platform->m_fileDialogs.front().strFilter);
    EXPECT_TRUE(m_platform->m_fileDialogs.front().bMustExist);
    ASSERT_EQ(1u, m_platform->m_boxes.size());
    EXPECT_THAT(m_platform->m_boxes.front().strText,
                HasSubstr("Plans imported from the merged rate file: 1\nPlans matched in the "
                          "original rate file: 1"));
    EXPECT_THAT(VisibleTree(), ElementsAre("RATEFILE [2] +"));
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE"})),
                ElementsAre("HEADER", "CUSTOMER", "CUSTOMER", "CUSTOMER"));
    // The user's description was carried over; the other plan of the
    // customer was not in the delivery and is gone.
    EXPECT_THAT(ChildLabels(FindItem({"RATEFILE", "CUSTOMER"})),
                ElementsAre("CONTRACTNUM", "CUSTOMERNAME", "INSURANCEPLAN - Credit Life"));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ("Text:", std::string(Detail().GetCaption().utf8_str()));
}

TEST_F(MainFrameCommandsTest, OpenAsksForAFileAndShowsIt) {
    const std::string other = m_folder.Write("other.xml", "<RATEFILE><HEADER></HEADER></RATEFILE>");
    m_platform->m_chosenFiles.push_back(other);
    Frame().RunCommand(ID_FILE_OPEN);
    ProcessEvents();
    ASSERT_EQ(1u, m_platform->m_fileDialogs.size());
    EXPECT_EQ("Rate Files (*.xml)|*.xml|All Files (*.*)|*.*||",
              m_platform->m_fileDialogs.front().strFilter);
    EXPECT_EQ("other.xml - Quillmar", Frame().GetTitle());
    EXPECT_THAT(ExpandedTree(), ElementsAre("RATEFILE [2]", "  HEADER [3]"));
    EXPECT_EQ("For Help, press F1", Frame().GetStatusBar()->GetStatusText(0));
}

TEST_F(MainFrameCommandsTest, ExitAsksToSaveAModifiedDocument) {
    Select(FirstPlan());
    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_EDIT_DELETE);
    ASSERT_TRUE(Doc().IsModified());
    m_platform->m_answers.push_back(MsgAnswer::Cancel);
    Frame().RunCommand(ID_APP_EXIT);
    ProcessEvents();
    ASSERT_NE(nullptr, TheApp().GetMainFrame()) << "cancel keeps the window";
    EXPECT_EQ("Save changes to " + Doc().GetPathName() + "?", m_platform->m_boxes.back().strText);
    EXPECT_EQ(MsgButtons::YesNoCancel, m_platform->m_boxes.back().buttons);

    m_platform->m_answers.push_back(MsgAnswer::Yes);
    Frame().RunCommand(ID_APP_EXIT);
    ProcessEvents();
    EXPECT_EQ(nullptr, TheApp().GetMainFrame());
    // Saved before closing: the plan is gone from the file.
    EXPECT_EQ(std::string::npos, ReadFileBytes(m_path).find("Credit Life"));
}

TEST_F(MainFrameCommandsTest, SaveAsWritesTheNewFileAndRetitles) {
    const std::string target = m_folder.File("copy");
    m_platform->m_chosenFiles.push_back(target + ".xml");
    Frame().RunCommand(ID_FILE_SAVE_AS);
    ProcessEvents();
    ASSERT_EQ(1u, m_platform->m_fileDialogs.size());
    EXPECT_FALSE(m_platform->m_fileDialogs.front().bOpen);
    EXPECT_EQ("xml", m_platform->m_fileDialogs.front().strDefaultExt);
    EXPECT_EQ("copy.xml - Quillmar", Frame().GetTitle());
    EXPECT_NE(std::string::npos, ReadFileBytes(target + ".xml").find("<RATEFILE>"));
}

TEST_F(MainFrameCommandsTest, RecentFileListShowsFourFilesNewestFirst) {
    std::vector<std::string> paths;
    for (int i = 1; i <= 5; ++i) {
        paths.push_back(m_folder.Write("r" + std::to_string(i) + ".xml", "<RATEFILE></RATEFILE>"));
        m_platform->m_chosenFiles.push_back(paths.back());
        Frame().RunCommand(ID_FILE_OPEN);
    }
    ProcessEvents();
    const wxString folder = wxGetCwd();
    std::vector<std::string> labels;
    for (const int command :
         {ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE2, ID_FILE_MRU_FILE3, ID_FILE_MRU_FILE4}) {
        labels.push_back(MenuLabel(command));
        EXPECT_TRUE(MenuEnabled(command));
    }
    ASSERT_EQ(4u, labels.size());
    EXPECT_EQ(0u, labels[0].find("&1 "));
    EXPECT_THAT(labels[0], HasSubstr("r5.xml"));
    EXPECT_THAT(labels[3], HasSubstr("r2.xml"));
    for (const std::string& label : labels) {
        EXPECT_LE(label.size(), 3u + 30u) << label;
    }
    // Choosing an entry opens its file.
    Frame().RunCommand(ID_FILE_MRU_FILE4);
    ProcessEvents();
    EXPECT_EQ("r2.xml - Quillmar", Frame().GetTitle());
    EXPECT_THAT(MenuLabel(ID_FILE_MRU_FILE1), HasSubstr("r2.xml"));
}

TEST_F(MainFrameCommandsTest, PrintGoesThroughThePrintDialogToTheListing) {
    Frame().RunCommand(ID_FILE_PRINT);
    ASSERT_EQ(1u, m_platform->m_printJobs.size());
    EXPECT_TRUE(m_platform->m_printJobs.front().bShowDialog);
    EXPECT_EQ("rates.xml", m_platform->m_printJobs.front().strJobName);
    const auto& texts = m_platform->m_printer.m_texts;
    ASSERT_FALSE(texts.empty());
    // The indented form pads a line to the column of its text.
    EXPECT_EQ(0u, texts.front().strText.find("<RATEFILE> "));
    EXPECT_EQ(132, texts.front().x);
    EXPECT_EQ(-240, texts.front().y);
    EXPECT_EQ("EndDoc", m_platform->m_printer.m_calls.back());
    EXPECT_EQ("For Help, press F1", Frame().GetStatusBar()->GetStatusText(0));
    Frame().RunCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(1, m_platform->m_nPrintSetups);
}

TEST_F(MainFrameCommandsTest, CancelledPrintDialogPrintsNothing) {
    m_platform->m_bPrintDialogAccepted = false;
    Frame().RunCommand(ID_FILE_PRINT);
    EXPECT_TRUE(m_platform->m_printer.m_texts.empty());
}

TEST_F(MainFrameCommandsTest, SendHandsTheDocumentsFileToMail) {
    Frame().RunCommand(ID_FILE_SEND_MAIL);
    ASSERT_EQ(1u, m_platform->m_mails.size());
    EXPECT_EQ(Doc().GetPathName(), m_platform->m_mails.front().first);
    EXPECT_EQ("rates.xml", m_platform->m_mails.front().second);
}

TEST_F(MainFrameCommandsTest, ViewCommandsHideAndShowTheBars) {
    Frame().RunCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(Frame().GetToolBar()->IsShown());
    EXPECT_FALSE(MenuChecked(ID_VIEW_TOOLBAR));
    Frame().RunCommand(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(Frame().GetStatusBar()->IsShown());
    EXPECT_FALSE(MenuChecked(ID_VIEW_STATUS_BAR));
    Frame().RunCommand(ID_VIEW_TOOLBAR);
    Frame().RunCommand(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(Frame().GetToolBar()->IsShown());
    EXPECT_TRUE(MenuChecked(ID_VIEW_STATUS_BAR));
}

TEST_F(MainFrameCommandsTest, DroppedFilesOpenOneAfterTheOther) {
    wxArrayString files;
    files.push_back(m_folder.Write("a.xml", "<RATEFILE><A></A></RATEFILE>"));
    files.push_back(m_folder.Write("b.xml", "<RATEFILE><B></B></RATEFILE>"));
    wxDropFilesEvent drop(wxEVT_DROP_FILES, static_cast<int>(files.size()),
                          new wxString[2]{files[0], files[1]});
    Frame().ProcessWindowEvent(drop);
    ProcessEvents();
    EXPECT_EQ("b.xml - Quillmar", Frame().GetTitle());
    EXPECT_THAT(ExpandedTree(), ElementsAre("RATEFILE [2]", "  B [0]"));
    EXPECT_THAT(MenuLabel(ID_FILE_MRU_FILE2), HasSubstr("a.xml"));
}

TEST_F(MainFrameCommandsTest, MenuPromptShowsInTheStatusBarAndTheIdleTextReturns) {
    wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, WxIdFromCommand(ID_FILE_SAVE));
    Frame().ProcessWindowEvent(highlight);
    EXPECT_EQ("Save the active document", Frame().GetStatusBar()->GetStatusText(0));
    wxMenuEvent close(wxEVT_MENU_CLOSE, wxID_ANY, Frame().GetMenuBar()->GetMenu(0));
    Frame().ProcessWindowEvent(close);
    EXPECT_EQ("For Help, press F1", Frame().GetStatusBar()->GetStatusText(0));
}

} // namespace
