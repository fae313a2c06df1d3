// CView: a pane that shows the document. The document calls OnUpdate of each
// of its views when something changes; a view attached to a document
// detaches itself when destroyed, and a document detaches its views when it
// is destroyed first.
#pragma once

#include "document/UpdateHint.h"

class CQuillmarDoc;

class CView {
public:
    CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;
    virtual ~CView();

    CQuillmarDoc* GetDocument() const { return m_pDocument; }

    // Called after every New and Open, once the document holds its new tree.
    // The default passes hint 0 to OnUpdate.
    virtual void OnInitialUpdate();
    // sender is the view that caused the change, or null; the document never
    // passes a broadcast back to its sender.
    virtual void OnUpdate(CView* sender, CUpdateHint hint) = 0;

private:
    friend class CQuillmarDoc;
    CQuillmarDoc* m_pDocument = nullptr;
};
