// The reader: turns the file text into a tree of elements.
//
// An element starts at its start tag and ends at the exact text "</name>".
// Everything between goes to the element's text (line breaks dropped, the
// entities &lt; &gt; &amp; decoded as they complete), to child elements, or is
// skipped ("<!" constructs up to the next '>'). An element whose end tag is
// missing takes the name of each further complete tag in turn and then fails.
//
// The parse keeps its own stack of open elements, so the nesting depth of a
// file is bounded by memory, not by the call stack.
//
// Where reading stopped is kept for the first error: the '<' of a tag or a
// "<!" construct without its '>', or the '<' of the start tag of the
// innermost element whose end tag is not found.
#include "xml/XmlDocument.h"
#include "xml/XmlKey.h"
#include "xml/XmlNode.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace {

// The names one parse has made, found by their bytes, so that the elements
// of one name share it. The table holds each name once itself while it
// lives, and lets them go when the parse ends: the nodes keep theirs.
class CNameTable {
public:
    CNameTable() = default;
    CNameTable(const CNameTable&) = delete;
    CNameTable& operator=(const CNameTable&) = delete;
    ~CNameTable() {
        for (CXmlSharedName* name : m_slots) {
            ReleaseSharedName(name);
        }
    }

    // The name made of the bytes; null when memory runs out.
    CXmlSharedName* Find(const char* bytes, int32_t length) {
        const std::string_view wanted(bytes, static_cast<std::size_t>(length));
        if (m_nUsed * 2 >= m_slots.size() && !Grow()) {
            return nullptr;
        }
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t slot = Hash(wanted) & mask;; slot = (slot + 1) & mask) {
            CXmlSharedName* name = m_slots[slot];
            if (!name) {
                return Make(slot, bytes, length);
            }
            const CXmlString& made = name->strName;
            if (made.GetLength() == length && SameBytes(made.GetBuffer(), bytes, length) &&
                !made.HasGrowthFailed()) {
                return name;
            }
        }
    }

private:
    // Element names are short: the hash mixes the length and the first and
    // last (up to) eight bytes, read as words.
    static std::size_t Hash(std::string_view bytes) {
        uint64_t head = 0;
        uint64_t tail = 0;
        const std::size_t size = bytes.size();
        std::memcpy(&head, bytes.data(), size < 8 ? size : 8);
        if (size > 8) {
            std::memcpy(&tail, bytes.data() + (size > 16 ? size - 8 : 8), size > 16 ? 8 : size - 8);
        }
        uint64_t hash = (head ^ (tail * 0x9E3779B97F4A7C15ULL) ^ size) * 0xFF51AFD7ED558CCDULL;
        return static_cast<std::size_t>(hash ^ (hash >> 32));
    }

    // A new name of the bytes, as a new node's name takes them: a name
    // longer than a string may hold is empty and marked as incomplete.
    CXmlSharedName* Make(std::size_t slot, const char* bytes, int32_t length) {
        auto* name = new (std::nothrow) CXmlSharedName;
        if (!name) {
            return nullptr;
        }
        name->strName.Append(bytes, length);
        name->nHolders = 1;
        m_slots[slot] = name;
        ++m_nUsed;
        return name;
    }

    bool Grow() {
        std::vector<CXmlSharedName*> slots;
        try {
            slots.assign(m_slots.empty() ? 64 : m_slots.size() * 2, nullptr);
        } catch (const std::bad_alloc&) {
            return false;
        }
        const std::size_t mask = slots.size() - 1;
        for (CXmlSharedName* name : m_slots) {
            if (name) {
                std::size_t slot = Hash(BytesOf(name->strName)) & mask;
                while (slots[slot]) {
                    slot = (slot + 1) & mask;
                }
                slots[slot] = name;
            }
        }
        m_slots.swap(slots);
        return true;
    }

    std::vector<CXmlSharedName*> m_slots;
    std::size_t m_nUsed = 0;
};

} // namespace

class CXmlParser {
public:
    CXmlParser(const CXmlString& text, int32_t& pos, int32_t& error)
        : m_pText(text.GetBuffer()), m_nLength(text.GetLength()), m_nPos(pos), m_nError(error) {}

    int32_t Run(CXmlNode* element);
    // The byte offset where reading stopped at the first error; -1 without one.
    int32_t GetStopOffset() const { return m_nStopOffset; }

private:
    struct Tag {
        int32_t nLt;
        int32_t nGt;
    };
    struct Frame {
        CXmlNode* pNode;
        int32_t nNext; // the next byte this element examines
        // Blanks gathered while the element's text is still empty, not yet
        // stored: most elements with children have only layout between
        // them, which the end tag's trim would remove again.
        int32_t nPendingBlanks;
        int32_t nStartTag; // the '<' of the element's start tag
    };
    enum class PassEnd { kEndTag, kChild, kNotFound };

    bool ScanTag(int32_t from, Tag& tag);
    bool BeginElement(Frame& frame);
    void NameFromTag(CXmlNode* node, const Tag& tag);
    PassEnd RunPass(Frame& frame, Tag& childTag);
    bool IsEndTagAt(const CXmlString& name, int32_t at) const;
    void GatherText(Frame& frame, int32_t from, int32_t to);
    static void StorePendingBlanks(Frame& frame);
    bool OpenChild(std::vector<Frame>& stack, const Tag& childTag);
    int32_t FailUnclosed(Frame& frame);
    int32_t Fail();
    void NoteStop(int32_t at);

    const char* m_pText;
    int32_t m_nLength;
    int32_t& m_nPos;
    int32_t& m_nError;
    int32_t m_nFailedScanFrom = -1; // a tag scan from here is known to fail
    int32_t m_nStopOffset = -1;
    // Where the elements and their child lists come from: the pool of the
    // element the parse was started on (a document's root: the document's
    // pool), or the general allocator.
    CXmlNodePool* m_pPool = nullptr;
    CNameTable m_names;
};

// The tag scan: from a position, a '<' sets lt and a '>' sets gt until both
// are set; the tag is the bytes between them when lt comes first. In effect
// the tag begins at the last '<' before the first '>' that follows a '<'.
bool CXmlParser::ScanTag(int32_t from, Tag& tag) {
    if (from == m_nFailedScanFrom || from >= m_nLength || m_pText[from] == '>') {
        return false; // a '>' first sets gt before any lt, and the scan fails
    }
    const char* text = m_pText;
    int32_t lt = -1;
    for (int32_t k = from; k < m_nLength; ++k) {
        const char c = text[k];
        if (c == '<') {
            lt = k;
        } else if (c == '>') {
            if (lt >= 0) {
                tag = {lt, k};
                return true;
            }
            // gt came first: the scan ends at the next '<' with lt after gt.
            m_nFailedScanFrom = from;
            return false;
        }
    }
    m_nFailedScanFrom = from;
    return false;
}

void CXmlParser::NameFromTag(CXmlNode* node, const Tag& tag) {
    // An empty tag gives an empty name.
    // A node with a key of its own (an element a parse was started on) keeps
    // it, and so makes its name alone, as it does when the table has no
    // memory.
    CXmlSharedName* name =
        node->StoredKey() ? nullptr : m_names.Find(m_pText + tag.nLt + 1, tag.nGt - tag.nLt - 1);
    if (name) {
        node->HoldName(name);
    } else if (CXmlString* own = node->OwnName()) {
        own->Clear();
        own->Append(m_pText + tag.nLt + 1, tag.nGt - tag.nLt - 1);
    }
}

bool CXmlParser::IsEndTagAt(const CXmlString& name, int32_t at) const {
    const int32_t nameLength = name.GetLength();
    if (static_cast<int64_t>(at) + nameLength + 3 > m_nLength) {
        return false;
    }
    const char* p = m_pText + at;
    return p[1] == '/' && p[nameLength + 2] == '>' &&
           SameBytes(p + 2, name.GetBuffer(), nameLength);
}

namespace {

// The bytes that end a run of text copied as it is: line ends, which are
// dropped, and ';', which may complete an entity.
constexpr auto kEndsTextRun = [] {
    std::array<bool, 256> ends{};
    ends['\n'] = true;
    ends['\r'] = true;
    ends[';'] = true;
    return ends;
}();

// Trims the text an element ends with; most have nothing to trim, which
// their first and last bytes tell.
void TrimText(CXmlString& text) {
    const int32_t length = text.GetLength();
    if (length == 0) {
        return;
    }
    const char* bytes = text.GetBuffer();
    if (bytes[0] == ' ' || bytes[0] == '\t' || bytes[length - 1] == ' ' ||
        bytes[length - 1] == '\t') {
        text.Trim();
    }
}

} // namespace

// Appends the character data between two positions to an element's text,
// dropping CR and LF and decoding an entity whenever a ';' completes one.
void CXmlParser::GatherText(Frame& frame, int32_t from, int32_t to) {
    const char* p = m_pText;
    CXmlString& text = frame.pNode->m_strText;
    if (text.IsEmpty()) {
        // Counted in a local: the frame could alias the bytes read.
        int32_t blanks = 0;
        for (; from < to; ++from) {
            const char c = p[from];
            if (c == ' ') {
                ++blanks;
            } else if (c != '\n' && c != '\r') {
                break;
            }
        }
        frame.nPendingBlanks += blanks;
        if (from == to) {
            return;
        }
        StorePendingBlanks(frame);
    }
    while (from < to) {
        int32_t run = from;
        while (run < to && !kEndsTextRun[static_cast<unsigned char>(p[run])]) {
            ++run;
        }
        text.Append(p + from, run - from);
        if (run == to) {
            return;
        }
        if (p[run] == ';') {
            text.AppendChar(';');
            const int32_t length = text.GetLength();
            const char* tail = text.GetBuffer() + length;
            if (length >= 4 && std::memcmp(tail - 4, "&lt;", 4) == 0) {
                text.Truncate(length - 4);
                text.AppendChar('<');
            } else if (length >= 4 && std::memcmp(tail - 4, "&gt;", 4) == 0) {
                text.Truncate(length - 4);
                text.AppendChar('>');
            } else if (length >= 5 && std::memcmp(tail - 5, "&amp;", 5) == 0) {
                text.Truncate(length - 5);
                text.AppendChar('&');
            }
        }
        from = run + 1;
    }
}

void CXmlParser::StorePendingBlanks(Frame& frame) {
    if (frame.nPendingBlanks > 0) {
        frame.pNode->m_strText.AppendRepeated(' ', frame.nPendingBlanks);
        frame.nPendingBlanks = 0;
    }
}

// Reads the start tag at the current position: the element takes its name
// and examines the bytes after it.
bool CXmlParser::BeginElement(Frame& frame) {
    Tag tag{};
    if (m_nPos >= m_nLength || !ScanTag(m_nPos, tag)) {
        return false;
    }
    m_nPos = tag.nGt + 1;
    frame.pNode->SetName(CXmlString());
    NameFromTag(frame.pNode, tag);
    frame.nNext = m_nPos;
    frame.nStartTag = tag.nLt;
    return true;
}

// Examines the element's bytes until its end tag, a child's start tag, or the
// end of the text.
CXmlParser::PassEnd CXmlParser::RunPass(Frame& frame, Tag& childTag) {
    CXmlNode* node = frame.pNode;
    const CXmlString& name = node->NameRef();
    const char* text = m_pText;
    int32_t j = frame.nNext;
    while (j < m_nLength) {
        if (text[j] != '<') {
            const void* lt = std::memchr(text + j, '<', static_cast<size_t>(m_nLength - j));
            const int32_t run =
                lt ? static_cast<int32_t>(static_cast<const char*>(lt) - text) : m_nLength;
            GatherText(frame, j, run);
            j = run;
            continue;
        }
        if (j + 1 < m_nLength && text[j + 1] == '!') {
            const void* close =
                std::memchr(text + j + 1, '>', static_cast<size_t>(m_nLength - j - 1));
            if (!close) {
                m_nError = CXmlDocument::kTagNotClosed;
                NoteStop(j);
                frame.nNext = m_nLength;
                return PassEnd::kNotFound;
            }
            j = static_cast<int32_t>(static_cast<const char*>(close) - text) + 1;
            continue;
        }
        if (IsEndTagAt(name, j)) {
            m_nPos = j + name.GetLength() + 2;
            return PassEnd::kEndTag;
        }
        if (!ScanTag(j, childTag)) {
            m_nError = CXmlDocument::kTagNotClosed;
            NoteStop(j);
            frame.nNext = m_nLength;
            return PassEnd::kNotFound;
        }
        return PassEnd::kChild;
    }
    frame.nNext = m_nLength;
    return PassEnd::kNotFound;
}

int32_t CXmlParser::Fail() {
    if (m_nError != CXmlDocument::kTagNotClosed) {
        m_nError = CXmlDocument::kTagMismatch;
    }
    return m_nLength;
}

void CXmlParser::NoteStop(int32_t at) {
    if (m_nStopOffset < 0) {
        m_nStopOffset = at;
    }
}

// Opens the child whose start tag was just scanned: it is appended to the
// element and examines the bytes after its tag. False when memory runs out.
bool CXmlParser::OpenChild(std::vector<Frame>& stack, const Tag& childTag) {
    CXmlNode* parent = stack.back().pNode;
    CXmlNode* child = CXmlNode::Make(m_pPool, parent);
    if (!child) {
        return false;
    }
    NameFromTag(child, childTag);
    parent->m_children.AddUnderOwnName(child, m_pPool);
    try {
        stack.push_back({child, 0, 0, childTag.nLt});
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_nPos = childTag.nGt + 1;
    stack.back().nNext = m_nPos;
    return true;
}

// Without its end tag the element takes the name of each further complete
// tag in turn. A search for such a tag's end tag over bytes that were already
// examined cannot succeed, so the element then fails; its text keeps the
// bytes gathered once.
int32_t CXmlParser::FailUnclosed(Frame& frame) {
    NoteStop(frame.nStartTag);
    Tag tag{};
    while (m_nPos < m_nLength && ScanTag(m_nPos, tag)) {
        m_nPos = tag.nGt + 1;
        CXmlString name;
        name.Append(m_pText + tag.nLt + 1, tag.nGt - tag.nLt - 1);
        frame.pNode->SetName(name);
    }
    StorePendingBlanks(frame);
    return Fail();
}

int32_t CXmlParser::Run(CXmlNode* element) {
    m_pPool = element->AllocationPool();
    Frame first{element, 0, 0, m_nPos};
    if (!BeginElement(first)) {
        NoteStop(m_nPos);
        return Fail();
    }
    std::vector<Frame> stack;
    try {
        stack.push_back(first);
    } catch (const std::bad_alloc&) {
        NoteStop(first.nStartTag);
        return Fail();
    }
    for (;;) {
        Frame& frame = stack.back();
        Tag childTag{};
        int32_t result = 0;
        switch (RunPass(frame, childTag)) {
        case PassEnd::kEndTag:
            TrimText(frame.pNode->m_strText);
            result = m_nPos;
            break;
        case PassEnd::kChild:
            if (!OpenChild(stack, childTag)) {
                // Out of memory: the text cannot be read as a whole.
                m_nError = CXmlDocument::kCannotOpen;
                return m_nLength;
            }
            continue;
        case PassEnd::kNotFound:
            result = FailUnclosed(frame);
            break;
        }
        stack.pop_back();
        if (stack.empty()) {
            return result;
        }
        stack.back().nNext = result + 1;
    }
}

int32_t CXmlNode::Parse(CXmlString& text, int32_t& pos, int32_t& error) {
    int32_t stopOffset = -1;
    return Parse(text, pos, error, stopOffset);
}

int32_t CXmlNode::Parse(CXmlString& text, int32_t& pos, int32_t& error, int32_t& stopOffset) {
    CXmlParser parser(text, pos, error);
    const int32_t result = parser.Run(this);
    stopOffset = parser.GetStopOffset();
    return result;
}

int32_t CXmlDocument::FindRootStart() {
    m_nError = kNoError;
    const char* text = m_strFileText.GetBuffer();
    const int32_t length = m_strFileText.GetLength();
    int32_t k = 0;
    for (;;) {
        int32_t lt = -1;
        int32_t gt = -1;
        while (k < length && (lt < 0 || gt < 0)) {
            if (text[k] == '<') {
                lt = k;
            } else if (text[k] == '>') {
                gt = k;
            }
            ++k;
        }
        if (lt < 0) {
            return -1;
        }
        if (m_strFileText.GetAt(lt + 1) != '?') {
            return lt;
        }
    }
}
