// The printed listing as the document draws it, kept page by page. The
// document draws the whole job at once and starts its pages itself, while a
// wx printout is asked for one page at a time: the job is first drawn on a
// CPageRecorder, which measures fonts on the real printer, and each page is
// then drawn from the record when the printer asks for it.
#pragma once

#include "document/PrintDevice.h"

#include <wx/dc.h>
#include <wx/font.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CTextCodec;

// Where logical units of the document's drawing land on a wx device context:
// ppi logical units of the context make an inch, and origin is the top-left
// corner of the printable area. In twips mode y grows upwards, as the
// document expects. wx sizes a font for the screen's resolution, also on a
// printer: fontScale makes a font of n points print n points high.
struct CPrintMapping {
    double dPpi = 96.0;
    double dFontScale = 1.0;
    wxPoint origin;

    // The context's logical point of a point of the document in mode.
    wxPoint ToLogical(int mode, int32_t x, int32_t y) const;
    // A length of the context in the document's units of mode.
    int32_t FromLogical(int mode, wxCoord length) const;
};

// The wx font for a font of the document, measured in mode.
wxFont MakePrinterFont(const CFontSpec& spec, int mode, const CPrintMapping& mapping);

struct CRecordedText {
    int nMapMode;
    std::size_t nFont; // index into CListingPages::fonts
    int32_t x;
    int32_t y;
    std::string strText;
};

struct CListingPages {
    std::vector<std::vector<CRecordedText>> pages;
    std::vector<CFontSpec> fonts;
};

// A print device that records the document's drawing page by page. The job
// and its first page count as started when it is made.
class CPageRecorder : public CPrintDevice {
public:
    CPageRecorder(wxDC& dc, const CPrintMapping& mapping);

    void SetMapMode(int mode) override;
    void SelectFont(const CFontSpec& font) override;
    CTextMetrics QueryTextMetrics() override;
    void StartPage() override;
    void EndPage() override;
    void EndDoc() override;
    void OutputText(int32_t x, int32_t y, const std::string& text) override;

    CListingPages TakePages() { return std::move(m_pages); }

private:
    wxDC& m_dc;
    CPrintMapping m_mapping;
    CListingPages m_pages;
    int m_nMapMode = 1; // MM_TEXT until the document sets one
    std::size_t m_nFont = 0;
    bool m_bHasFont = false;
    bool m_bEnded = false;
};

// Draws page (1-based) of pages on dc with the document's texts converted by
// codec.
void DrawListingPage(wxDC& dc, const CListingPages& pages, int page, const CTextCodec& codec,
                     const CPrintMapping& mapping);
