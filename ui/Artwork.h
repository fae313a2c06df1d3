// The application's pictures: the tree pane's item images (red letters on
// black), the toolbar's buttons and the application's icon. Each is drawn
// from its SVG picture under resources/ at the size the screen needs, so it
// stays sharp at every scale.
#pragma once

#include "document/TreeLabels.h"
#include "resources/FrameResource.h"

#include <wx/bmpbndl.h>
#include <wx/event.h> // withimages.h uses its events without including it
#include <wx/iconbndl.h>
#include <wx/withimages.h>

// The size of a tree item image and of a toolbar picture at 100% scale.
constexpr int kPictureSize = 16;

// The image of a tree item, 16 by 16 pixels at 100% scale.
wxBitmapBundle TreeItemBitmap(TreeImage image);

// The tree pane's images, in the order of TreeImage: "xml", C, R, H, P.
wxWithImages::Images TreeImages();

// A toolbar button's picture: the system's own pictures for the standard
// commands; for Delete the theme's own where the desktop has an icon theme
// that holds one, else a dark red X.
wxBitmapBundle ToolBitmap(ToolPicture picture, const wxSize& size);

// The dark red X of the Delete button.
wxBitmapBundle DeleteBitmap(const wxSize& size);

// The application's icon as a picture of the given size at 100% scale,
// drawn sharp at the screen's scale.
wxBitmapBundle ApplicationPicture(const wxSize& size);

// The application's icon (IDR_MAINFRAME) in the sizes a window needs.
wxIconBundle ApplicationIcons();
