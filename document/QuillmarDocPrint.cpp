// The printed listing: the tree's indented XML text, 60 lines to a page, in
// an 11-point fixed-pitch font.
#include "document/QuillmarDoc.h"

#include "document/PrintDevice.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

constexpr int32_t kLinesPerPage = 60;
constexpr char kFormFeed = '\f';

CFontSpec ListingFont() {
    CFontSpec font;
    font.strFaceName = "Courier New";
    font.nHeight = -220; // character height of 220 twips: 11 points
    font.nWeight = 400;
    font.nPitchAndFamily = CPrintDevice::kFamilyModern | CPrintDevice::kDefaultPitch;
    return font;
}

// Cuts the next line off text: the bytes before the first line feed, less a
// carriage return directly before it.
std::string_view NextLine(std::string_view& text) {
    std::string_view line;
    const std::string_view::size_type feed = text.find('\n');
    if (feed == std::string_view::npos) {
        line = text;
        text = {};
    } else {
        line = text.substr(0, feed);
        text.remove_prefix(feed + 1);
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

} // namespace

bool CQuillmarDoc::PrintListing(CPrintDevice* dc) {
    if (!m_pRootNode || !dc) {
        return true;
    }
    CXmlString listing;
    int32_t depth = -1;
    m_pRootNode->Write(listing, depth, false);

    const CFontSpec font = ListingFont();
    dc->SetMapMode(CPrintDevice::kMapModeTwips);
    dc->SelectFont(font);
    const CTextMetrics metrics = dc->QueryTextMetrics();
    const int32_t lineHeight = metrics.tmHeight + metrics.tmExternalLeading;

    std::string_view rest(listing.GetBuffer(), static_cast<size_t>(listing.GetLength()));
    int32_t lineNumber = 1;
    while (!rest.empty()) {
        std::string_view line = NextLine(rest);
        // Empty lines take a line number but are not drawn and start no page.
        if (!line.empty()) {
            if (lineNumber > kLinesPerPage || line.front() == kFormFeed) {
                dc->EndPage();
                dc->StartPage();
                dc->SetMapMode(CPrintDevice::kMapModeTwips);
                dc->SelectFont(font);
                lineNumber = 1;
                if (line.front() == kFormFeed) {
                    line.remove_prefix(1);
                }
            }
            // In twips y grows upwards: line n stands n line heights below the top.
            if (!line.empty()) {
                const int64_t y = -int64_t{lineNumber} * lineHeight;
                dc->OutputText(metrics.tmAveCharWidth,
                               static_cast<int32_t>(std::max<int64_t>(y, INT32_MIN)),
                               std::string(line));
            }
        }
        ++lineNumber;
    }
    dc->EndPage();
    dc->EndDoc();
    return true;
}
