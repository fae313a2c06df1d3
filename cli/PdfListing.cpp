#include "cli/PdfListing.h"

#include "document/QuillmarDoc.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>

#include <cmath>
#include <new>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kCourierNew = "Courier New";
constexpr const char* kCourierTwin = "Liberation Mono";
constexpr const char* kAnyFixedPitch = "monospace";

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) {
            return false;
        }
    }
    return true;
}

// The families to look for, best first.
std::vector<std::string> FamiliesFor(const CFontSpec& font) {
    std::vector<std::string> families;
    if (EqualsIgnoringCase(font.strFaceName, kCourierNew)) {
        families.emplace_back(kCourierTwin);
    }
    if (!font.strFaceName.empty()) {
        families.push_back(font.strFaceName);
    }
    families.emplace_back(kAnyFixedPitch);
    return families;
}

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

PatternPtr PatternFor(const CFontSpec& font) {
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) {
        return nullptr;
    }
    for (const std::string& family : FamiliesFor(font)) {
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
    }
    FcPatternAddInteger(pattern.get(), FC_WEIGHT,
                        font.nWeight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, font.bItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    return pattern;
}

int32_t ToTwips(double points) {
    return static_cast<int32_t>(std::lround(points * CPdfPrintDevice::kTwipsPerPoint));
}

// A tab moves on to the next tab stop, every eight columns of the fixed
// pitch font, as the desktop's text drawing spaces it; the font itself has
// no glyph for it.
std::u32string ExpandTabs(std::u32string codes) {
    constexpr std::size_t kTabColumns = 8;
    std::u32string expanded;
    expanded.reserve(codes.size());
    for (const char32_t code : codes) {
        if (code == U'\t') {
            expanded.append(kTabColumns - expanded.size() % kTabColumns, U' ');
        } else {
            expanded.push_back(code);
        }
    }
    return expanded;
}

} // namespace

cairo_status_t CPdfPrintDevice::Write(void* closure, const unsigned char* data,
                                      unsigned int length) {
    auto* device = static_cast<CPdfPrintDevice*>(closure);
    try {
        device->m_out.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        device->m_bWriteFailed = true;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

CPdfPrintDevice::CPdfPrintDevice(std::string& out, TextEncoding encoding,
                                 const CPdfPageSetup& setup)
    : m_out(out), m_encoding(encoding), m_setup(setup),
      m_surface(cairo_pdf_surface_create_for_stream(&CPdfPrintDevice::Write, this, setup.dWidth,
                                                    setup.dHeight)),
      m_cr(cairo_create(m_surface.get())) {
    cairo_pdf_surface_set_metadata(m_surface.get(), CAIRO_PDF_METADATA_CREATOR, "Quillmar");
    cairo_set_source_rgb(m_cr.get(), 0, 0, 0);
    // Metrics as the font defines them, not rounded to a device's pixels.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(m_cr.get(), options);
    cairo_font_options_destroy(options);
}

CPdfPrintDevice::~CPdfPrintDevice() {
    // The context and the faces go before the surface they draw on.
    m_cr.reset();
    m_face.reset();
    m_fallbackFaces.clear();
    if (m_surface) {
        cairo_surface_finish(m_surface.get());
    }
}

void CPdfPrintDevice::SetMapMode(int /*mode*/) {
    // Only MM_TWIPS is drawn in; the mapping to points is fixed.
}

void CPdfPrintDevice::SelectFont(const CFontSpec& font) {
    // The listing selects its font again on every page.
    if (m_face && font == m_font) {
        return;
    }
    m_font = font;
    m_bFallbacksRanked = false;
    m_fallbackFaces.clear();
    m_fallbackFonts.reset();
    m_fallbackPattern.reset();
    PatternPtr pattern = PatternFor(font);
    if (!pattern) {
        return;
    }
    m_face.reset(cairo_ft_font_face_create_for_pattern(pattern.get()));
    cairo_set_font_face(m_cr.get(), m_face.get());
    // A negative height is the character height (the em), a positive one
    // the cell height (ascent and descent).
    const double height = std::abs(font.nHeight) / kTwipsPerPoint;
    cairo_set_font_size(m_cr.get(), height > 0 ? height : 12.0);
    cairo_font_extents(m_cr.get(), &m_extents);
    if (font.nHeight > 0 && m_extents.ascent + m_extents.descent > 0) {
        cairo_set_font_size(m_cr.get(), height * height / (m_extents.ascent + m_extents.descent));
        cairo_font_extents(m_cr.get(), &m_extents);
    }
}

std::string CPdfPrintDevice::GetMatchedFamily() const {
    if (!m_face) {
        return {};
    }
    cairo_scaled_font_t* scaled = cairo_get_scaled_font(m_cr.get());
    std::string family;
    if (FT_Face face = cairo_ft_scaled_font_lock_face(scaled)) {
        if (face->family_name) {
            family = face->family_name;
        }
        cairo_ft_scaled_font_unlock_face(scaled);
    }
    return family;
}

CTextMetrics CPdfPrintDevice::QueryTextMetrics() {
    CTextMetrics metrics;
    const double cell = m_extents.ascent + m_extents.descent;
    metrics.tmHeight = ToTwips(cell);
    metrics.tmExternalLeading = ToTwips(std::max(0.0, m_extents.height - cell));
    cairo_text_extents_t x{};
    cairo_text_extents(m_cr.get(), "x", &x);
    metrics.tmAveCharWidth = ToTwips(x.x_advance);
    return metrics;
}

void CPdfPrintDevice::StartPage() {
    // cairo opens the next page by itself once the last one is shown.
    m_bPageOpen = !m_bEnded;
}

void CPdfPrintDevice::EndPage() {
    if (!m_bPageOpen) {
        return;
    }
    cairo_show_page(m_cr.get());
    ++m_nPages;
    m_bPageOpen = false;
}

void CPdfPrintDevice::EndDoc() {
    if (m_bEnded) {
        return;
    }
    m_bEnded = true;
    cairo_surface_flush(m_surface.get());
    cairo_surface_finish(m_surface.get());
}

void CPdfPrintDevice::OutputText(int32_t x, int32_t y, const std::string& text) {
    if (m_bEnded) {
        return;
    }
    const double left = m_setup.dLeft + x / kTwipsPerPoint;
    const double top = m_setup.dTop - y / kTwipsPerPoint;
    // cairo places text by its baseline, the listing by its top. Each run
    // moves the current point on past its glyphs.
    cairo_move_to(m_cr.get(), left, top + m_extents.ascent);
    for (const TextRun& run :
         SplitByFace(ExpandTabs(Utf8CodePoints(DecodeText(m_encoding, text))))) {
        cairo_font_face_t* fallback =
            run.nFace == kSelectedFace ? nullptr : FallbackFace(run.nFace);
        if (fallback) {
            cairo_set_font_face(m_cr.get(), fallback);
        }
        cairo_show_text(m_cr.get(), run.strUtf8.c_str());
        if (fallback) {
            cairo_set_font_face(m_cr.get(), m_face.get());
        }
    }
}

std::vector<CPdfPrintDevice::TextRun> CPdfPrintDevice::SplitByFace(const std::u32string& codes) {
    std::vector<TextRun> runs;
    cairo_scaled_font_t* scaled = m_face ? cairo_get_scaled_font(m_cr.get()) : nullptr;
    FT_Face face = scaled ? cairo_ft_scaled_font_lock_face(scaled) : nullptr;
    for (const char32_t code : codes) {
        if (code == 0) {
            continue; // cairo would end the text there
        }
        // Without a face of its own the text is all cairo's default font's.
        const int index =
            !face || FT_Get_Char_Index(face, code) != 0 ? kSelectedFace : FallbackFor(code);
        if (runs.empty() || runs.back().nFace != index) {
            runs.push_back({{}, index});
        }
        AppendUtf8(runs.back().strUtf8, code);
    }
    if (face) {
        cairo_ft_scaled_font_unlock_face(scaled);
    }
    return runs;
}

int CPdfPrintDevice::FallbackFor(char32_t code) {
    if (!m_bFallbacksRanked) {
        // The fonts in the order fontconfig ranks them for the selected
        // font, as other programs fall back on them.
        m_bFallbacksRanked = true;
        PatternPtr pattern = PatternFor(m_font);
        if (pattern && FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) {
            FcDefaultSubstitute(pattern.get());
            FcResult result = FcResultNoMatch;
            m_fallbackFonts.reset(FcFontSort(nullptr, pattern.get(), FcTrue, nullptr, &result));
            m_fallbackPattern.reset(pattern.release());
        }
    }
    if (!m_fallbackFonts) {
        return kSelectedFace;
    }
    for (int i = 0; i < m_fallbackFonts->nfont; ++i) {
        FcCharSet* characters = nullptr;
        if (FcPatternGetCharSet(m_fallbackFonts->fonts[i], FC_CHARSET, 0, &characters) ==
                FcResultMatch &&
            FcCharSetHasChar(characters, code)) {
            return i;
        }
    }
    // No font has it: the selected font shows its sign for a missing glyph.
    return kSelectedFace;
}

cairo_font_face_t* CPdfPrintDevice::FallbackFace(int index) {
    FacePtr& face = m_fallbackFaces[index];
    if (!face) {
        PatternPtr prepared(
            FcFontRenderPrepare(nullptr, m_fallbackPattern.get(), m_fallbackFonts->fonts[index]));
        if (prepared) {
            face.reset(cairo_ft_font_face_create_for_pattern(prepared.get()));
        }
    }
    return face.get();
}

bool CPdfPrintDevice::Finish() {
    EndPage();
    EndDoc();
    return !m_bWriteFailed && cairo_status(m_cr.get()) == CAIRO_STATUS_SUCCESS &&
           cairo_surface_status(m_surface.get()) == CAIRO_STATUS_SUCCESS;
}

bool PrintListingToPdf(CQuillmarDoc& doc, std::string& pdf) {
    // The document's texts are read as the desktop application reads them.
    const CXmlString& fileText = doc.GetFileText();
    CPdfPrintDevice device(
        pdf, DetectEncoding(std::string_view(fileText.GetBuffer(),
                                             static_cast<size_t>(fileText.GetLength()))));
    doc.PrintListing(&device);
    return device.Finish();
}

void ReleaseFontCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}
