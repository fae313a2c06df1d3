// CXmlDocument: holder of one node tree that is read from or written to one
// file, with the error code of the last Load or New. The document owns the
// pool its tree's nodes and child lists come from (see XmlNodePool.h): the
// pool's memory goes back to the system with the document, except for the
// slabs of nodes that moved into another tree, which go with those nodes.
#pragma once

#include "xml/XmlNode.h"
#include "xml/XmlNodePool.h"
#include "xml/XmlString.h"

#include <cstddef>
#include <cstdint>

class CXmlDocument {
public:
    enum Error : int32_t {
        kNoError = 0,
        kTagMismatch = 1,   // a start tag cannot be read, or its end tag is not found
        kTagNotClosed = 2,  // a "<!" construct or a child's start tag has no '>'
        kCannotOpen = 3,    // the file cannot be opened or read as a whole
        kNoRootElement = 4, // the text holds no root element
    };

    static constexpr const char* kHeader = "<?xml version=\"1.0\"?>";
    static constexpr int32_t kFileTextGrowStep = 102400;
    // The longest file Load reads: its text is held in a string that grows
    // by kFileTextGrowStep. A writer that means its file to be read again
    // writes no more.
    static int32_t GetFileTextLimit() { return CXmlString::GetLengthLimit(kFileTextGrowStep); }

    CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;
    ~CXmlDocument();

    CXmlNode* New();
    CXmlNode* GetRoot() const { return m_pRoot; }
    CXmlString GetHeader() const { return m_strHeader; }
    int32_t GetError() const { return m_nError; }
    // The byte offset into the file text where reading stopped at the error
    // of the last Load (codes 1 and 2); -1 for the other codes and without
    // an error.
    int32_t GetErrorOffset() const { return m_nErrorOffset; }

    // Reads the file at path and parses it. True when it was read and parsed
    // without error; otherwise GetError tells why and GetRoot holds what
    // could be built (nothing for codes 3 and 4).
    bool Load(CXmlString path);
    // The same as Load, for bytes that are already in memory: they are taken
    // exactly as the bytes of a file would be.
    bool LoadBytes(const char* bytes, std::size_t size);

    int32_t FindRootStart();
    const CXmlString& GetFileText() const { return m_strFileText; }

    // The pool of this document's tree; null when it has none (builds
    // without pools), its nodes then coming from the general allocator.
    CXmlNodePool* GetNodePool() const { return m_pool.Get(); }

private:
    bool ParseFileText();
    void DestroyTree();

    // Declared before the tree, so that it goes after it.
    CXmlNodePoolOwner m_pool;
    CXmlNode* m_pRoot = nullptr;
    CXmlString m_strFileText;
    CXmlString m_strHeader;
    int32_t m_nError = kNoError;
    int32_t m_nErrorOffset = -1;
};
