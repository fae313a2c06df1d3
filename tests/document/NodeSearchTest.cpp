// Finding elements by name and text, going to a customer or plan by its key,
// and telling and finding again an element's place: on small trees whose
// every answer can be read off the file.
#include "document/NodeSearch.h"
#include "document/KeyIndex.h"
#include "document/NodePlace.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kRates = R"(<RATEFILE>
<HEADER><VENDOR>Veltrane</VENDOR></HEADER>
<CUSTOMER><CONTRACTNUM>100</CONTRACTNUM><CUSTOMERNAME>Alpha &amp; Sons</CUSTOMERNAME>
  <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>Credit Life 60</PLANDESC></INSURANCEPLAN>
  <INSURANCEPLAN><PLANKEY>A-2</PLANKEY><PLANDESC>GAP &lt;new&gt;</PLANDESC></INSURANCEPLAN>
</CUSTOMER>
<CUSTOMER><CONTRACTNUM>200</CONTRACTNUM>
  <INSURANCEPLAN><PLANKEY>B-1</PLANKEY><PLANDESC>credit life 36</PLANDESC></INSURANCEPLAN>
  <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>Twin key</PLANDESC></INSURANCEPLAN>
</CUSTOMER>
</RATEFILE>)";

class NodeSearchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Load(kRates)); }
    bool Load(const std::string& text) {
        m_doc.LoadBytes(text.data(), text.size());
        return m_doc.GetRoot() != nullptr;
    }
    CXmlNode* Root() { return m_doc.GetRoot(); }
    // Every element in document order.
    std::vector<CXmlNode*> All() {
        std::vector<CXmlNode*> nodes;
        CDocumentWalk walk(Root(), Root());
        do {
            nodes.push_back(walk.Current());
        } while (walk.Next());
        return nodes;
    }
    // The element named name (occurrence-th) in document order.
    CXmlNode* Named(const std::string& name, int occurrence = 0) {
        for (CXmlNode* node : All()) {
            if (node->NameRef().Equals(name.c_str()) && occurrence-- == 0) {
                return node;
            }
        }
        return nullptr;
    }
    // What a node is, to read in a failure: its name and text.
    static std::string Show(const CXmlNode* node) {
        return node ? std::string(node->NameRef().GetBuffer()) + "=" + node->TextRef().GetBuffer()
                    : "none";
    }

    CXmlDocument m_doc;
};

TEST_F(NodeSearchTest, WalkVisitsEveryElementOnceEachWayInDocumentOrder) {
    const std::vector<CXmlNode*> forward = All();
    ASSERT_EQ(20u, forward.size());
    EXPECT_EQ("HEADER=", Show(forward[1]));
    EXPECT_EQ("PLANKEY=A-1", Show(forward[7]));
    // Backwards from the last element, one step at a time, from every start.
    CDocumentWalk walk(Root(), forward.back());
    for (size_t i = forward.size(); i-- > 0;) {
        EXPECT_EQ(forward[i], walk.Current()) << i;
        EXPECT_EQ(CDocumentWalk(Root(), forward[i]).Current(), forward[i]);
        if (i > 0) {
            ASSERT_TRUE(walk.Previous());
        }
    }
    EXPECT_FALSE(walk.Previous());
    CDocumentWalk last(Root(), forward.back());
    EXPECT_FALSE(last.Next());
    EXPECT_EQ(forward.back(), last.Current());
}

TEST_F(NodeSearchTest, FindGoesOnFromTheStartInEitherDirectionAndWrapsOnce) {
    struct Case {
        const char* needle;
        const char* startName; // null: nothing selected
        int startOccurrence;
        bool forward;
        FindOutcome outcome;
        std::string found;
    };
    const Case cases[] = {
        {"credit", nullptr, 0, true, FindOutcome::kFound, "PLANDESC=Credit Life 60"},
        {"CREDIT LIFE", "PLANDESC", 0, true, FindOutcome::kFound, "PLANDESC=credit life 36"},
        {"credit", "PLANDESC", 2, true, FindOutcome::kFoundAfterWrap, "PLANDESC=Credit Life 60"},
        {"credit", "PLANDESC", 2, false, FindOutcome::kFound, "PLANDESC=Credit Life 60"},
        {"credit", "PLANDESC", 0, false, FindOutcome::kFoundAfterWrap, "PLANDESC=credit life 36"},
        {"credit", nullptr, 0, false, FindOutcome::kFound, "PLANDESC=credit life 36"},
        // Names count as well as texts.
        {"vendor", nullptr, 0, true, FindOutcome::kFound, "VENDOR=Veltrane"},
        {"ratefile", "VENDOR", 0, true, FindOutcome::kFoundAfterWrap, "RATEFILE="},
        // Characters of the markup are searched as they read.
        {"<new>", nullptr, 0, true, FindOutcome::kFound, "PLANDESC=GAP <new>"},
        {"& sons", nullptr, 0, true, FindOutcome::kFound, "CUSTOMERNAME=Alpha & Sons"},
        // The only match is where the search starts: found again, round the end.
        {"twin", "PLANDESC", 3, true, FindOutcome::kFoundAfterWrap, "PLANDESC=Twin key"},
        {"twin", "PLANDESC", 3, false, FindOutcome::kFoundAfterWrap, "PLANDESC=Twin key"},
        {"nowhere", "PLANKEY", 1, true, FindOutcome::kNotFound, "none"},
        {"nowhere", nullptr, 0, false, FindOutcome::kNotFound, "none"},
        {"", nullptr, 0, true, FindOutcome::kNotFound, "none"},
    };
    for (const Case& c : cases) {
        CXmlNode* start = c.startName ? Named(c.startName, c.startOccurrence) : nullptr;
        const CTextMatcher matcher(c.needle, SearchCharset::kUtf8);
        const CFindResult result = FindElement(Root(), start, matcher, c.forward);
        EXPECT_EQ(c.outcome, result.outcome) << c.needle << " from " << Show(start);
        EXPECT_EQ(c.found, Show(result.pNode)) << c.needle << " from " << Show(start);
    }
}

TEST_F(NodeSearchTest, LongSearchAsksToGoOnAndStopsWhenTold) {
    std::string big = "<R>";
    for (int i = 0; i < 3 * kFindPollInterval; ++i) {
        big += "<E>x</E>";
    }
    big += "<E>needle</E></R>";
    ASSERT_TRUE(Load(big));
    const CTextMatcher matcher("needle", SearchCharset::kUtf8);
    int asked = 0;
    const CFindResult found = FindElement(Root(), nullptr, matcher, true, [&] {
        ++asked;
        return true;
    });
    EXPECT_EQ(FindOutcome::kFound, found.outcome);
    EXPECT_EQ(3, asked);
    asked = 0;
    const CFindResult cancelled =
        FindElement(Root(), nullptr, matcher, true, [&] { return ++asked < 2; });
    EXPECT_EQ(FindOutcome::kCancelled, cancelled.outcome);
    EXPECT_EQ(nullptr, cancelled.pNode);
}

TEST(TextMatcher, IgnoresLetterCaseOfTheDocumentsCharacterSet) {
    struct Case {
        std::string needle;
        std::string text;
        SearchCharset charset;
        bool matches;
    };
    const Case cases[] = {
        {"gap-60", "Plan GAP-60 mo", SearchCharset::kUtf8, true},
        {"GAP", "ga", SearchCharset::kUtf8, false},
        {"life", "LIF", SearchCharset::kUtf8, false},
        {"a", "", SearchCharset::kUtf8, false},
        // É and é in UTF-8 (C3 89, C3 A9); × (C3 97) is not a letter.
        {"\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89", SearchCharset::kUtf8, true},
        {"\xC3\x97", "\xC3\xB7", SearchCharset::kUtf8, false},
        // A byte 0x89 not led by 0xC3 is not a capital letter.
        {"\xC4\xA9", "\xC4\x89", SearchCharset::kUtf8, false},
        // The same letters in Windows-1252, and its S with caron.
        {"\xC9t\xE9", "\xE9T\xC9", SearchCharset::kWindows1252, true},
        {"\x8A", "\x9A", SearchCharset::kWindows1252, true},
        {"\xD7", "\xF7", SearchCharset::kWindows1252, false},
        {"\xC9", "\xE9", SearchCharset::kUtf8, false},
        {"-60", "GAP-60", SearchCharset::kWindows1252, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.matches, CTextMatcher(c.needle, c.charset).Matches(c.text))
            << c.needle << " in " << c.text;
    }
}

TEST_F(NodeSearchTest, KeyIndexFindsCustomersByContractNumberAndPlansByKey) {
    const CKeyIndex index(Root());
    EXPECT_EQ(2u, index.GetCustomerCount());
    EXPECT_EQ(4u, index.GetPlanCount());
    struct Case {
        const char* key;
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"100", {"CUSTOMER="}},
        {"B-1", {"INSURANCEPLAN="}},
        {"A-1", {"INSURANCEPLAN=", "INSURANCEPLAN="}},
        {"a-1", {}},
        {"10", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> shown;
        for (const CXmlNode* node : index.Find(c.key)) {
            shown.push_back(Show(node));
        }
        EXPECT_EQ(c.found, shown) << c.key;
    }
    // Plans of one key in document order.
    const std::vector<CXmlNode*> twins = index.Find("A-1");
    ASSERT_EQ(2u, twins.size());
    EXPECT_EQ(Named("INSURANCEPLAN", 0), twins[0]);
    EXPECT_EQ(Named("INSURANCEPLAN", 3), twins[1]);
}

TEST_F(NodeSearchTest, PlaceIsToldInTheFilesWords) {
    struct Case {
        const char* name;
        int occurrence;
        const char* place;
    };
    const Case cases[] = {
        {"RATEFILE", 0, "RATEFILE"},
        {"VENDOR", 0, "HEADER / VENDOR"},
        {"CUSTOMER", 0, "CONTRACTNUM 100 / CUSTOMERNAME Alpha & Sons"},
        {"CUSTOMER", 1, "CONTRACTNUM 200"},
        {"CUSTOMERNAME", 0, "CONTRACTNUM 100 / CUSTOMERNAME"},
        {"INSURANCEPLAN", 1, "CONTRACTNUM 100 / PLANKEY A-2"},
        {"PLANDESC", 2, "CONTRACTNUM 200 / PLANKEY B-1 / PLANDESC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.place, DescribePlace(Root(), *Named(c.name, c.occurrence))) << c.name;
    }
}

TEST_F(NodeSearchTest, PlaceIsFoundAgainInAnotherTreeByContractNumberAndPlanKey) {
    // The same rate file after a merge: customers in another order, the
    // plan A-2 gone, a customer's CONTRACTNUM changed, new texts.
    CXmlDocument other;
    const std::string merged = R"(<RATEFILE>
<HEADER><VENDOR>Veltrane 2</VENDOR></HEADER>
<CUSTOMER><CONTRACTNUM>200</CONTRACTNUM>
  <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>Twin</PLANDESC></INSURANCEPLAN>
  <INSURANCEPLAN><PLANKEY>B-1</PLANKEY><PLANDESC>new</PLANDESC></INSURANCEPLAN>
</CUSTOMER>
<CUSTOMER><CONTRACTNUM>100</CONTRACTNUM><CUSTOMERNAME>Alpha</CUSTOMERNAME>
  <INSURANCEPLAN><PLANKEY>A-1</PLANKEY><PLANDESC>Credit</PLANDESC></INSURANCEPLAN>
</CUSTOMER>
</RATEFILE>)";
    other.LoadBytes(merged.data(), merged.size());
    CXmlNode* root = other.GetRoot();
    ASSERT_NE(nullptr, root);
    struct Case {
        const char* name;
        int occurrence;
        std::string found; // the place found, as told in the other tree
    };
    const Case cases[] = {
        {"PLANDESC", 2, "CONTRACTNUM 200 / PLANKEY B-1 / PLANDESC"},
        {"INSURANCEPLAN", 0, "CONTRACTNUM 100 / PLANKEY A-1"},
        // The plan is gone: its customer.
        {"INSURANCEPLAN", 1, "CONTRACTNUM 100 / CUSTOMERNAME Alpha"},
        {"PLANKEY", 3, "CONTRACTNUM 200 / PLANKEY A-1 / PLANKEY"},
        {"VENDOR", 0, "HEADER / VENDOR"},
        {"RATEFILE", 0, "RATEFILE"},
    };
    for (const Case& c : cases) {
        const CNodePlace place = CNodePlace::Of(Root(), Named(c.name, c.occurrence));
        const CXmlNode* found = place.Resolve(root);
        ASSERT_NE(nullptr, found) << c.name;
        EXPECT_EQ(c.found, DescribePlace(root, *found)) << c.name << " " << c.occurrence;
    }
    // A customer the other tree lacks leads nowhere; so does no place.
    CXmlNode* lost = Root()->AddChild("CUSTOMER", "");
    lost->AddChild("CONTRACTNUM", "999");
    EXPECT_EQ(nullptr, CNodePlace::Of(Root(), lost).Resolve(root));
    EXPECT_EQ(nullptr, CNodePlace().Resolve(root));
    EXPECT_TRUE(CNodePlace::Of(Root(), nullptr).IsEmpty());
}

} // namespace
