// The GUI tests' fixture: the application started in-process on a scripted
// platform, with the real main frame and panes, and helpers that look at the
// windows as a user would.
#pragma once

#include "document/QuillmarDoc.h"
#include "support/TestPlatform.h"
#include "ui/HeadlessToolkit.h"
#include "ui/LeftView.h"
#include "ui/MainFrame.h"
#include "ui/QuillmarApp.h"
#include "ui/QuillmarView.h"

#include <gtest/gtest.h>
#include <wx/treectrl.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The application object of the test program: the start-up is run by each
// test, on its own platform.
class CTestApp : public CQuillmarApp {
public:
    bool OnInit() override { return true; }
};

CQuillmarApp& TheApp();

// Runs events until condition holds or timeoutMs have passed; whether it
// holds. For input that reaches the window through the display server.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// A fresh folder for a test's files, removed with what it holds.
class CTestFolder {
public:
    CTestFolder();
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;
    ~CTestFolder();
    std::string File(const std::string& name) const;
    // Writes bytes to the file name in the folder; returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};

std::string ReadFileBytes(const std::string& path);

// A small rate file: a header, two customers, three plans.
extern const char* const kSmallRateFile;

class GuiTest : public ::testing::Test {
protected:
    CTestPlatform* m_platform = nullptr;
    CTestFolder m_folder;

    void SetUp() override;
    void TearDown() override;

    // Runs the start-up with these command-line parameters; the result of
    // InitInstance.
    bool Start(const std::vector<std::string>& params = {});
    // Starts with path opened.
    void StartWith(const std::string& path);

    CMainFrame& Frame() const;
    CLeftView& Tree() const;
    CQuillmarView& Detail() const;
    CQuillmarDoc& Doc() const;

    // The item reached from the root through children with these labels,
    // expanding on the way as a user would; invalid when there is none.
    wxTreeItemId FindItem(const std::vector<std::string>& labels) const;
    // The labels of item's children, after expanding it.
    std::vector<std::string> ChildLabels(const wxTreeItemId& item) const;
    std::string Label(const wxTreeItemId& item) const;
    // Selects item as a click would.
    void Select(const wxTreeItemId& item) const;
    // The visible items, one line each: blanks by depth, label, " [image]",
    // " +" for a collapsed item with children, " *" for the selection.
    std::vector<std::string> VisibleTree() const;
    // The whole tree, every branch expanded.
    std::vector<std::string> ExpandedTree() const;

    // Menu and toolbar state after the frame's update handlers ran.
    bool MenuEnabled(int command) const;
    bool MenuChecked(int command) const;
    bool ToolEnabled(int command) const;
    std::string MenuLabel(int command) const;

    // Presses the detail pane's "Set" button; fails when it is disabled.
    void PressSet() const;
    std::string EditText() const;
    void TypeText(const std::string& utf8) const;
};
