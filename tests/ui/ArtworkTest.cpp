// The pictures drawn from their SVG sources: each is drawn at 16 and at 32
// pixels, the letters red on black and sharp, the Delete X dark red on
// nothing.
#include "ui/Artwork.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include <string>

namespace {

struct CInkCount {
    int nInk = 0;   // pixels of the letter's colour, fully or partly
    int nSolid = 0; // pixels that are wholly ink or wholly background
    int nStray = 0; // pixels of neither colour
    int nPixels = 0;
};

// Counts the pixels of image against ink on paper (paper is opaque black,
// or for a picture with alpha, nothing).
CInkCount CountInk(const wxImage& image, unsigned char inkRed) {
    CInkCount count;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            const int alpha = image.HasAlpha() ? image.GetAlpha(x, y) : 255;
            const int red = image.GetRed(x, y) * alpha / 255;
            const bool greyless =
                image.GetGreen(x, y) * alpha / 255 < 16 && image.GetBlue(x, y) * alpha / 255 < 16;
            ++count.nPixels;
            if (!greyless) {
                ++count.nStray;
                continue;
            }
            count.nInk += red > 32 ? 1 : 0;
            count.nSolid += (red < 16 || red > inkRed - 16) ? 1 : 0;
        }
    }
    return count;
}

struct CPictureCase {
    const char* name;
    wxBitmapBundle (*draw)();
    unsigned char inkRed;
    bool transparentCorner;
};

const CPictureCase kPictures[] = {
    {"xml", [] { return TreeItemBitmap(TreeImage::kElement); }, 255, false},
    {"C", [] { return TreeItemBitmap(TreeImage::kCustomer); }, 255, false},
    {"R", [] { return TreeItemBitmap(TreeImage::kRateFile); }, 255, false},
    {"H", [] { return TreeItemBitmap(TreeImage::kHeader); }, 255, false},
    {"P", [] { return TreeItemBitmap(TreeImage::kPlan); }, 255, false},
    {"Delete X", [] { return DeleteBitmap(wxSize(kPictureSize, kPictureSize)); }, 128, true},
    {"Q", [] { return wxBitmapBundle::FromIconBundle(ApplicationIcons()); }, 255, false},
};

TEST(ArtworkTest, EachPictureIsDrawnSharpInItsColoursAtOneAndTwiceTheSize) {
    for (const CPictureCase& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        const wxBitmapBundle bundle = picture.draw();
        ASSERT_TRUE(bundle.IsOk());
        int inkAtOne = 0;
        for (const int size : {16, 32}) {
            SCOPED_TRACE(size);
            const wxImage image = bundle.GetBitmap(wxSize(size, size)).ConvertToImage();
            ASSERT_EQ(wxSize(size, size), image.GetSize());
            const CInkCount count = CountInk(image, picture.inkRed);
            EXPECT_EQ(0, count.nStray);
            // A letter covers a good part of its square, and most pixels are
            // wholly ink or wholly background: the strokes lie on whole
            // pixels.
            EXPECT_GT(count.nInk, count.nPixels / 8);
            EXPECT_LT(count.nInk, count.nPixels / 2);
            EXPECT_GT(count.nSolid, count.nPixels * 8 / 10);
            const bool cornerClear = image.HasAlpha() && image.GetAlpha(0, 0) == 0;
            EXPECT_EQ(picture.transparentCorner, cornerClear);
            if (size == 16) {
                inkAtOne = count.nInk;
            } else {
                // Drawn anew at twice the size, not a 16-pixel picture
                // enlarged.
                EXPECT_GT(count.nInk, inkAtOne * 3);
            }
        }
    }
}

TEST(ArtworkTest, TheTreeImagesComeInTheOrderOfTheirIndexes) {
    const wxWithImages::Images images = TreeImages();
    ASSERT_EQ(5u, images.size());
    for (int index = 0; index < 5; ++index) {
        SCOPED_TRACE(index);
        const wxImage listed =
            images[static_cast<size_t>(index)].GetBitmap(wxSize(16, 16)).ConvertToImage();
        const wxImage own = TreeItemBitmap(static_cast<TreeImage>(index))
                                .GetBitmap(wxSize(16, 16))
                                .ConvertToImage();
        EXPECT_EQ(0, memcmp(listed.GetData(), own.GetData(), 16 * 16 * 3));
    }
}

} // namespace
