// The printed listing as a PDF file: a print device on a cairo PDF surface.
//
// The listing draws in MM_TWIPS: 1440 units to the inch, the origin at the
// top-left corner of the printable area, y growing upwards. The device maps
// that to PDF points (72 to the inch, y growing downwards) on a US Letter
// page whose printable area begins a quarter inch from the page's left and
// top edges, as on a typical office printer. The texts are read in the
// document's encoding, as the desktop application reads them; a character
// the listing's font lacks (CJK in Liberation Mono, say) is drawn in the
// font fontconfig ranks next that has it.
#pragma once

#include "document/PrintDevice.h"
#include "document/TextCodec.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class CQuillmarDoc;

struct CPdfPageSetup {
    double dWidth = 612.0;  // points: 8.5 inches
    double dHeight = 792.0; // points: 11 inches
    double dLeft = 18.0;    // the printable area's left edge, in points
    double dTop = 18.0;     // the printable area's top edge, in points
};

class CPdfPrintDevice : public CPrintDevice {
public:
    static constexpr double kTwipsPerPoint = 20.0;

    // Starts the print job and its first page; the PDF's bytes are appended
    // to out as cairo produces them. Texts are bytes of a document in the
    // given encoding.
    explicit CPdfPrintDevice(std::string& out, TextEncoding encoding = TextEncoding::kUtf8,
                             const CPdfPageSetup& setup = {});
    CPdfPrintDevice(const CPdfPrintDevice&) = delete;
    CPdfPrintDevice& operator=(const CPdfPrintDevice&) = delete;
    ~CPdfPrintDevice() override;

    // Ends the job if the listing did not (a job without a tree gives one
    // blank page). True when the PDF is complete.
    bool Finish();
    // Pages ended so far.
    int GetPageCount() const { return m_nPages; }
    // The family the font's face name was matched to, such as
    // "Liberation Mono"; empty before a font is selected.
    std::string GetMatchedFamily() const;

    void SetMapMode(int mode) override;
    // A font face name is looked up through fontconfig; "Courier New" is
    // looked for as its metric twin "Liberation Mono" first, and any
    // fixed-pitch font is the last resort.
    void SelectFont(const CFontSpec& font) override;
    CTextMetrics QueryTextMetrics() override;
    void StartPage() override;
    void EndPage() override;
    void EndDoc() override;
    void OutputText(int32_t x, int32_t y, const std::string& text) override;

private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    struct ContextDeleter {
        void operator()(cairo_t* cr) const { cairo_destroy(cr); }
    };
    struct FaceDeleter {
        void operator()(cairo_font_face_t* face) const { cairo_font_face_destroy(face); }
    };
    struct PatternDeleter {
        void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
    };
    struct FontSetDeleter {
        void operator()(FcFontSet* fonts) const { FcFontSetDestroy(fonts); }
    };
    using FacePtr = std::unique_ptr<cairo_font_face_t, FaceDeleter>;

    static constexpr int kSelectedFace = -1;
    // A part of a text drawn in one face: the selected font's, or a
    // fallback font's (its place in m_fallbackFonts).
    struct TextRun {
        std::string strUtf8;
        int nFace;
    };
    std::vector<TextRun> SplitByFace(const std::u32string& codes);
    // The first of the fonts ranked after the selected font that has code;
    // kSelectedFace when none has it. The fonts are ranked once per font.
    int FallbackFor(char32_t code);
    cairo_font_face_t* FallbackFace(int index);

    static cairo_status_t Write(void* closure, const unsigned char* data, unsigned int length);

    std::string& m_out;
    bool m_bWriteFailed = false;
    TextEncoding m_encoding;
    CPdfPageSetup m_setup;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> m_surface;
    std::unique_ptr<cairo_t, ContextDeleter> m_cr;
    FacePtr m_face;
    CFontSpec m_font; // the font m_face was made for
    cairo_font_extents_t m_extents{};
    // The fonts for characters m_face lacks, best first, and their faces as
    // far as they were needed.
    bool m_bFallbacksRanked = false;
    std::unique_ptr<FcPattern, PatternDeleter> m_fallbackPattern;
    std::unique_ptr<FcFontSet, FontSetDeleter> m_fallbackFonts;
    std::map<int, FacePtr> m_fallbackFaces;
    int m_nPages = 0;
    // A page is started and not yet ended; the platform starts the first.
    bool m_bPageOpen = true;
    bool m_bEnded = false;
};

// Prints doc's listing into a PDF whose bytes are left in pdf, its texts read
// in the encoding of the document's file text. False when cairo could not
// make the PDF.
bool PrintListingToPdf(CQuillmarDoc& doc, std::string& pdf);

// Frees what cairo and fontconfig keep for later drawing (font caches and the
// font configuration), once no print device exists any more, so that a
// program that prints and ends leaves nothing behind.
void ReleaseFontCaches();
