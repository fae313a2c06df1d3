// CMergeReportList: the rows of a merge report in a virtual list, one line
// per plan with the report's columns. Only the lines on the screen are ever
// made into text, so a report of any size shows at once. The rows shown can
// be narrowed to one outcome and sorted by any column (a click on its
// heading; a second click turns the order round). Removed plans are shown
// in grey, plans whose values were not carried in colour.
#pragma once

#include "document/MergeReport.h"

#include <wx/listctrl.h>

#include <cstdint>
#include <optional>
#include <vector>

class CTextCodec;

class CMergeReportList : public wxListCtrl {
public:
    CMergeReportList(wxWindow* parent, const CMergeReport& report, const CTextCodec& codec);

    // Shows the report's rows afresh, with the filter and order kept.
    void Reload();
    // Takes out the rows the report has forgotten; the order stays.
    void DropGone();
    // Shows nothing until the next Reload: the rows' nodes may be changing.
    void Suspend();

    // Only the rows of outcome; none for every row.
    void SetFilter(std::optional<MergeOutcome> outcome);
    // Sorts by column: ascending, or the other way round when it is the
    // column sorted by already.
    void SortBy(ReportColumn column);

    // The row shown on line, or null.
    const CMergeReportRow* RowAt(long line) const;
    size_t GetRowsShown() const { return m_shown.size(); }
    // The text the list shows in line's column.
    wxString GetLineText(long line, ReportColumn column) const;

private:
    wxString OnGetItemText(long item, long column) const override;
    wxItemAttr* OnGetItemAttr(long item) const override;
    void OnColumnClick(wxListEvent& event);
    void Sort();
    void ShowCount();

    const CMergeReport& m_report;
    const CTextCodec& m_codec;
    // Indexes into the report's rows, in the order shown.
    std::vector<uint32_t> m_shown;
    std::optional<MergeOutcome> m_filter;
    std::optional<ReportColumn> m_sortColumn;
    bool m_bAscending = true;
    // The look of the lines whose plan lost or never had the user's values.
    mutable wxItemAttr m_removedLook;
    mutable wxItemAttr m_expiredLook;
    mutable wxItemAttr m_noMatchLook;
};
