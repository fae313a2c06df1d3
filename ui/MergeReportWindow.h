// CMergeReportWindow: the merge report in a window of its own beside the main
// frame: every plan of the merge's result and every plan it removed, with a
// choice of the outcome to show, the count of plans shown, and a button that
// saves the whole report as the command-line tool writes it. Double-clicking
// a plan shows it in the tree pane (a removed plan: its customer).
//
// Closing the window hides it; the main frame destroys it with itself.
#pragma once

#include <wx/frame.h>

#include <functional>

class CMergeReport;
class CMergeReportList;
class CPlatform;
class CTextCodec;
class CXmlNode;
class wxChoice;
class wxStaticText;

class CMergeReportWindow : public wxFrame {
public:
    using RevealFunction = std::function<void(const CXmlNode*)>;

    CMergeReportWindow(wxWindow* parent, const CMergeReport& report, const CTextCodec& codec,
                       CPlatform& platform, RevealFunction reveal);

    CMergeReportList& GetList() const { return *m_pList; }
    wxChoice& GetFilter() const { return *m_pFilter; }

    // Shows the report's rows afresh.
    void Reload();
    // The rows' texts may have changed.
    void RefreshTexts();
    // Takes out the rows of nodes that have gone.
    void DropGone();
    // Shows nothing until the next Reload.
    void Suspend();

    // What the list's double-click and the button do.
    void ActivateLine(long line);
    void SaveAsCsv();

private:
    void OnFilterChosen();
    void ShowCount();

    const CMergeReport& m_report;
    CPlatform& m_platform;
    RevealFunction m_reveal;
    wxChoice* m_pFilter = nullptr;
    wxStaticText* m_pCount = nullptr;
    CMergeReportList* m_pList = nullptr;
};
