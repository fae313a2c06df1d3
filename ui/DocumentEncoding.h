// CDocumentEncoding: keeps the character encoding of the document's texts. It
// watches the document like a pane does and decides the encoding again at
// every New and Open; the panes and the printout read through its codec.
#pragma once

#include "document/View.h"
#include "ui/TextCodec.h"

class CDocumentEncoding : public CView {
public:
    const CTextCodec& GetCodec() const { return m_codec; }

    // A new document is UTF-8; an opened one is UTF-8 when its file text is
    // valid UTF-8, else Windows-1252.
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, CUpdateHint hint) override;

private:
    CTextCodec m_codec;
};
