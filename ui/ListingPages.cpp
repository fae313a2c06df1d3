#include "ui/ListingPages.h"

#include "ui/TextCodec.h"

#include <wx/fontenum.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;

// Faces that stand in for the Windows fonts where those are not installed;
// each of the Liberation faces has the metrics of the face it replaces.
wxString AvailableFace(const std::string& face, wxFontFamily& family) {
    const wxString wanted = wxString::FromUTF8(face);
    if (!wanted.empty() && wxFontEnumerator::IsValidFacename(wanted)) {
        return wanted;
    }
    struct Substitute {
        const char* face;
        const char* replacement;
        wxFontFamily family;
    };
    static const Substitute kSubstitutes[] = {
        {"Courier New", "Liberation Mono", wxFONTFAMILY_TELETYPE},
        {"Arial", "Liberation Sans", wxFONTFAMILY_SWISS},
        {"Times New Roman", "Liberation Serif", wxFONTFAMILY_ROMAN},
    };
    for (const Substitute& substitute : kSubstitutes) {
        if (wanted.CmpNoCase(substitute.face) == 0) {
            family = substitute.family;
            if (wxFontEnumerator::IsValidFacename(substitute.replacement)) {
                return substitute.replacement;
            }
        }
    }
    return wxString();
}

} // namespace

wxPoint CPrintMapping::ToLogical(int mode, int32_t x, int32_t y) const {
    if (mode == CPrintDevice::kMapModeTwips) {
        const double scale = dPpi / kTwipsPerInch;
        return wxPoint(origin.x + static_cast<int>(std::lround(x * scale)),
                       origin.y - static_cast<int>(std::lround(y * scale)));
    }
    return wxPoint(origin.x + x, origin.y + y);
}

int32_t CPrintMapping::FromLogical(int mode, wxCoord length) const {
    if (mode == CPrintDevice::kMapModeTwips) {
        return static_cast<int32_t>(std::lround(length * kTwipsPerInch / dPpi));
    }
    return length;
}

wxFont MakePrinterFont(const CFontSpec& spec, int mode, const CPrintMapping& mapping) {
    // The height is in the document's units; the font's size in points.
    const double height = std::abs(static_cast<double>(spec.nHeight));
    double points = mode == CPrintDevice::kMapModeTwips ? height / 20.0
                                                        : height * kPointsPerInch / mapping.dPpi;
    if (points <= 0) {
        points = 10;
    }
    points *= mapping.dFontScale;
    wxFontFamily family = (spec.nPitchAndFamily & 0xF0) == CPrintDevice::kFamilyModern
                              ? wxFONTFAMILY_TELETYPE
                              : wxFONTFAMILY_DEFAULT;
    const wxString face = AvailableFace(spec.strFaceName, family);
    wxFontInfo info(points);
    info.Family(family).Weight(spec.nWeight > 0 ? spec.nWeight : wxFONTWEIGHT_NORMAL);
    if (!face.empty()) {
        info.FaceName(face);
    }
    info.Italic(spec.bItalic).Underlined(spec.bUnderline).Strikethrough(spec.bStrikeOut);
    return wxFont(info);
}

CPageRecorder::CPageRecorder(wxDC& dc, const CPrintMapping& mapping)
    : m_dc(dc), m_mapping(mapping) {
    m_pages.pages.emplace_back();
}

void CPageRecorder::SetMapMode(int mode) {
    m_nMapMode = mode;
}

void CPageRecorder::SelectFont(const CFontSpec& font) {
    const auto it = std::find(m_pages.fonts.begin(), m_pages.fonts.end(), font);
    m_nFont = static_cast<std::size_t>(it - m_pages.fonts.begin());
    if (it == m_pages.fonts.end()) {
        m_pages.fonts.push_back(font);
    }
    m_bHasFont = true;
    m_dc.SetFont(MakePrinterFont(font, m_nMapMode, m_mapping));
}

CTextMetrics CPageRecorder::QueryTextMetrics() {
    wxCoord width = 0;
    wxCoord height = 0;
    wxCoord descent = 0;
    wxCoord leading = 0;
    m_dc.GetTextExtent("x", &width, &height, &descent, &leading);
    CTextMetrics metrics;
    metrics.tmHeight = m_mapping.FromLogical(m_nMapMode, height);
    metrics.tmExternalLeading = m_mapping.FromLogical(m_nMapMode, leading);
    metrics.tmAveCharWidth = m_mapping.FromLogical(m_nMapMode, width);
    return metrics;
}

void CPageRecorder::StartPage() {
    if (!m_bEnded) {
        m_pages.pages.emplace_back();
    }
}

void CPageRecorder::EndPage() {}

void CPageRecorder::EndDoc() {
    m_bEnded = true;
}

void CPageRecorder::OutputText(int32_t x, int32_t y, const std::string& text) {
    if (m_bEnded) {
        return;
    }
    if (!m_bHasFont) {
        // Text before any font: the printer's default face in 10 points.
        SelectFont(CFontSpec{"", -200});
    }
    m_pages.pages.back().push_back({m_nMapMode, m_nFont, x, y, text});
}

void DrawListingPage(wxDC& dc, const CListingPages& pages, int page, const CTextCodec& codec,
                     const CPrintMapping& mapping) {
    if (page < 1 || static_cast<std::size_t>(page) > pages.pages.size()) {
        return;
    }
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    std::size_t currentFont = pages.fonts.size();
    int currentMode = 0;
    for (const CRecordedText& text : pages.pages[static_cast<std::size_t>(page - 1)]) {
        if (text.nFont != currentFont || text.nMapMode != currentMode) {
            currentFont = text.nFont;
            currentMode = text.nMapMode;
            dc.SetFont(MakePrinterFont(pages.fonts[currentFont], currentMode, mapping));
        }
        const wxPoint at = mapping.ToLogical(text.nMapMode, text.x, text.y);
        dc.DrawText(codec.ToDisplay(text.strText), at);
    }
}
