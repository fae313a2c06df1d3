// CListingPrintout: one print job of the listing on a wx printer. The
// document draws the whole job when the printer is ready (OnPreparePrinting);
// the printer then takes it page by page.
#pragma once

#include "ui/ListingPages.h"

#include <wx/print.h>

#include <functional>

class CTextCodec;

class CListingPrintout : public wxPrintout {
public:
    CListingPrintout(const wxString& title, std::function<void(CPrintDevice&)> print,
                     const CTextCodec& codec);

    void OnPreparePrinting() override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;

    int GetPageCount() const { return static_cast<int>(m_pages.pages.size()); }

private:
    // Scales the context so that fonts come out at their size in points, and
    // finds the printable area's corner.
    CPrintMapping PrepareContext();

    std::function<void(CPrintDevice&)> m_print;
    const CTextCodec& m_codec;
    CListingPages m_pages;
    bool m_bPrepared = false;
};
