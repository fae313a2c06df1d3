#include "ui/Artwork.h"

#include <wx/artprov.h>
#include <wx/image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

namespace {

// A letter as rows of '#' (ink) and '.' (background).
struct CGlyph {
    int nWidth;
    std::array<std::string_view, 7> rows;
};

constexpr CGlyph kCapitalC{5, {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}};
constexpr CGlyph kCapitalR{5, {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}};
constexpr CGlyph kCapitalH{5, {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}};
constexpr CGlyph kCapitalP{5, {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}};
constexpr CGlyph kCapitalQ{5, {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}};
constexpr CGlyph kSmallX{5, {".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"}};
constexpr CGlyph kSmallM{5, {".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}};
constexpr CGlyph kSmallL{2, {"#.", "#.", "#.", "#.", "#.", "#.", "##"}};

const wxColour kInk(255, 0, 0);
const wxColour kPaper(0, 0, 0);
const wxColour kDeleteInk(128, 0, 0);

void Fill(wxImage& image, const wxColour& colour) {
    image.SetRGB(wxRect(0, 0, image.GetWidth(), image.GetHeight()), colour.Red(), colour.Green(),
                 colour.Blue());
}

// Draws glyph with its top-left corner at (left, top), each pattern pixel a
// square of scale pixels.
void DrawGlyph(wxImage& image, const CGlyph& glyph, int left, int top, int scale) {
    for (int row = 0; row < static_cast<int>(glyph.rows.size()); ++row) {
        for (int column = 0; column < glyph.nWidth; ++column) {
            if (glyph.rows[static_cast<size_t>(row)][static_cast<size_t>(column)] != '#') {
                continue;
            }
            image.SetRGB(wxRect(left + column * scale, top + row * scale, scale, scale), kInk.Red(),
                         kInk.Green(), kInk.Blue());
        }
    }
}

// One capital letter, as large as fits, centred on black.
wxBitmap CapitalBitmap(const CGlyph& glyph, int size) {
    wxImage image(size, size);
    Fill(image, kPaper);
    const int scale = std::max(1, std::min((size - 2) / glyph.nWidth, (size - 2) / 7));
    const int left = (size - glyph.nWidth * scale) / 2;
    const int top = (size - 7 * scale) / 2;
    DrawGlyph(image, glyph, left, top, scale);
    return wxBitmap(image);
}

// The letters "xml" on black.
wxBitmap XmlBitmap(int size) {
    wxImage image(size, size);
    Fill(image, kPaper);
    const int scale = std::max(1, size / 16);
    const int width = (kSmallX.nWidth + 1 + kSmallM.nWidth + 1 + kSmallL.nWidth) * scale;
    int left = (size - width) / 2;
    const int top = (size - 7 * scale) / 2;
    for (const CGlyph* glyph : {&kSmallX, &kSmallM, &kSmallL}) {
        DrawGlyph(image, *glyph, left, top, scale);
        left += (glyph->nWidth + 1) * scale;
    }
    return wxBitmap(image);
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// A picture for a standard command when the system has none.
wxBitmap FallbackBitmap(const wxSize& size) {
    wxImage image(size);
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), size.x * size.y, 0);
    return wxBitmap(image);
}

} // namespace

wxBitmap TreeItemBitmap(TreeImage image) {
    constexpr int kSize = 16;
    switch (image) {
    case TreeImage::kCustomer:
        return CapitalBitmap(kCapitalC, kSize);
    case TreeImage::kRateFile:
        return CapitalBitmap(kCapitalR, kSize);
    case TreeImage::kHeader:
        return CapitalBitmap(kCapitalH, kSize);
    case TreeImage::kPlan:
        return CapitalBitmap(kCapitalP, kSize);
    case TreeImage::kElement:
        break;
    }
    return XmlBitmap(kSize);
}

void FillTreeImageList(wxImageList& list) {
    list.Create(16, 16, false, 5);
    for (const TreeImage image : {TreeImage::kElement, TreeImage::kCustomer, TreeImage::kRateFile,
                                  TreeImage::kHeader, TreeImage::kPlan}) {
        list.Add(TreeItemBitmap(image));
    }
}

wxBitmap DeleteBitmap(const wxSize& size) {
    wxImage image(size);
    image.InitAlpha();
    const double margin = 2.5;
    const double w = size.x - 1;
    const double h = size.y - 1;
    const double halfStroke = std::max(1.2, size.x / 10.0);
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            const double d =
                std::min(DistanceToSegment(x, y, margin, margin, w - margin, h - margin),
                         DistanceToSegment(x, y, w - margin, margin, margin, h - margin));
            const double coverage = std::clamp(halfStroke + 0.5 - d, 0.0, 1.0);
            image.SetRGB(x, y, kDeleteInk.Red(), kDeleteInk.Green(), kDeleteInk.Blue());
            image.SetAlpha(x, y, static_cast<unsigned char>(std::lround(coverage * 255)));
        }
    }
    return wxBitmap(image);
}

wxBitmap ToolBitmap(ToolPicture picture, const wxSize& size) {
    wxArtID id;
    switch (picture) {
    case ToolPicture::kNew:
        id = wxART_NEW;
        break;
    case ToolPicture::kOpen:
        id = wxART_FILE_OPEN;
        break;
    case ToolPicture::kSave:
        id = wxART_FILE_SAVE;
        break;
    case ToolPicture::kCut:
        id = wxART_CUT;
        break;
    case ToolPicture::kCopy:
        id = wxART_COPY;
        break;
    case ToolPicture::kPaste:
        id = wxART_PASTE;
        break;
    case ToolPicture::kPrint:
        id = wxART_PRINT;
        break;
    case ToolPicture::kDelete:
        return DeleteBitmap(size);
    }
    wxBitmap bitmap = wxArtProvider::GetBitmap(id, wxART_TOOLBAR, size);
    return bitmap.IsOk() ? bitmap : FallbackBitmap(size);
}

wxIconBundle ApplicationIcons() {
    wxIconBundle icons;
    for (const int size : {16, 32, 48}) {
        wxIcon icon;
        icon.CopyFromBitmap(CapitalBitmap(kCapitalQ, size));
        icons.AddIcon(icon);
    }
    return icons;
}
