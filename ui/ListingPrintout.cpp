#include "ui/ListingPrintout.h"

#include <wx/dc.h>

namespace {

#ifdef __WXGTK__
// The GTK printer's origin is the paper's corner, not the corner of the area
// a printer can reach: keep the listing clear of the unprintable edge.
constexpr double kPrintableInsetInches = 0.25;
#else
// The printer's origin is already the corner of its printable area.
constexpr double kPrintableInsetInches = 0.0;
#endif

} // namespace

CListingPrintout::CListingPrintout(const wxString& title, std::function<void(CPrintDevice&)> print,
                                   const CTextCodec& codec)
    : wxPrintout(title), m_print(std::move(print)), m_codec(codec) {}

CPrintMapping CListingPrintout::PrepareContext() {
    // The printer's own pixels, so that lines stand where the document puts
    // them to a fraction of a point, with the origin in the corner of the
    // printable page.
    MapScreenSizeToDevice();
    int screenX = 0;
    int screenY = 0;
    GetPPIScreen(&screenX, &screenY);
    int printerX = 0;
    int printerY = 0;
    GetPPIPrinter(&printerX, &printerY);
    CPrintMapping mapping;
    mapping.dPpi = printerY > 0 ? printerY : 600;
    mapping.dFontScale = screenY > 0 ? mapping.dPpi / screenY : 1.0;
    const wxRect page = GetLogicalPageRect();
    const int inset = static_cast<int>(kPrintableInsetInches * mapping.dPpi);
    mapping.origin = wxPoint(page.x + inset, page.y + inset);
    return mapping;
}

void CListingPrintout::OnPreparePrinting() {
    wxDC* dc = GetDC();
    if (!dc) {
        return;
    }
    const CPrintMapping mapping = PrepareContext();
    CPageRecorder recorder(*dc, mapping);
    m_print(recorder);
    m_pages = recorder.TakePages();
    m_bPrepared = true;
}

void CListingPrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    // Until the listing is drawn its length is open.
    *minPage = 1;
    *maxPage = m_bPrepared ? GetPageCount() : 0;
    *pageFrom = 1;
    *pageTo = *maxPage;
}

bool CListingPrintout::HasPage(int page) {
    return page >= 1 && page <= GetPageCount();
}

bool CListingPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc) {
        return false;
    }
    DrawListingPage(*dc, m_pages, page, m_codec, PrepareContext());
    return true;
}
