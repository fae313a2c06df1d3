// Benchmark of the desktop application on one generated rate file: the real
// main frame and panes, started in this process on a scripted platform, on an
// X display (Xvfb will do). Opening the file until the tree pane shows its
// root is measured against the engine's load of the same file. "Set" on a
// plan's description and the deletion of a plan have absolute targets; they
// are printed against the engine's load too, so that machines compare. The
// application and the engine are each measured in a process of their own.
//
//   desktop_bench [--size-mb N] [--runs N] [--file PATH]
#include "BenchSupport.h"

#include "document/MemorySettings.h"
#include "document/QuillmarDoc.h"
#include "document/RateVocabulary.h"
#include "resources/Resource.h"
#include "ui/CommandLineInfo.h"
#include "ui/DesktopPlatform.h"
#include "ui/HeadlessToolkit.h"
#include "ui/LeftView.h"
#include "ui/MainFrame.h"
#include "ui/MergeReportKeeper.h"
#include "ui/MergeReportList.h"
#include "ui/MergeReportWindow.h"
#include "ui/QuillmarApp.h"
#include "ui/QuillmarView.h"
#include "xml/XmlDocument.h"

#include <wx/button.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Repetitions of "Set" and of a deletion in one process, each on another plan.
constexpr int kRepetitions = 5;

// Answers the application's dialogs from the bench's script: the file to
// open, and "Yes" to as many questions as the script allows. Any other box
// means the measurement went wrong. Settings live in memory: every run
// starts from the defaults.
class CScriptedPlatform : public CMemorySettings<CDesktopPlatform> {
public:
    std::string m_strFileToOpen;
    int m_nYesAnswers = 0;
    // Boxes with an OK button alone that the script expects (a merge's
    // summary).
    int m_nSummaries = 0;
    std::vector<std::string> m_unexpectedBoxes;

    MsgAnswer ShowMessage(const std::string& text, MsgIcon icon, MsgButtons buttons) override {
        return ShowCaptionedMessage(text, {}, icon, buttons);
    }
    MsgAnswer ShowCaptionedMessage(const std::string& text, const std::string&, MsgIcon,
                                   MsgButtons buttons) override {
        if (buttons == MsgButtons::YesNo && m_nYesAnswers > 0) {
            --m_nYesAnswers;
            return MsgAnswer::Yes;
        }
        if (buttons == MsgButtons::Ok && m_nSummaries > 0) {
            --m_nSummaries;
            return MsgAnswer::Ok;
        }
        m_unexpectedBoxes.push_back(text);
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    std::string ChooseFile(const CFileDialogSpec& spec) override {
        return spec.bOpen ? std::exchange(m_strFileToOpen, {}) : std::string();
    }
    bool CopyFileReplacing(const std::string&, const std::string&) override { return false; }
    bool ReadLocalTime(std::tm& local) override {
        const std::time_t now = std::time(nullptr);
        return localtime_r(&now, &local) != nullptr;
    }
    bool SendMail(const std::string&, const std::string&) override { return false; }
    bool RunPrintJob(const CPrintJobSpec&, const std::function<void(CPrintDevice&)>&) override {
        return false;
    }
    void ShowPrintSetup() override {}
};

// The application object: the bench runs the start-up itself, on its own
// platform.
class CBenchApp : public CQuillmarApp {
public:
    bool OnInit() override { return true; }
};

CQuillmarApp& TheApp() {
    return *static_cast<CQuillmarApp*>(wxTheApp);
}

bool g_bToolkitAsserted = false;

// The start-up makes the settings' folder under XDG_CONFIG_HOME: the bench
// points it, and the desktop files' folder, at a folder of its own, removed
// with what it holds, so that the user's home stays as it was.
class CScratchHome {
public:
    CScratchHome() {
        std::string pattern =
            (fs::temp_directory_path() / "quillmar-desktop-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            m_path = pattern;
            setenv("XDG_CONFIG_HOME", (m_path / "config").c_str(), 1);
            setenv("XDG_DATA_HOME", (m_path / "data").c_str(), 1);
        }
    }
    CScratchHome(const CScratchHome&) = delete;
    CScratchHome& operator=(const CScratchHome&) = delete;
    ~CScratchHome() {
        std::error_code ignored;
        if (!m_path.empty()) {
            fs::remove_all(m_path, ignored);
        }
    }
    bool IsValid() const { return !m_path.empty(); }

private:
    fs::path m_path;
};

// The toolkit started in this process as the GUI tests start it; an
// assertion's box would wait for a user who is not there.
class CToolkit {
public:
    CToolkit() {
        wxSetAssertHandler([](const wxString& file, int line, const wxString&,
                              const wxString& condition, const wxString& message) {
            std::fprintf(stderr, "wx assertion at %s:%d: %s %s\n",
                         static_cast<const char*>(file.utf8_str()), line,
                         static_cast<const char*>(condition.utf8_str()),
                         static_cast<const char*>(message.utf8_str()));
            g_bToolkitAsserted = true;
        });
        m_toolkit = std::make_unique<CHeadlessToolkit>(new CBenchApp, "desktop_bench");
    }
    bool IsStarted() const { return m_toolkit->IsStarted(); }

private:
    std::unique_ptr<CHeadlessToolkit> m_toolkit;
};

// Processes events until condition holds; false after ten seconds.
bool ProcessEventsUntil(const std::function<bool()>& condition) {
    const CStopwatch watch;
    while (true) {
        ProcessEvents();
        if (condition()) {
            return true;
        }
        if (watch.Seconds() > 10) {
            return false;
        }
        wxMilliSleep(1);
    }
}

// The events a change leaves behind, and the tree pane's repaint, which the
// user waits for as well.
void SettleTree(CLeftView& tree) {
    ProcessEvents();
    tree.Update();
}

bool TreeShowsRoot(const CLeftView& tree, const char* label) {
    const wxTreeItemId root = tree.GetRootItem();
    return root.IsOk() && tree.GetItemText(root) == label && tree.IsVisible(root);
}

// The item of the occurrence-th child of parent named name, after expanding
// parent as a user would; invalid when there is none.
wxTreeItemId ChildItem(CLeftView& tree, const wxTreeItemId& parent, const char* name,
                       int occurrence) {
    tree.Expand(parent);
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = tree.GetFirstChild(parent, cookie); child.IsOk();
         child = tree.GetNextChild(parent, cookie)) {
        const CXmlNode* node = tree.GetItemNode(child);
        if (node && node->NameRef().Equals(name) && occurrence-- == 0) {
            return child;
        }
    }
    return {};
}

// The first plan of the customer-th customer.
wxTreeItemId PlanItem(CLeftView& tree, int customer) {
    const wxTreeItemId item = ChildItem(tree, tree.GetRootItem(), rate::kCustomer, customer);
    return item.IsOk() ? ChildItem(tree, item, rate::kInsurancePlan, 0) : wxTreeItemId();
}

// Selects item as a click would.
void Select(CLeftView& tree, const wxTreeItemId& item) {
    tree.SelectItem(item);
    ProcessEvents();
}

void PressSet(CQuillmarView& detail) {
    wxButton* button = detail.GetSetButton();
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

bool Fail(const char* what) {
    std::fprintf(stderr, "desktop measurement failed: %s\n", what);
    return false;
}

// Opens path with File, Open until the tree pane shows the file's root.
bool MeasureOpen(CMainFrame& frame, CScriptedPlatform& platform, const std::string& path) {
    CLeftView& tree = *frame.GetLeftPane();
    platform.m_strFileToOpen = path;
    const CStopwatch watch;
    frame.RunCommand(ID_FILE_OPEN);
    const bool shown = ProcessEventsUntil([&tree] { return TreeShowsRoot(tree, rate::kRateFile); });
    tree.Update();
    const double seconds = watch.Seconds();
    if (!shown || !platform.m_unexpectedBoxes.empty()) {
        return Fail("the file's root was not shown");
    }
    ReportValue("open", seconds);
    return true;
}

// "Set" on the description of a plan of customers spread over the file.
bool MeasureSet(CMainFrame& frame, int customers) {
    CLeftView& tree = *frame.GetLeftPane();
    CQuillmarView& detail = *frame.GetDetailPane();
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < kRepetitions; ++run) {
        const wxTreeItemId plan = PlanItem(tree, (run + 1) * customers / (kRepetitions + 1));
        const wxTreeItemId description =
            plan.IsOk() ? ChildItem(tree, plan, rate::kPlanDesc, 0) : wxTreeItemId();
        if (!description.IsOk()) {
            return Fail("no PLANDESC item");
        }
        CXmlNode* node = tree.GetItemNode(description);
        Select(tree, description);
        if (!detail.GetSetButton()->IsEnabled()) {
            return Fail("Set is disabled on a PLANDESC");
        }
        const std::string text = "Revised description " + std::to_string(run);
        detail.GetEdit()->SetValue(wxString::FromUTF8(text));
        ProcessEvents();

        const CStopwatch watch;
        PressSet(detail);
        SettleTree(tree);
        best = std::min(best, watch.Seconds());

        // Rebuilt: the root alone, collapsed, nothing selected.
        if (!node->TextRef().Equals(text.c_str()) || tree.IsExpanded(tree.GetRootItem()) ||
            tree.GetSelection().IsOk()) {
            return Fail("Set did not rebuild the tree");
        }
    }
    ReportValue("set", best);
    return true;
}

// Deletes the first plan of customers spread over the file, other than those
// "Set" changed.
bool MeasureDelete(CMainFrame& frame, CScriptedPlatform& platform, int customers) {
    CLeftView& tree = *frame.GetLeftPane();
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < kRepetitions; ++run) {
        const int customer = (2 * run + 1) * customers / (2 * (kRepetitions + 1));
        const wxTreeItemId plan = PlanItem(tree, customer);
        if (!plan.IsOk()) {
            return Fail("no INSURANCEPLAN item");
        }
        const wxTreeItemId customerItem = tree.GetItemParent(plan);
        const size_t itemsBefore = tree.GetChildrenCount(customerItem, false);
        Select(tree, plan);
        platform.m_nYesAnswers = 1;

        const CStopwatch watch;
        frame.RunCommand(ID_EDIT_DELETE);
        SettleTree(tree);
        best = std::min(best, watch.Seconds());

        if (platform.m_nYesAnswers != 0 || !platform.m_unexpectedBoxes.empty() ||
            tree.GetChildrenCount(customerItem, false) + 1 != itemsBefore) {
            return Fail("the plan was not deleted");
        }
    }
    ReportValue("delete", best);
    return true;
}

// File, Merge of the delivery, then View, Merge Report until the report
// window shows its rows.
bool MeasureMergeReport(CMainFrame& frame, CScriptedPlatform& platform,
                        const std::string& delivery) {
    CLeftView& tree = *frame.GetLeftPane();
    platform.m_strFileToOpen = delivery;
    platform.m_nSummaries = 1;
    frame.RunCommand(ID_FILE_MERGE);
    SettleTree(tree);
    if (platform.m_nSummaries != 0 || !platform.m_unexpectedBoxes.empty() ||
        !TreeShowsRoot(tree, rate::kRateFile)) {
        return Fail("the merge did not end with its summary");
    }
    const CMergeReportKeeper& keeper = frame.GetMergeReport();
    const size_t rows = keeper.GetReport().Rows().size();

    const CStopwatch watch;
    frame.RunCommand(ID_VIEW_MERGE_REPORT);
    CMergeReportWindow* window = keeper.GetWindow();
    const bool shown = window && ProcessEventsUntil([&] {
                           return window->IsShownOnScreen() &&
                                  window->GetList().GetItemCount() == static_cast<long>(rows);
                       });
    if (shown) {
        window->Update();
    }
    const double seconds = watch.Seconds();
    if (!shown || rows == 0) {
        return Fail("the report window did not show its rows");
    }
    ReportValue("report_open", seconds);
    ReportValue("report_rows", static_cast<double>(rows));
    return true;
}

int MeasureDesktop(const std::string& path, const std::string& delivery) {
    const CScratchHome home;
    const CToolkit toolkit;
    if (!home.IsValid() || !toolkit.IsStarted()) {
        Fail("the toolkit did not start (is there an X display?)");
        return 1;
    }
    auto owned = std::make_unique<CScriptedPlatform>();
    CScriptedPlatform& platform = *owned;
    TheApp().SetPlatform(std::move(owned));
    if (!TheApp().InitInstance(ParseCommandLine({})) || !TheApp().GetMainFrame()) {
        Fail("the application did not start");
        return 1;
    }
    CMainFrame& frame = *TheApp().GetMainFrame();
    // The window is up, showing a new document, before the clock starts.
    if (!ProcessEventsUntil([&frame] { return TreeShowsRoot(*frame.GetLeftPane(), "ROOTNODE"); })) {
        Fail("the main window did not show");
        return 1;
    }
    if (!MeasureOpen(frame, platform, path)) {
        return 1;
    }
    const int customers = TheApp().GetDocument()->m_pRootNode->GetChildCount(rate::kCustomer);
    if (!MeasureSet(frame, customers) || !MeasureDelete(frame, platform, customers) ||
        !MeasureMergeReport(frame, platform, delivery)) {
        return 1;
    }
    return g_bToolkitAsserted ? 1 : 0;
}

int MeasureEngineLoad(const std::string& path) {
    CXmlDocument doc;
    const CStopwatch watch;
    if (!doc.Load(path.c_str())) {
        return 1;
    }
    ReportValue("load", watch.Seconds());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--desktop") == 0) {
        return MeasureDesktop(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--engine-load") == 0) {
        return MeasureEngineLoad(argv[2]);
    }
    const CBenchOptions options = ParseBenchOptions(argc, argv);
    const std::string path = PrepareRateFile(options, "desktop-bench", 0);
    const std::string delivery = PrepareRateFile(options, "desktop-bench", 1);
    if (path.empty() || delivery.empty()) {
        return 1;
    }
    // The best of a few runs: the machine may be busy with other work.
    Figures desktop = BestOf(options.nRuns, argv[0], {"--desktop", path, delivery});
    Figures engine = BestOf(options.nRuns, argv[0], {"--engine-load", path});
    if (!options.bKeepFiles && options.strFile.empty()) {
        std::remove(path.c_str());
        std::remove(delivery.c_str());
    }
    bool met = desktop.count("open") && desktop.count("set") && desktop.count("delete") &&
               desktop.count("report_open") && engine.count("load");
    if (met) {
        // In milliseconds: the edits take a few.
        const double load = engine["load"] * 1000;
        std::printf("\n%-48s %10s   %10s\n", "figure (ms)", "desktop", "engine load");
        met &= CheckRatio("open until the tree shows vs engine load", desktop["open"] * 1000, load,
                          1.5);
        met &= CheckLimit("Set on a PLANDESC until the tree is rebuilt", desktop["set"] * 1000,
                          load, 100, "ms");
        met &= CheckLimit("delete a plan until the tree is updated", desktop["delete"] * 1000, load,
                          50, "ms");
        std::printf("merge report rows: %.0f\n", desktop["report_rows"]);
        met &= CheckLimit("merge report window open with all its rows",
                          desktop["report_open"] * 1000, load, 300, "ms");
    }
    std::printf("\n%s\n", met ? "all targets met" : "TARGETS MISSED");
    return met ? 0 : 1;
}
