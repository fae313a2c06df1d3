#include "support/GuiTest.h"

#include "ui/CommandIds.h"
#include "ui/TextCodec.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Starts the toolkit once for the test program, with settings and desktop
// files kept in a folder of the test's own.
class CWxEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_home = std::make_unique<CTestFolder>();
        setenv("XDG_CONFIG_HOME", m_home->File("config").c_str(), 1);
        setenv("XDG_DATA_HOME", m_home->File("data").c_str(), 1);
        // A failed wx assertion fails the test instead of waiting in a box.
        wxSetAssertHandler([](const wxString& file, int line, const wxString& function,
                              const wxString& condition, const wxString& message) {
            ADD_FAILURE_AT(file.utf8_str(), line)
                << "wx assertion in " << function.utf8_str() << ": " << condition.utf8_str() << " "
                << message.utf8_str();
        });
        m_toolkit = std::make_unique<CHeadlessToolkit>(new CTestApp, "ui_tests");
        if (!m_toolkit->IsStarted()) {
            // GoogleTest would mark every test skipped after a failed set-up,
            // and a skipped test does not fail the run: this one must.
            TearDown();
            std::fprintf(stderr, "The toolkit could not be started: no test can run.\n");
            std::exit(EXIT_FAILURE);
        }
    }
    void TearDown() override {
        m_toolkit.reset();
        m_home.reset();
    }

private:
    std::unique_ptr<CTestFolder> m_home;
    std::unique_ptr<CHeadlessToolkit> m_toolkit;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new CWxEnvironment);

} // namespace

const char* const kSmallRateFile = R"(<?xml version="1.0"?>
<RATEFILE>
  <HEADER>
    <VENDOR>Veltrane</VENDOR>
    <FILEVERSION>3.01</FILEVERSION>
  </HEADER>
  <CUSTOMER>
    <CONTRACTNUM>100</CONTRACTNUM>
    <CUSTOMERNAME>Alpha Motors</CUSTOMERNAME>
    <INSURANCEPLAN>
      <PLANKEY>A-1</PLANKEY>
      <DPKEY>D1</DPKEY>
      <PLANDESC>Credit Life</PLANDESC>
      <EXPIRATIONDATE>12/31/2030</EXPIRATIONDATE>
    </INSURANCEPLAN>
    <INSURANCEPLAN>
      <PLANKEY>A-2</PLANKEY>
      <DPKEY>D2</DPKEY>
      <PLANDESC>Disability</PLANDESC>
      <EXPIRATIONDATE>12/31/2030</EXPIRATIONDATE>
    </INSURANCEPLAN>
  </CUSTOMER>
  <CUSTOMER>
    <CONTRACTNUM>200</CONTRACTNUM>
    <INSURANCEPLAN>
      <PLANKEY>B-1</PLANKEY>
      <DPKEY>E1</DPKEY>
      <PLANDESC>GAP</PLANDESC>
      <EXPIRATIONDATE>12/31/2030</EXPIRATIONDATE>
    </INSURANCEPLAN>
  </CUSTOMER>
</RATEFILE>
)";

CQuillmarApp& TheApp() {
    return *static_cast<CQuillmarApp*>(wxTheApp);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const wxMilliClock_t end = wxGetLocalTimeMillis().GetValue() + timeoutMs;
    while (true) {
        ProcessEvents();
        if (condition()) {
            return true;
        }
        if (wxGetLocalTimeMillis().GetValue() >= end) {
            return false;
        }
        wxMilliSleep(10);
    }
}

CTestFolder::CTestFolder() {
    std::random_device seed;
    std::mt19937 random(seed());
    const fs::path base = fs::temp_directory_path();
    while (m_path.empty()) {
        fs::path candidate = base / ("quillmar-ui-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            m_path = candidate;
        }
    }
}

CTestFolder::~CTestFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

std::string CTestFolder::File(const std::string& name) const {
    return (m_path / name).string();
}

std::string CTestFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void GuiTest::SetUp() {
    auto platform = std::make_unique<CTestPlatform>();
    m_platform = platform.get();
    TheApp().ExitInstance();
    TheApp().SetPlatform(std::move(platform));
}

void GuiTest::TearDown() {
    TheApp().ExitInstance();
    ProcessEvents();
}

bool GuiTest::Start(const std::vector<std::string>& params) {
    TheApp().ExitInstance();
    const bool running = TheApp().InitInstance(ParseCommandLine(params));
    ProcessEvents();
    return running;
}

void GuiTest::StartWith(const std::string& path) {
    ASSERT_TRUE(Start({path}));
    ASSERT_NE(nullptr, TheApp().GetMainFrame());
}

CMainFrame& GuiTest::Frame() const {
    CMainFrame* frame = TheApp().GetMainFrame();
    EXPECT_NE(nullptr, frame);
    return *frame;
}

CLeftView& GuiTest::Tree() const {
    return *Frame().GetLeftPane();
}

CQuillmarView& GuiTest::Detail() const {
    return *Frame().GetDetailPane();
}

CQuillmarDoc& GuiTest::Doc() const {
    return *TheApp().GetDocument();
}

std::string GuiTest::Label(const wxTreeItemId& item) const {
    return std::string(Tree().GetItemText(item).utf8_str());
}

std::vector<std::string> GuiTest::ChildLabels(const wxTreeItemId& item) const {
    Tree().Expand(item);
    std::vector<std::string> labels;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = Tree().GetFirstChild(item, cookie); child.IsOk();
         child = Tree().GetNextChild(item, cookie)) {
        labels.push_back(Label(child));
    }
    return labels;
}

wxTreeItemId GuiTest::FindItem(const std::vector<std::string>& labels) const {
    wxTreeItemId item = Tree().GetRootItem();
    if (labels.empty() || !item.IsOk() || Label(item) != labels.front()) {
        return wxTreeItemId();
    }
    for (std::size_t i = 1; i < labels.size(); ++i) {
        Tree().Expand(item);
        wxTreeItemIdValue cookie;
        wxTreeItemId found;
        for (wxTreeItemId child = Tree().GetFirstChild(item, cookie); child.IsOk();
             child = Tree().GetNextChild(item, cookie)) {
            if (Label(child) == labels[i]) {
                found = child;
                break;
            }
        }
        if (!found.IsOk()) {
            return wxTreeItemId();
        }
        item = found;
    }
    return item;
}

void GuiTest::Select(const wxTreeItemId& item) const {
    ASSERT_TRUE(item.IsOk());
    Tree().SelectItem(item);
    ProcessEvents();
}

namespace {

void Describe(const wxTreeCtrl& tree, const wxTreeItemId& item, int depth, bool expandAll,
              std::vector<std::string>& lines) {
    std::string line(static_cast<std::size_t>(depth) * 2, ' ');
    line += tree.GetItemText(item).utf8_str();
    line += " [" + std::to_string(tree.GetItemImage(item)) + "]";
    const bool expanded = tree.IsExpanded(item);
    if (tree.ItemHasChildren(item) && !expanded) {
        line += " +";
    }
    if (tree.IsSelected(item)) {
        line += " *";
    }
    lines.push_back(line);
    if (!expanded) {
        return;
    }
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree.GetFirstChild(item, cookie); child.IsOk();
         child = tree.GetNextChild(item, cookie)) {
        Describe(tree, child, depth + 1, expandAll, lines);
    }
}

} // namespace

std::vector<std::string> GuiTest::VisibleTree() const {
    std::vector<std::string> lines;
    const wxTreeItemId root = Tree().GetRootItem();
    if (root.IsOk()) {
        Describe(Tree(), root, 0, false, lines);
    }
    return lines;
}

std::vector<std::string> GuiTest::ExpandedTree() const {
    const wxTreeItemId root = Tree().GetRootItem();
    if (root.IsOk()) {
        Tree().ExpandAll();
    }
    return VisibleTree();
}

bool GuiTest::MenuEnabled(int command) const {
    Frame().DoMenuUpdates();
    return Frame().GetMenuBar()->IsEnabled(WxIdFromCommand(command));
}

bool GuiTest::MenuChecked(int command) const {
    Frame().DoMenuUpdates();
    return Frame().GetMenuBar()->IsChecked(WxIdFromCommand(command));
}

bool GuiTest::ToolEnabled(int command) const {
    wxToolBar* toolBar = Frame().GetToolBar();
    toolBar->UpdateWindowUI(wxUPDATE_UI_NONE);
    return toolBar->GetToolEnabled(WxIdFromCommand(command));
}

std::string GuiTest::MenuLabel(int command) const {
    wxMenuItem* item = Frame().GetMenuBar()->FindItem(WxIdFromCommand(command));
    return item ? std::string(item->GetItemLabel().utf8_str()) : std::string();
}

void GuiTest::PressSet() const {
    wxButton* button = Detail().GetSetButton();
    ASSERT_TRUE(button->IsEnabled()) << "the Set button is disabled";
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
    ProcessEvents();
}

std::string GuiTest::EditText() const {
    return std::string(Detail().GetEdit()->GetValue().utf8_str());
}

void GuiTest::TypeText(const std::string& utf8) const {
    wxTextCtrl* edit = Detail().GetEdit();
    ASSERT_TRUE(edit->IsEnabled()) << "the edit box is disabled";
    edit->SetValue(wxString::FromUTF8(utf8));
    ProcessEvents();
}
