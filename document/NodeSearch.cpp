#include "document/NodeSearch.h"

#include <algorithm>

namespace {

// The position of child among parent's children.
int32_t ChildPosition(const CXmlNode* parent, const CXmlNode* child) {
    const int32_t count = parent->GetChildCount();
    for (int32_t index = 0; index < count; ++index) {
        if (parent->GetChild(index) == child) {
            return index;
        }
    }
    return -1;
}

} // namespace

CTextMatcher::CTextMatcher(std::string_view needle, SearchCharset charset) : m_charset(charset) {
    for (int byte = 0; byte < 256; ++byte) {
        m_fold[byte] = static_cast<unsigned char>(byte >= 'A' && byte <= 'Z' ? byte + 0x20 : byte);
    }
    if (charset == SearchCharset::kWindows1252) {
        for (int byte = 0xC0; byte <= 0xDE; ++byte) {
            if (byte != 0xD7) { // the multiplication sign
                m_fold[byte] = static_cast<unsigned char>(byte + 0x20);
            }
        }
        m_fold[0x8A] = 0x9A; // S with caron
        m_fold[0x8C] = 0x9C; // OE
        m_fold[0x8E] = 0x9E; // Z with caron
        m_fold[0x9F] = 0xFF; // Y with diaeresis
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(needle.data());
    m_needle.reserve(needle.size());
    for (size_t at = 0; at < needle.size(); ++at) {
        m_needle.push_back(FoldAt(bytes, at));
    }
}

unsigned char CTextMatcher::FoldAt(const unsigned char* text, size_t at) const {
    const unsigned char byte = text[at];
    if (m_charset == SearchCharset::kUtf8 && byte >= 0x80 && byte <= 0x9E && byte != 0x97 &&
        at > 0 && text[at - 1] == 0xC3) {
        return static_cast<unsigned char>(byte + 0x20);
    }
    return m_fold[byte];
}

bool CTextMatcher::Matches(std::string_view text) const {
    const size_t length = m_needle.size();
    if (length == 0 || text.size() < length) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    // A match starts at a byte that stands for a character of its own (the
    // needle is whole characters), which folds without the byte before it.
    const unsigned char first = m_needle[0];
    const size_t last = text.size() - length;
    for (size_t at = 0; at <= last; ++at) {
        if (m_fold[bytes[at]] != first) {
            continue;
        }
        size_t matched = 1;
        while (matched < length && FoldAt(bytes, at + matched) == m_needle[matched]) {
            ++matched;
        }
        if (matched == length) {
            return true;
        }
    }
    return false;
}

CDocumentWalk::CDocumentWalk(CXmlNode* root, CXmlNode* node) : m_pCurrent(node) {
    for (const CXmlNode* at = node; at && at != root; at = at->GetParent()) {
        m_path.push_back(ChildPosition(at->GetParent(), at));
    }
    std::reverse(m_path.begin(), m_path.end());
}

bool CDocumentWalk::Next() {
    if (m_pCurrent->GetChildCount() > 0) {
        m_path.push_back(0);
        m_pCurrent = m_pCurrent->GetChild(0);
        return true;
    }
    // The nearest element above with a later child.
    const CXmlNode* node = m_pCurrent;
    for (size_t level = m_path.size(); level-- > 0;) {
        CXmlNode* parent = node->GetParent();
        if (m_path[level] + 1 < parent->GetChildCount()) {
            m_path.resize(level + 1);
            m_pCurrent = parent->GetChild(++m_path[level]);
            return true;
        }
        node = parent;
    }
    return false;
}

bool CDocumentWalk::Previous() {
    if (m_path.empty()) {
        return false;
    }
    CXmlNode* parent = m_pCurrent->GetParent();
    if (m_path.back() == 0) {
        m_path.pop_back();
        m_pCurrent = parent;
        return true;
    }
    m_pCurrent = parent->GetChild(--m_path.back());
    ToLastDescendant();
    return true;
}

void CDocumentWalk::ToLastDescendant() {
    while (m_pCurrent->GetChildCount() > 0) {
        const int32_t last = m_pCurrent->GetChildCount() - 1;
        m_path.push_back(last);
        m_pCurrent = m_pCurrent->GetChild(last);
    }
}

namespace {

bool ElementMatches(const CXmlNode& node, const CTextMatcher& matcher) {
    return matcher.Matches(BytesOf(node.NameRef())) || matcher.Matches(BytesOf(node.TextRef()));
}

// A walk at the first element of the tree in the direction given.
CDocumentWalk WalkFromEnd(CXmlNode* root, bool forward) {
    CDocumentWalk walk(root, root);
    if (!forward) {
        walk.ToLastDescendant();
    }
    return walk;
}

} // namespace

CFindResult FindElement(CXmlNode* root, CXmlNode* start, const CTextMatcher& matcher, bool forward,
                        const std::function<bool()>& keepGoing) {
    if (!root || matcher.IsEmpty()) {
        return {};
    }
    CDocumentWalk walk = start ? CDocumentWalk(root, start) : WalkFromEnd(root, forward);
    CXmlNode* origin = walk.Current();
    if (!start && ElementMatches(*origin, matcher)) {
        return {FindOutcome::kFound, origin};
    }
    bool wrapped = false;
    int sincePoll = 0;
    while (true) {
        if (!(forward ? walk.Next() : walk.Previous())) {
            wrapped = true;
            walk = WalkFromEnd(root, forward);
        }
        CXmlNode* node = walk.Current();
        if (++sincePoll == kFindPollInterval) {
            sincePoll = 0;
            if (keepGoing && !keepGoing()) {
                return {FindOutcome::kCancelled, nullptr};
            }
        }
        const bool backAtOrigin = node == origin;
        // The origin itself counts last, once round the tree, unless it was
        // looked at first.
        if (backAtOrigin && !start) {
            return {};
        }
        if (ElementMatches(*node, matcher)) {
            return {wrapped ? FindOutcome::kFoundAfterWrap : FindOutcome::kFound, node};
        }
        if (backAtOrigin) {
            return {};
        }
    }
}
