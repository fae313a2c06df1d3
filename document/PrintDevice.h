// CPrintDevice: a printer's drawing surface during one print job, handed to
// the printed listing with its job and first page already started. (Member
// names avoid the Win32 macros TextOut and GetTextMetrics.)
#pragma once

#include <cstdint>
#include <string>

// A font as the printer is asked for it (the fields of a logical font).
struct CFontSpec {
    std::string strFaceName;
    int32_t nHeight = 0; // negative: character height, positive: cell height
    int32_t nWeight = 400;
    bool bItalic = false;
    bool bUnderline = false;
    bool bStrikeOut = false;
    uint8_t nCharSet = 0;       // ANSI_CHARSET
    uint8_t nOutPrecision = 0;  // OUT_DEFAULT_PRECIS
    uint8_t nClipPrecision = 0; // CLIP_DEFAULT_PRECIS
    uint8_t nQuality = 0;       // DEFAULT_QUALITY
    uint8_t nPitchAndFamily = 0;

    bool operator==(const CFontSpec&) const = default;
};

// Text metrics of the selected font, in logical units.
struct CTextMetrics {
    int32_t tmHeight = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
};

class CPrintDevice {
public:
    // The Win32 values, under names that windows.h does not define as macros.
    // MM_TWIPS: one logical unit per twip (1/1440 inch); the origin is the
    // top-left corner of the printable area and y grows upwards.
    static constexpr int kMapModeTwips = 6;
    static constexpr uint8_t kFamilyModern = 0x30; // FF_MODERN
    static constexpr uint8_t kDefaultPitch = 0x00; // DEFAULT_PITCH

    virtual ~CPrintDevice() = default;

    virtual void SetMapMode(int mode) = 0;
    // Creates the font and selects it; the device keeps it until the job ends
    // or another font is selected.
    virtual void SelectFont(const CFontSpec& font) = 0;
    virtual CTextMetrics QueryTextMetrics() = 0;
    virtual void StartPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndDoc() = 0;
    // Draws text with its top-left corner at (x, y).
    virtual void OutputText(int32_t x, int32_t y, const std::string& text) = 0;
};
