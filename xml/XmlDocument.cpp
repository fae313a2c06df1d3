#include "xml/XmlDocument.h"

#include "xml/FileText.h"

CXmlDocument::CXmlDocument() : m_strHeader(kHeader) {}

CXmlDocument::~CXmlDocument() {
    DestroyTree();
}

void CXmlDocument::DestroyTree() {
    delete m_pRoot;
    m_pRoot = nullptr;
}

CXmlNode* CXmlDocument::New() {
    m_nError = kNoError;
    m_nErrorOffset = -1;
    DestroyTree();
    m_pRoot = CXmlNode::Make(m_pool.Get(), nullptr);
    if (m_pRoot) {
        m_pRoot->SetName("ROOTNODE");
        m_pRoot->SetText("Root Node Text");
    }
    return m_pRoot;
}

bool CXmlDocument::Load(CXmlString path) {
    m_nError = kNoError;
    m_nErrorOffset = -1;
    DestroyTree();
    m_strFileText.SetGrowStep(kFileTextGrowStep);
    if (ReadFileText(path.GetBuffer(), m_strFileText) != FileTextStatus::kOk) {
        m_strFileText.Clear();
        m_nError = kCannotOpen;
        return false;
    }
    return ParseFileText();
}

bool CXmlDocument::LoadBytes(const char* bytes, std::size_t size) {
    m_nError = kNoError;
    m_nErrorOffset = -1;
    DestroyTree();
    m_strFileText.SetGrowStep(kFileTextGrowStep);
    if (BytesToFileText(bytes, size, m_strFileText) != FileTextStatus::kOk) {
        m_strFileText.Clear();
        m_nError = kCannotOpen;
        return false;
    }
    return ParseFileText();
}

bool CXmlDocument::ParseFileText() {
    const int32_t start = FindRootStart();
    if (start < 0) {
        m_nError = kNoRootElement;
        return false;
    }
    m_pRoot = CXmlNode::Make(m_pool.Get(), nullptr);
    if (!m_pRoot) {
        m_nError = kCannotOpen;
        return false;
    }
    int32_t pos = start;
    int32_t stopOffset = -1;
    m_pRoot->Parse(m_strFileText, pos, m_nError, stopOffset);
    if (m_nError == kTagMismatch || m_nError == kTagNotClosed) {
        m_nErrorOffset = stopOffset;
    }
    return m_nError == kNoError;
}
