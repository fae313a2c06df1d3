#include "ui/MergeReportList.h"

#include "ui/TextCodec.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Widths of the columns at first, in pixels.
constexpr std::array<int, kReportColumnCount> kColumnWidths{110, 110, 190, 175, 175,
                                                            85,  85,  175, 125};

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
            const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
            return lower(x) < lower(y);
        });
}

} // namespace

CMergeReportList::CMergeReportList(wxWindow* parent, const CMergeReport& report,
                                   const CTextCodec& codec)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES),
      m_report(report), m_codec(codec) {
    m_removedLook.SetTextColour(wxColour(112, 112, 112));
    m_expiredLook.SetTextColour(wxColour(160, 32, 0));
    m_noMatchLook.SetTextColour(wxColour(0, 72, 160));
    for (int column = 0; column < kReportColumnCount; ++column) {
        const std::string_view heading = ColumnHeading(static_cast<ReportColumn>(column));
        AppendColumn(wxString::FromUTF8(heading.data(), heading.size()), wxLIST_FORMAT_LEFT,
                     FromDIP(kColumnWidths[static_cast<size_t>(column)]));
    }
    Bind(wxEVT_LIST_COL_CLICK, &CMergeReportList::OnColumnClick, this);
}

void CMergeReportList::Reload() {
    m_shown.clear();
    const std::vector<CMergeReportRow>& rows = m_report.Rows();
    m_shown.reserve(rows.size());
    for (size_t index = 0; index < rows.size(); ++index) {
        const CMergeReportRow& row = rows[index];
        if (!row.bGone && (!m_filter || row.outcome == *m_filter)) {
            m_shown.push_back(static_cast<uint32_t>(index));
        }
    }
    Sort();
    ShowCount();
}

void CMergeReportList::DropGone() {
    const std::vector<CMergeReportRow>& rows = m_report.Rows();
    std::erase_if(m_shown,
                  [&](uint32_t index) { return index >= rows.size() || rows[index].bGone; });
    ShowCount();
}

void CMergeReportList::Suspend() {
    m_shown.clear();
    ShowCount();
}

void CMergeReportList::SetFilter(std::optional<MergeOutcome> outcome) {
    m_filter = outcome;
    Reload();
}

void CMergeReportList::SortBy(ReportColumn column) {
    m_bAscending = m_sortColumn == column ? !m_bAscending : true;
    m_sortColumn = column;
    Sort();
    ShowCount();
}

void CMergeReportList::Sort() {
    if (!m_sortColumn) {
        RemoveSortIndicator();
        return;
    }
    // Each row's text is looked up once, not at every comparison; the tree
    // does not change while the list sorts.
    const std::vector<CMergeReportRow>& rows = m_report.Rows();
    std::vector<std::string_view> keys(rows.size());
    for (const uint32_t index : m_shown) {
        keys[index] = m_report.Field(rows[index], *m_sortColumn);
    }
    // Rows with equal texts keep the report's order, whichever way round.
    std::sort(m_shown.begin(), m_shown.end());
    const bool ascending = m_bAscending;
    std::stable_sort(m_shown.begin(), m_shown.end(), [&](uint32_t a, uint32_t b) {
        return ascending ? LessIgnoringCase(keys[a], keys[b]) : LessIgnoringCase(keys[b], keys[a]);
    });
    ShowSortIndicator(static_cast<int>(*m_sortColumn), m_bAscending);
}

void CMergeReportList::ShowCount() {
    SetItemCount(static_cast<long>(m_shown.size()));
    Refresh();
}

const CMergeReportRow* CMergeReportList::RowAt(long line) const {
    if (line < 0 || static_cast<size_t>(line) >= m_shown.size()) {
        return nullptr;
    }
    // Rows the report no longer has, until the next reload, show nothing.
    const std::vector<CMergeReportRow>& rows = m_report.Rows();
    const uint32_t index = m_shown[static_cast<size_t>(line)];
    return index < rows.size() && !rows[index].bGone ? &rows[index] : nullptr;
}

wxString CMergeReportList::GetLineText(long line, ReportColumn column) const {
    const CMergeReportRow* row = RowAt(line);
    return row ? m_codec.ToDisplay(m_report.Field(*row, column)) : wxString();
}

wxString CMergeReportList::OnGetItemText(long item, long column) const {
    if (column < 0 || column >= kReportColumnCount) {
        return {};
    }
    return GetLineText(item, static_cast<ReportColumn>(column));
}

wxItemAttr* CMergeReportList::OnGetItemAttr(long item) const {
    const CMergeReportRow* row = RowAt(item);
    if (!row) {
        return nullptr;
    }
    switch (row->outcome) {
    case MergeOutcome::kRemoved:
        return &m_removedLook;
    case MergeOutcome::kExpired:
        return &m_expiredLook;
    case MergeOutcome::kNoMatch:
        return &m_noMatchLook;
    default:
        return nullptr;
    }
}

void CMergeReportList::OnColumnClick(wxListEvent& event) {
    const int column = event.GetColumn();
    if (column >= 0 && column < kReportColumnCount) {
        SortBy(static_cast<ReportColumn>(column));
    }
}
