// Finding elements of a tree by their names and texts: a walk in document
// order (an element, then its children, depth first) forwards or backwards
// from any element, and a byte matcher that ignores letter case. Texts are
// matched as bytes of the document's character set, so the search text is
// given in those bytes and no element's text is converted on the way.
#pragma once

#include "xml/XmlNode.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// How letter case is told apart in the bytes of a document's texts.
enum class SearchCharset {
    // A-Z; and the Latin-1 letters U+00C0 to U+00DE, which UTF-8 writes as
    // 0xC3 and a byte that differs from its small letter's by 0x20.
    kUtf8,
    // A-Z and the code page's capital letters with their small letters.
    kWindows1252,
};

// A substring test that ignores letter case.
class CTextMatcher {
public:
    CTextMatcher(std::string_view needle, SearchCharset charset);

    bool IsEmpty() const { return m_needle.empty(); }
    // Whether text holds the needle.
    bool Matches(std::string_view text) const;

private:
    // The byte compared for text[at], which may depend on the byte before.
    unsigned char FoldAt(const unsigned char* text, size_t at) const;

    SearchCharset m_charset;
    std::array<unsigned char, 256> m_fold{};
    // The needle folded as the texts are.
    std::basic_string<unsigned char> m_needle;
};

// A place in a walk over a tree in document order: the element reached and
// the child positions of the elements above it, so that each step costs no
// lookup in a parent's child list.
class CDocumentWalk {
public:
    // At node, which is root or one of its descendants.
    CDocumentWalk(CXmlNode* root, CXmlNode* node);

    CXmlNode* Current() const { return m_pCurrent; }
    // The element after the current one in document order; false (and the
    // walk where it was) at the last element.
    bool Next();
    // The element before it; false at the root.
    bool Previous();
    // Goes down to the current element's last descendant (the element that
    // comes last of its subtree in document order).
    void ToLastDescendant();

private:
    CXmlNode* m_pCurrent;
    // For each element above the current one, from the root down: the
    // position of the next element on the path among its children.
    std::vector<int32_t> m_path;
};

enum class FindOutcome {
    kFound,
    // Found after passing the end (or, backwards, the start) of the tree
    // and going on from the other end.
    kFoundAfterWrap,
    kNotFound,
    kCancelled,
};

struct CFindResult {
    FindOutcome outcome = FindOutcome::kNotFound;
    CXmlNode* pNode = nullptr;
};

// How often a long search asks whether to go on, in elements.
inline constexpr int kFindPollInterval = 16384;

// The next element from start (exclusive) in the direction given whose name
// or text holds the matcher's needle, going round the tree's end once. With
// start null the search begins at the root (inclusive) forwards, at the last
// element backwards. keepGoing, when given, is asked every kFindPollInterval
// elements; false cancels. An empty needle finds nothing.
CFindResult FindElement(CXmlNode* root, CXmlNode* start, const CTextMatcher& matcher, bool forward,
                        const std::function<bool()>& keepGoing = {});
