#include "ui/Artwork.h"

#include <wx/artprov.h>
#include <wx/image.h>

#include <string>
#include <string_view>

namespace {

#include "PictureTexts.inc"

wxBitmapBundle FromSvgText(std::string_view svg, const wxSize& size) {
    // The toolkit's parser writes into the text while it reads it.
    std::string text(svg);
    return wxBitmapBundle::FromSVG(text.data(), size);
}

// A picture for a standard command when the system has none.
wxBitmapBundle FallbackBitmap(const wxSize& size) {
    wxImage image(size);
    image.InitAlpha();
    std::fill_n(image.GetAlpha(), size.x * size.y, 0);
    return wxBitmapBundle::FromImage(image);
}

// The theme's own picture of a command, when the desktop's icon theme has
// one: the toolkit's built-in pictures do not count.
wxBitmapBundle ThemePicture(const wxArtID& id, const wxSize& size) {
    if (!wxArtProvider::HasNativeProvider()) {
        return {};
    }
    return wxArtProvider::GetBitmapBundle(id, wxART_TOOLBAR, size);
}

} // namespace

wxBitmapBundle TreeItemBitmap(TreeImage image) {
    const wxSize size(kPictureSize, kPictureSize);
    switch (image) {
    case TreeImage::kCustomer:
        return FromSvgText(kTreeCustomerSvg, size);
    case TreeImage::kRateFile:
        return FromSvgText(kTreeRatefileSvg, size);
    case TreeImage::kHeader:
        return FromSvgText(kTreeHeaderSvg, size);
    case TreeImage::kPlan:
        return FromSvgText(kTreePlanSvg, size);
    case TreeImage::kElement:
        break;
    }
    return FromSvgText(kTreeElementSvg, size);
}

wxWithImages::Images TreeImages() {
    wxWithImages::Images images;
    for (const TreeImage image : {TreeImage::kElement, TreeImage::kCustomer, TreeImage::kRateFile,
                                  TreeImage::kHeader, TreeImage::kPlan}) {
        images.push_back(TreeItemBitmap(image));
    }
    return images;
}

wxBitmapBundle DeleteBitmap(const wxSize& size) {
    return FromSvgText(kToolDeleteSvg, size);
}

wxBitmapBundle ToolBitmap(ToolPicture picture, const wxSize& size) {
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
    case ToolPicture::kDelete: {
        wxBitmapBundle themed = ThemePicture(wxART_DELETE, size);
        return themed.IsOk() ? themed : DeleteBitmap(size);
    }
    }
    wxBitmapBundle bitmap = wxArtProvider::GetBitmapBundle(id, wxART_TOOLBAR, size);
    return bitmap.IsOk() ? bitmap : FallbackBitmap(size);
}

wxBitmapBundle ApplicationPicture(const wxSize& size) {
    return FromSvgText(kQuillmarSvg, size);
}

wxIconBundle ApplicationIcons() {
    const wxBitmapBundle picture = ApplicationPicture(wxSize(kPictureSize, kPictureSize));
    wxIconBundle icons;
    for (const int size : {16, 24, 32, 48, 64, 256}) {
        icons.AddIcon(picture.GetIcon(wxSize(size, size)));
    }
    return icons;
}
