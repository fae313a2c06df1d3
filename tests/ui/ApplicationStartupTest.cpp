// The start-up from the command line, the About box, and the end of a run.
#include "support/GuiTest.h"

#include "resources/Resource.h"
#include "ui/AboutDlg.h"
#include "ui/CommandIds.h"

#include <gmock/gmock.h>
#include <wx/stattext.h>

#include <filesystem>
#include <fstream>

using ::testing::ElementsAre;

namespace {

class ApplicationStartupTest : public GuiTest {};

TEST_F(ApplicationStartupTest, NoArgumentsShowAnUntitledDocumentWithTheRootNode) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().IsShown());
    EXPECT_EQ("Untitled - Quillmar", Frame().GetTitle());
    EXPECT_THAT(VisibleTree(), ElementsAre("ROOTNODE [0]"));
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(ApplicationStartupTest, FilePathOpensTheFile) {
    const std::string path = m_folder.Write("rates.xml", kSmallRateFile);
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ("rates.xml - Quillmar", Frame().GetTitle());
    EXPECT_EQ(path, Doc().GetPathName());
}

TEST_F(ApplicationStartupTest, AbsolutePathIsAFileNotASwitch) {
    const std::string path = m_folder.Write("p", kSmallRateFile); // a file named like a switch
    ASSERT_EQ('/', path.front());
    ASSERT_TRUE(Start({path}));
    EXPECT_EQ("p - Quillmar", Frame().GetTitle());
}

TEST_F(ApplicationStartupTest, FileThatCannotBeOpenedEndsTheStartUp) {
    EXPECT_FALSE(Start({m_folder.File("missing.xml")}));
    EXPECT_THAT(m_platform->BoxTexts(), ElementsAre("Failed to open document."));
    EXPECT_EQ(1, TheApp().GetExitCode());
    ASSERT_NE(nullptr, TheApp().GetMainFrame());
    EXPECT_FALSE(TheApp().GetMainFrame()->IsShown());
}

TEST_F(ApplicationStartupTest, SwitchPPrintsWithoutADialogAndEnds) {
    const std::string path = m_folder.Write("rates.xml", kSmallRateFile);
    EXPECT_FALSE(Start({"/p", path}));
    ASSERT_EQ(1u, m_platform->m_printJobs.size());
    EXPECT_FALSE(m_platform->m_printJobs.front().bShowDialog);
    EXPECT_EQ("", m_platform->m_printJobs.front().strPrinterName);
    EXPECT_FALSE(m_platform->m_printer.m_texts.empty());
    EXPECT_EQ(nullptr, TheApp().GetMainFrame()) << "no window is left open";
    EXPECT_EQ(0, TheApp().GetExitCode());
}

TEST_F(ApplicationStartupTest, SwitchPtPrintsOnTheNamedPrinter) {
    const std::string path = m_folder.Write("rates.xml", kSmallRateFile);
    EXPECT_FALSE(Start({"-pt", path, "Office Laser", "laser.drv", "LPT1:"}));
    ASSERT_EQ(1u, m_platform->m_printJobs.size());
    const CPrintJobSpec& job = m_platform->m_printJobs.front();
    EXPECT_FALSE(job.bShowDialog);
    EXPECT_EQ("Office Laser", job.strPrinterName);
    EXPECT_EQ("laser.drv", job.strDriverName);
    EXPECT_EQ("LPT1:", job.strPortName);
}

TEST_F(ApplicationStartupTest, PrintSwitchesMustBeLowerCase) {
    const std::string path = m_folder.Write("rates.xml", kSmallRateFile);
    EXPECT_TRUE(Start({"/P", path}));
    EXPECT_TRUE(m_platform->m_printJobs.empty());
    EXPECT_EQ("rates.xml - Quillmar", Frame().GetTitle());
}

// The settings file also holds the recent-file list: unregistering the file
// types keeps it, and says so.
TEST_F(ApplicationStartupTest, UnregisterRemovesTheRegistrationAndSaysSo) {
    const std::filesystem::path settings =
        std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "Quillmar" / "Quillmar.conf";
    std::filesystem::create_directories(settings.parent_path());
    const std::string kept = "[Recent File List]\nFile1=/srv/rates.xml\n";
    { std::ofstream(settings) << kept; }
    EXPECT_FALSE(Start({"/UNREGISTER"}));
    EXPECT_THAT(m_platform->BoxTexts(),
                ElementsAre("Quillmar's file associations have been removed.  Its settings and "
                            "recent-file list were kept."));
    EXPECT_EQ(nullptr, TheApp().GetMainFrame());
    EXPECT_EQ(kept, ReadFileBytes(settings.string()));
}

TEST_F(ApplicationStartupTest, UnregserverWithEmbeddingSaysNothing) {
    EXPECT_FALSE(Start({"-unregserver", "-Embedding"}));
    EXPECT_TRUE(m_platform->m_boxes.empty());
}

TEST_F(ApplicationStartupTest, UnregisterRemovesTheUsersDesktopAssociations) {
    const std::filesystem::path data = std::getenv("XDG_DATA_HOME");
    const std::filesystem::path config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(data / "applications");
    std::filesystem::create_directories(config);
    { std::ofstream(data / "applications" / "quillmar.desktop") << "[Desktop Entry]\n"; }
    {
        std::ofstream(config / "mimeapps.list")
            << "[Default Applications]\napplication/xml=quillmar.desktop;other.desktop;\n"
               "text/xml=quillmar.desktop;\n";
    }
    EXPECT_FALSE(Start({"/Unregister"}));
    EXPECT_FALSE(std::filesystem::exists(data / "applications" / "quillmar.desktop"));
    EXPECT_EQ("[Default Applications]\napplication/xml=other.desktop;\n",
              ReadFileBytes((config / "mimeapps.list").string()));
}

TEST_F(ApplicationStartupTest, AboutBoxShowsItsTextsAndTheDataProcessorVersion) {
    ASSERT_TRUE(Start());
    std::vector<std::string> texts;
    wxString caption;
    bool defaultOk = false;
    // The box runs its own modal loop; it is looked at and closed from there.
    TheApp().CallAfter([&] {
        auto* about = dynamic_cast<CAboutDlg*>(wxWindow::FindWindowById(IDD_ABOUTBOX));
        ASSERT_NE(nullptr, about);
        caption = about->GetTitle();
        for (const wxWindow* child : about->GetChildren()) {
            if (const auto* text = dynamic_cast<const wxStaticText*>(child)) {
                texts.push_back(std::string(text->GetLabel().utf8_str()));
            }
        }
        const wxWindow* ok = about->FindWindow(wxID_OK);
        defaultOk = ok && about->GetDefaultItem() == ok;
        about->EndModal(wxID_OK);
    });
    Frame().RunCommand(ID_APP_ABOUT);
    EXPECT_EQ("About Quillmar", caption);
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ("Quillmar Version 3.0", texts[0]);
    EXPECT_NE(std::string::npos, texts[1].find("Copyright"));
    EXPECT_EQ("Data Processor Version", texts[2]);
    EXPECT_TRUE(defaultOk);
}

TEST_F(ApplicationStartupTest, RecentFilesComeFromTheSettings) {
    const std::string path = m_folder.Write("kept.xml", kSmallRateFile);
    m_platform->m_strings[{"Recent File List", "File1"}] = path;
    ASSERT_TRUE(Start());
    EXPECT_EQ(0u, MenuLabel(ID_FILE_MRU_FILE1).find("&1 "));
    EXPECT_NE(std::string::npos, MenuLabel(ID_FILE_MRU_FILE1).find("kept.xml"));
    Frame().RunCommand(ID_FILE_MRU_FILE1);
    EXPECT_EQ("kept.xml - Quillmar", Frame().GetTitle());
}

} // namespace
