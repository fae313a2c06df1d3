// Lookups with prepared keys, and the engine's shortcuts for short texts and
// child lists: each gives what the plain way gives.
#include "xml/XmlKey.h"
#include "xml/XmlNode.h"
#include "xml/XmlNodeArray.h"
#include "xml/XmlString.h"
#include "xml/XmlTextSink.h"

#include "CapacityLimit.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// Names that differ in the ways a key ignores or does not: letter case, blanks
// and tabs around and inside, other bytes.
std::string RandomName(std::mt19937& rng) {
    static const char* const kStems[] = {"PLANKEY", "PlanKey", "plankey", "DPKEY",    "PLAN KEY",
                                         "X",       "",        "ÄPLAN",   "Plan\tKey"};
    std::string name = kStems[rng() % (sizeof kStems / sizeof *kStems)];
    if (rng() % 4 == 0) {
        name = std::string(rng() % 3, rng() % 2 ? ' ' : '\t') + name;
    }
    if (rng() % 4 == 0) {
        name += std::string(rng() % 3, rng() % 2 ? ' ' : '\t');
    }
    return name;
}

// Fewer than most children of random names, some renamed after they were
// added: a renamed child keeps the key it was added under.
void AddRandomChildren(std::mt19937& rng, CXmlNode& parent, unsigned most, const char* text) {
    for (unsigned i = rng() % most; i > 0; --i) {
        CXmlNode* child = parent.AddChild(RandomName(rng).c_str(), text);
        if (rng() % 5 == 0) {
            child->SetName(RandomName(rng).c_str());
        }
    }
}

TEST(XmlKey, PreparedKeysFindWhatNamesFind) {
    std::mt19937 rng(7);
    for (int round = 0; round < 500; ++round) {
        CXmlNode parent;
        AddRandomChildren(rng, parent, 8, "t");
        for (int lookup = 0; lookup < 10; ++lookup) {
            const std::string name = RandomName(rng);
            const CXmlKey key(name.c_str());
            EXPECT_EQ(key.IsEmpty(), CXmlKey(CXmlString(name.c_str())).IsEmpty());
            for (int occurrence = -1; occurrence < 4; ++occurrence) {
                ASSERT_EQ(parent.FindChild(key, occurrence),
                          parent.FindChild(name.c_str(), occurrence))
                    << "'" << name << "' " << occurrence << " in " << KeyedTreeText(&parent);
                EXPECT_TRUE(parent.ChildTextRef(key, occurrence)
                                .Equals(parent.GetChildText(name.c_str(), occurrence)));
            }
            int found = 0;
            for (int index = -1; index <= parent.GetChildCount(); ++index) {
                found += parent.ChildHasKey(index, key) ? 1 : 0;
            }
            EXPECT_EQ(found, key.IsEmpty() ? 0 : parent.GetChildCount(name.c_str()));
        }
    }
}

TEST(XmlKey, UpperCaseFormIsKeptForShortKeys) {
    const CXmlKey plan(" InsurancePlan\t");
    EXPECT_STREQ(plan.GetBuffer(), "insuranceplan");
    ASSERT_NE(plan.GetUpperBuffer(), nullptr);
    EXPECT_STREQ(plan.GetUpperBuffer(), "INSURANCEPLAN");
    const CXmlKey longer("A rather long element name");
    EXPECT_EQ(longer.GetUpperBuffer(), nullptr);
    CXmlNode parent;
    CXmlNode* child = parent.AddChild("a RATHER long element NAME ", "");
    EXPECT_EQ(parent.FindChild(longer, 0), child);
    EXPECT_TRUE(CXmlKey(nullptr).IsEmpty());
    EXPECT_TRUE(CXmlKey(" \t ").IsEmpty());
}

TEST(XmlKey, FirstChildrenAreWhatFindChildGives) {
    std::mt19937 rng(11);
    for (int round = 0; round < 500; ++round) {
        CXmlNode parent;
        AddRandomChildren(rng, parent, 10, "");
        std::vector<std::string> names;
        std::vector<CXmlKey> keys;
        for (int k = static_cast<int>(rng() % 5); k >= 0; --k) {
            names.push_back(RandomName(rng));
            keys.emplace_back(names.back().c_str());
        }
        std::vector<const CXmlKey*> keyPointers;
        for (const CXmlKey& key : keys) {
            keyPointers.push_back(&key);
        }
        std::vector<CXmlNode*> found(keys.size(), &parent);
        parent.FindFirstChildren(keyPointers.data(), found.data(),
                                 static_cast<int32_t>(keys.size()));
        for (size_t k = 0; k < keys.size(); ++k) {
            EXPECT_EQ(found[k], parent.FindChild(names[k].c_str(), 0))
                << "'" << names[k] << "' in " << KeyedTreeText(&parent);
        }
    }
}

TEST(XmlKey, SameBytesComparesLikeMemcmp) {
    std::mt19937 rng(3);
    for (int round = 0; round < 100000; ++round) {
        char a[40];
        char b[40];
        const int length = static_cast<int>(rng() % 33);
        for (int i = 0; i < 40; ++i) {
            a[i] = static_cast<char>('a' + rng() % 3);
            b[i] = rng() % 4 ? a[i] : static_cast<char>('a' + rng() % 3);
        }
        ASSERT_EQ(SameBytes(a, b, length), std::memcmp(a, b, static_cast<size_t>(length)) == 0)
            << length;
    }
}

TEST(XmlStringCopies, ShortCopiesAreThoseOfTheText) {
    // Assigning a string is assigning its text, which ends at a NUL.
    const std::string samples[] = {"", "a", "fifteen bytes!!", "sixteen bytes!!!", "a\0b", "\0"};
    for (const std::string& sample : samples) {
        CXmlString source;
        source.Append(sample.data(), static_cast<int32_t>(sample.size()));
        for (const char* before : {"", "x", "a text longer than the inline area"}) {
            CXmlString byString(before);
            CXmlString byText(before);
            byString.Assign(source);
            byText.Assign(source.GetBuffer());
            EXPECT_EQ(byString.GetLength(), byText.GetLength());
            EXPECT_STREQ(byString.GetBuffer(), byText.GetBuffer());
            EXPECT_EQ(byString.GetCapacity(), byText.GetCapacity());
            EXPECT_EQ(byString.HasGrowthFailed(), byText.HasGrowthFailed());
        }
        const CXmlString copy(source);
        EXPECT_STREQ(copy.GetBuffer(), source.GetBuffer());
        EXPECT_EQ(copy.GetLength(), static_cast<int32_t>(std::strlen(source.GetBuffer())));
    }
}

TEST(XmlStringCopies, AssignTextIsSetTextWithoutTheCopy) {
    CXmlNode node;
    const CXmlString text("Credit Life 24 mo");
    node.AssignText(text);
    EXPECT_TRUE(node.TextRef().Equals(text));
    node.AssignText(node.TextRef());
    EXPECT_TRUE(node.TextRef().Equals("Credit Life 24 mo"));
}

TEST(XmlStringCopies, LengthLimitIsTheLongestTextANewStringHolds) {
    for (const int32_t limit : {128, 1000, 1024, 4095, 70000}) {
        CapacityLimit capacity(limit);
        const int32_t longest = CXmlString::GetLengthLimit();
        CXmlString fits;
        fits.AppendRepeated('x', longest);
        EXPECT_FALSE(fits.HasGrowthFailed()) << limit;
        EXPECT_EQ(fits.GetLength(), longest);
        CXmlString tooLong;
        tooLong.AppendRepeated('x', longest + 1);
        EXPECT_TRUE(tooLong.HasGrowthFailed()) << limit;
    }
}

TEST(XmlNodeLists, RemoveWhereHandsOverWhatItTakesOut) {
    CXmlNode a;
    CXmlNode b;
    CXmlNode c;
    CXmlNodeArray array;
    array.Add("A", &a);
    array.Add("B", &b);
    array.Add("C", &c);
    std::vector<CXmlNode*> taken;
    EXPECT_EQ(array.RemoveWhere([&](CXmlNode* node) { return node != &b; },
                                [&](CXmlNode* node) { taken.push_back(node); }),
              2);
    EXPECT_EQ(taken, (std::vector<CXmlNode*>{&a, &c}));
    EXPECT_EQ(array.GetCount(), 1);
    EXPECT_EQ(array.GetAt(0), &b);
    array.RemoveAll();
}

TEST(XmlNodeLists, ReleasedListsGoToFreeWhateverTheirSize) {
    // Short lists come from the node pool, longer ones from malloc: either
    // way the caller frees what Release gives with std::free.
    for (const int count : {0, 1, 4, 5, 9, 17, 33, 100}) {
        std::vector<CXmlNode> nodes(static_cast<size_t>(count));
        CXmlNodeArray array;
        for (CXmlNode& node : nodes) {
            array.AddUnderOwnName(&node);
        }
        int32_t released = -1;
        CXmlNode** list = array.Release(released);
        EXPECT_EQ(released, count);
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(list[i], &nodes[static_cast<size_t>(i)]);
        }
        std::free(list);
        EXPECT_EQ(array.GetCount(), 0);
        EXPECT_FALSE(array.HasStorage());
    }
}

TEST(XmlNodeLists, ListsGrowAndShrinkThroughEveryPooledSize) {
    CXmlNode root;
    std::vector<CXmlNode*> children;
    for (int i = 0; i < 80; ++i) {
        children.push_back(root.AddChild(("C" + std::to_string(i)).c_str(), ""));
        ASSERT_EQ(root.GetChildCount(), i + 1);
        for (int j = 0; j <= i; ++j) {
            ASSERT_EQ(root.GetChild(j), children[static_cast<size_t>(j)]);
        }
    }
    std::vector<CXmlNode*> odd;
    for (size_t i = 1; i < children.size(); i += 2) {
        odd.push_back(children[i]);
    }
    EXPECT_EQ(root.RemoveChildren(odd), 40);
    for (int j = 0; j < 40; ++j) {
        EXPECT_EQ(root.GetChild(j), children[static_cast<size_t>(2 * j)]);
    }
}

TEST(XmlNodeLists, RemoveAndMoveAcceptNodesInAnyOrder) {
    for (const bool reversed : {false, true}) {
        for (const int count : {3, 40}) {
            CXmlNode from;
            CXmlNode to;
            std::vector<CXmlNode*> picked;
            for (int i = 0; i < count; ++i) {
                CXmlNode* child = from.AddChild(("P" + std::to_string(i)).c_str(), "");
                if (i % 3 != 1) {
                    picked.push_back(child);
                }
            }
            if (reversed) {
                std::reverse(picked.begin(), picked.end());
            }
            picked.push_back(picked.front()); // twice: moved once
            const int32_t moved = to.MoveChildrenFrom(from, picked, "INSURANCEPLAN");
            EXPECT_EQ(moved, static_cast<int32_t>(picked.size()) - 1);
            EXPECT_EQ(from.GetChildCount(), count - moved);
            for (int i = 0; i < to.GetChildCount(); ++i) {
                EXPECT_TRUE(to.GetChildKey(i).Equals("insuranceplan"));
                EXPECT_EQ(to.GetChild(i)->GetParent(), &to);
            }
            // In the order they had in the source.
            for (int i = 1; i < to.GetChildCount(); ++i) {
                EXPECT_LT(std::atoi(to.GetChild(i - 1)->NameRef().GetBuffer() + 1),
                          std::atoi(to.GetChild(i)->NameRef().GetBuffer() + 1));
            }
            EXPECT_EQ(to.RemoveChildren(picked), moved);
            EXPECT_EQ(to.GetChildCount(), 0);
        }
    }
}

TEST(XmlNodeLists, WideAndDeepSubtreesAreTornDown) {
    // Under the sanitizers a node or list that is not given back is a leak.
    CXmlNode root;
    CXmlNode* deep = &root;
    for (int depth = 0; depth < 2000; ++depth) {
        deep = deep->AddChild("D", "a text longer than the inline area of a string");
        for (int leaf = 0; leaf < depth % 7; ++leaf) {
            deep->AddChild("L", "x")->SetName("renamed");
        }
    }
    CXmlNode* wide = root.AddChild("W", "");
    for (int i = 0; i < 5000; ++i) {
        wide->AddChild("LEAF", "")->AddChild("K", "v");
    }
    EXPECT_TRUE(root.RemoveChild(root.GetChild(0)));
    EXPECT_EQ(root.GetChildCount(), 1);
}

class CCollectingSink : public CXmlTextSink {
public:
    bool Put(const char* bytes, std::size_t size) override {
        m_strText.append(bytes, size);
        return true;
    }
    std::string m_strText;
};

TEST(XmlWriterOutput, TreesFollowWhatTheOutputHoldsAlready) {
    CXmlNode root;
    root.SetName("R");
    root.AddChild("A", "x & y");
    for (const bool compressed : {false, true}) {
        CXmlString expected("<?xml?>");
        int32_t depth = -1;
        root.Write(expected, depth, compressed);
        CCollectingSink sink;
        CXmlBufferedOutput out(sink);
        out.Append("<?xml?>", 7);
        depth = -1;
        root.Write(out, depth, compressed);
        EXPECT_FALSE(out.Failed());
        EXPECT_EQ(out.GetLength(), expected.GetLength());
        EXPECT_TRUE(out.Flush());
        EXPECT_EQ(sink.m_strText, expected.GetBuffer());
    }
}

} // namespace
