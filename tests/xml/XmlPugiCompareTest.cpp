// The engine reads well-formed files of its subset (elements and texts) into
// the same tree as an established parser, and its written forms are read
// back by that parser into the same tree again.
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <random>
#include <string>
#include <vector>

namespace {

struct Tree {
    std::string name;
    std::string text;
    std::vector<Tree> children;
    bool operator==(const Tree&) const = default;
};

std::string Trimmed(std::string text) {
    std::string out;
    for (const char c : text) {
        if (c != '\r' && c != '\n') {
            out += c;
        }
    }
    const size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return out.substr(first, out.find_last_not_of(" \t") - first + 1);
}

Tree FromPugi(const pugi::xml_node& node) {
    Tree tree{node.name(), "", {}};
    std::string text;
    for (const pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_element) {
            tree.children.push_back(FromPugi(child));
        } else if (child.type() == pugi::node_pcdata) {
            text += child.value();
        }
    }
    tree.text = Trimmed(text);
    return tree;
}

Tree FromEngine(const CXmlNode* node) {
    Tree tree{node->NameRef().GetBuffer(), node->TextRef().GetBuffer(), {}};
    for (int32_t i = 0; i < node->GetChildCount(); ++i) {
        tree.children.push_back(FromEngine(node->GetChild(i)));
    }
    return tree;
}

class Generator {
public:
    explicit Generator(unsigned seed) : m_rng(seed) {}

    std::string Document() {
        std::string out = Pick(2) ? "<?xml version=\"1.0\"?>\r\n" : "";
        Element(out, 0);
        return out + (Pick(2) ? "\r\n" : "");
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    std::string Name() {
        static const std::vector<std::string> names = {
            "RATEFILE", "HEADER", "CUSTOMER", "CONTRACTNUM", "INSURANCEPLAN", "PLANKEY", "DPKEY",
            "PLANDESC", "Rate",   "rate",     "A",           "b_2",           "x.y",     "Z-9"};
        return names[static_cast<size_t>(Pick(static_cast<int>(names.size())))];
    }

    std::string Text() {
        static const std::vector<std::string> pieces = {
            "a",    "Gold",  " ",   "  ",       "\t", "\r\n",     "\n", "&amp;", "&lt;",
            "&gt;", "12.50", "x y", "AT&amp;T", ">",  "\xC3\xA9", "-",  "/"};
        std::string out;
        const int n = Pick(5);
        for (int i = 0; i < n; ++i) {
            out += pieces[static_cast<size_t>(Pick(static_cast<int>(pieces.size())))];
        }
        return out;
    }

    void Element(std::string& out, int depth) {
        const std::string name = Name();
        out += "<" + name + ">";
        out += Text();
        const int children = depth < 5 ? Pick(5) : 0;
        for (int i = 0; i < children; ++i) {
            Element(out, depth + 1);
            out += Text();
        }
        out += "</" + name + ">";
    }

    std::mt19937 m_rng;
};

TEST(XmlAgainstPugixml, SameTreesAndWrittenFormsReadBack) {
    Generator generator(1209);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = generator.Document();
        pugi::xml_document pugiDoc;
        ASSERT_TRUE(pugiDoc.load_buffer(text.data(), text.size(),
                                        pugi::parse_default | pugi::parse_ws_pcdata))
            << text;
        const Tree expected = FromPugi(pugiDoc.document_element());

        CXmlDocument doc;
        ASSERT_TRUE(doc.LoadBytes(text.data(), text.size())) << text;
        ASSERT_EQ(FromEngine(doc.GetRoot()), expected) << text;

        for (const bool compressed : {false, true}) {
            CXmlString out = doc.GetHeader();
            int32_t depth = -1;
            doc.GetRoot()->Write(out, depth, compressed);
            pugi::xml_document written;
            ASSERT_TRUE(written.load_buffer(out.GetBuffer(), static_cast<size_t>(out.GetLength()),
                                            pugi::parse_default | pugi::parse_ws_pcdata))
                << out.GetBuffer();
            ASSERT_EQ(FromPugi(written.document_element()), expected) << out.GetBuffer();
        }
    }
}

} // namespace
