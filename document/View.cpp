#include "document/View.h"

#include "document/QuillmarDoc.h"

CView::~CView() {
    if (m_pDocument) {
        m_pDocument->RemoveView(*this);
    }
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, kHintNewDocument);
}
