// The application's pictures: the tree pane's item images (red letters on
// black), the toolbar's buttons and the application's icon. The letters are
// drawn from small pixel patterns, so they look the same on every system.
#pragma once

#include "document/TreeLabels.h"
#include "resources/FrameResource.h"

#include <wx/bitmap.h>
#include <wx/iconbndl.h>
#include <wx/imaglist.h>

// The image of a tree item (16 by 16 pixels).
wxBitmap TreeItemBitmap(TreeImage image);

// The tree pane's image list, in the order of TreeImage: "xml", C, R, H, P.
void FillTreeImageList(wxImageList& list);

// A toolbar button's picture: the system's own pictures for the standard
// commands, a dark red X for Delete.
wxBitmap ToolBitmap(ToolPicture picture, const wxSize& size);

// The dark red X of the Delete button.
wxBitmap DeleteBitmap(const wxSize& size);

// The application's icon (IDR_MAINFRAME) in the sizes a window needs.
wxIconBundle ApplicationIcons();
