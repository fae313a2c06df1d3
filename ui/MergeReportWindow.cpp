#include "ui/MergeReportWindow.h"

#include "document/MergeReport.h"
#include "document/Platform.h"
#include "document/SafeFileWriter.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"
#include "ui/MergeReportList.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/intl.h>
#include <wx/numformatter.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

wxString Text(int id) {
    return wxString::FromUTF8(CStringTable::Get(id));
}

wxString Count(size_t count) {
    return wxNumberFormatter::ToString(static_cast<long>(count),
                                       wxNumberFormatter::Style_WithThousandsSep);
}

} // namespace

CMergeReportWindow::CMergeReportWindow(wxWindow* parent, const CMergeReport& report,
                                       const CTextCodec& codec, CPlatform& platform,
                                       RevealFunction reveal)
    : wxFrame(parent, wxID_ANY, Text(IDS_REPORT_TITLE), wxDefaultPosition, wxSize(1270, 560),
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      m_report(report), m_platform(platform), m_reveal(std::move(reveal)) {
    auto* panel = new wxPanel(this);
    m_pFilter = new wxChoice(panel, wxID_ANY);
    m_pFilter->Append(Text(IDS_REPORT_ALL_PLANS));
    for (const MergeOutcome outcome : AllOutcomes()) {
        const std::string_view text = OutcomeText(outcome);
        m_pFilter->Append(wxString::FromUTF8(text.data(), text.size()));
    }
    m_pFilter->SetSelection(0);
    m_pCount = new wxStaticText(panel, wxID_ANY, wxString());
    auto* save = new wxButton(panel, wxID_ANY, Text(IDS_REPORT_SAVE_CSV));
    m_pList = new CMergeReportList(panel, report, codec);

    auto* bar = new wxBoxSizer(wxHORIZONTAL);
    bar->Add(new wxStaticText(panel, wxID_ANY, Text(IDS_REPORT_SHOW)), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(6));
    bar->Add(m_pFilter, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, FromDIP(12));
    bar->Add(m_pCount, 1, wxALIGN_CENTER_VERTICAL);
    bar->Add(save, 0, wxALIGN_CENTER_VERTICAL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(bar, 0, wxEXPAND | wxALL, FromDIP(8));
    column->Add(m_pList, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(8));
    column->Add(new wxStaticText(panel, wxID_ANY, Text(IDS_REPORT_HINT)), 0, wxALL, FromDIP(8));
    panel->SetSizer(column);

    m_pFilter->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnFilterChosen(); });
    save->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { SaveAsCsv(); });
    m_pList->Bind(wxEVT_LIST_ITEM_ACTIVATED,
                  [this](wxListEvent& event) { ActivateLine(event.GetIndex()); });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto()) {
            Hide();
            event.Veto();
        } else {
            event.Skip();
        }
    });
}

void CMergeReportWindow::Reload() {
    m_pList->Reload();
    ShowCount();
}

void CMergeReportWindow::RefreshTexts() {
    m_pList->Refresh();
}

void CMergeReportWindow::DropGone() {
    m_pList->DropGone();
    ShowCount();
}

void CMergeReportWindow::Suspend() {
    m_pList->Suspend();
    ShowCount();
}

void CMergeReportWindow::OnFilterChosen() {
    const int choice = m_pFilter->GetSelection();
    const std::span<const MergeOutcome> outcomes = AllOutcomes();
    std::optional<MergeOutcome> filter;
    if (choice > 0 && static_cast<size_t>(choice) <= outcomes.size()) {
        filter = outcomes[static_cast<size_t>(choice - 1)];
    }
    m_pList->SetFilter(filter);
    ShowCount();
}

void CMergeReportWindow::ShowCount() {
    size_t total = 0;
    for (const CMergeReportRow& row : m_report.Rows()) {
        total += row.bGone ? 0 : 1;
    }
    m_pCount->SetLabel(wxString::FromUTF8(
        CStringTable::Format(IDS_REPORT_COUNT, {Count(m_pList->GetRowsShown()).utf8_string(),
                                                Count(total).utf8_string()})));
}

void CMergeReportWindow::ActivateLine(long line) {
    const CMergeReportRow* row = m_pList->RowAt(line);
    if (!row || !m_reveal) {
        return;
    }
    // A removed plan is shown by its customer.
    m_reveal(row->pPlan ? row->pPlan : row->pCustomer);
}

void CMergeReportWindow::SaveAsCsv() {
    CFileDialogSpec spec;
    spec.bOpen = false;
    spec.strDefaultExt = "csv";
    spec.strFileName = "merge-report.csv";
    spec.strFilter = CStringTable::Get(IDS_REPORT_CSV_FILTER);
    const std::string path = m_platform.ChooseFile(spec);
    if (path.empty()) {
        return;
    }
    const std::string csv = m_report.BuildCsv();
    if (!WriteFileReplacing(path, csv.data(), csv.size())) {
        m_platform.ShowMessage(CStringTable::Get(AFX_IDP_FAILED_TO_SAVE_DOC), MsgIcon::Exclamation,
                               MsgButtons::Ok);
    }
}
