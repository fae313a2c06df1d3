#include "ui/DocumentEncoding.h"

#include "document/QuillmarDoc.h"

void CDocumentEncoding::OnInitialUpdate() {
    const CQuillmarDoc* doc = GetDocument();
    if (!doc || doc->GetPathName().empty()) {
        m_codec.SetEncoding(TextEncoding::kUtf8);
        return;
    }
    const CXmlString& text = doc->GetFileText();
    m_codec.SetEncoding(
        DetectEncoding(std::string_view(text.GetBuffer(), static_cast<size_t>(text.GetLength()))));
}

void CDocumentEncoding::OnUpdate(CView*, CUpdateHint) {
    // Edits and merges keep the encoding the document was opened with.
}
