// The node pools of the documents' trees: where nodes and child lists come
// from, that every block goes back to the pool it came from, and that nodes
// moved into another tree outlive the document that made them. The pool
// facts are checked where the build makes pools; the trees' contents are
// checked in every build (under AddressSanitizer and valgrind the frees are
// checked as well).
#include "TreeText.h"

#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"
#include "xml/XmlNodeArray.h"
#include "xml/XmlNodePool.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// A root of customers, each with plans of a key and a rate.
std::string RateText(int customers, int plans, const std::string& tag) {
    std::string text = "<ROOT>";
    for (int c = 0; c < customers; ++c) {
        text += "<CUSTOMER><CONTRACTNUM>" + tag + std::to_string(c) + "</CONTRACTNUM>";
        for (int p = 0; p < plans; ++p) {
            text += "<PLAN><PLANKEY>" + tag + std::to_string(p) + "</PLANKEY><RATE>" +
                    std::to_string(c * plans + p) + "</RATE></PLAN>";
        }
        text += "</CUSTOMER>";
    }
    return text + "</ROOT>";
}

std::unique_ptr<CXmlDocument> Loaded(const std::string& text) {
    auto doc = std::make_unique<CXmlDocument>();
    EXPECT_TRUE(doc->LoadBytes(text.data(), text.size()));
    return doc;
}

// The nodes of a subtree, and whether all of them lie in pool.
int CountNodes(const CXmlNode* node, const CXmlNodePool* pool, bool& allInPool) {
    allInPool = allInPool && node->GetPool() == pool;
    int count = 1;
    for (int i = 0; i < node->GetChildCount(); ++i) {
        count += CountNodes(node->GetChild(i), pool, allInPool);
    }
    return count;
}

std::vector<CXmlNode*> Children(const CXmlNode* node) {
    std::vector<CXmlNode*> children;
    children.reserve(static_cast<size_t>(node->GetChildCount()));
    for (int i = 0; i < node->GetChildCount(); ++i) {
        children.push_back(node->GetChild(i));
    }
    return children;
}

struct PoolCase {
    const char* name;
    void (*run)();
};

const PoolCase kCases[] = {
    {"LoadedTreeLiesInItsDocumentsPool",
     [] {
         auto doc = Loaded(RateText(3, 5, "k"));
         CXmlNodePool* pool = doc->GetNodePool();
         EXPECT_EQ(pool != nullptr, kXmlNodePoolsEnabled);
         bool allInPool = true;
         const int nodes = CountNodes(doc->GetRoot(), pool, allInPool);
         EXPECT_TRUE(allInPool);
         if (pool) {
             // One list for each node with children: the root, 3 customers
             // and 15 plans, none longer than 32 entries.
             EXPECT_EQ(pool->GetLiveBlockCount(), nodes + 1 + 3 + 15);
             const int32_t slabs = pool->GetSlabCount();
             doc->New(); // the old tree goes; its blocks stay for the next
             EXPECT_EQ(pool->GetLiveBlockCount(), 1);
             EXPECT_EQ(pool->GetSlabCount(), slabs);
             const std::string text = RateText(3, 5, "k");
             ASSERT_TRUE(doc->LoadBytes(text.data(), text.size()));
             EXPECT_EQ(pool->GetSlabCount(), slabs);
             EXPECT_EQ(pool->GetLiveBlockCount(), nodes + 19);
         }
     }},
    {"NodesOfTheirOwnUseTheGeneralAllocator",
     [] {
         auto doc = Loaded(RateText(1, 2, "k"));
         CXmlNode stack;
         stack.AddChild("A", "1")->AddChild("B", "2");
         auto* heap = new CXmlNode(&stack);
         heap->CopyFrom(doc->GetRoot()->GetChild(0));
         bool allInPool = true;
         EXPECT_EQ(CountNodes(&stack, nullptr, allInPool), 3);
         EXPECT_EQ(CountNodes(heap, nullptr, allInPool), 8);
         EXPECT_TRUE(allInPool);
         EXPECT_EQ(TreeText(heap), TreeText(doc->GetRoot()->GetChild(0)));
         delete heap;
     }},
    {"AddedAndCopiedNodesComeFromTheTargetsPool",
     [] {
         auto loaded = Loaded(RateText(1, 2, "a"));
         auto incoming = Loaded(RateText(1, 3, "b"));
         CXmlNode* customer = loaded->GetRoot()->GetChild(0);
         CXmlNode* copy = customer->AddChild("PLAN", "");
         copy->CopyFrom(incoming->GetRoot()->GetChild(0)->GetChild(2));
         const std::string expected = TreeText(incoming->GetRoot()->GetChild(0)->GetChild(2));
         incoming.reset();
         bool allInPool = true;
         EXPECT_EQ(CountNodes(copy, loaded->GetNodePool(), allInPool), 3);
         EXPECT_TRUE(allInPool);
         EXPECT_EQ(TreeText(copy), expected);
         // A copy of an ancestor into its own subtree is made aside first.
         CXmlNode* rate = copy->GetChild(1);
         rate->CopyFrom(copy);
         allInPool = true;
         EXPECT_EQ(CountNodes(copy, loaded->GetNodePool(), allInPool), 5);
         EXPECT_TRUE(allInPool);
     }},
    {"MovedPlansOutliveTheirDocument",
     [] {
         // Enough plans to fill more than one slab of nodes; the last ones
         // move, so the first slab holds nothing that lives on.
         auto loaded = Loaded(RateText(1, 1, "a"));
         auto incoming = Loaded(RateText(1, 12000, "b"));
         CXmlNode* from = incoming->GetRoot()->GetChild(0);
         CXmlNode* to = loaded->GetRoot()->GetChild(0);
         std::vector<CXmlNode*> moving;
         for (int i = from->GetChildCount() - 100; i < from->GetChildCount(); ++i) {
             moving.push_back(from->GetChild(i));
         }
         std::string expected;
         for (const CXmlNode* plan : moving) {
             expected += TreeText(plan);
         }
         CXmlNodePool* old = incoming->GetNodePool();
         const int32_t slabs = old ? old->GetSlabCount() : 0;
         EXPECT_EQ(to->MoveChildrenFrom(*from, moving, "PLAN"), 100);
         incoming.reset();
         std::string moved;
         for (int i = 2; i < to->GetChildCount(); ++i) {
             moved += TreeText(to->GetChild(i));
             EXPECT_EQ(to->GetChild(i)->GetParent(), to);
         }
         EXPECT_EQ(moved, expected);
         if (old) {
             EXPECT_EQ(moving[0]->GetPool(), old);
             EXPECT_TRUE(old->IsAbandoned());
             EXPECT_GE(old->GetSlabCount(), 2);
             EXPECT_LT(old->GetSlabCount(), slabs);
         }
         // Under a node of an abandoned pool new nodes and lists come from
         // the general allocator.
         for (int i = 0; i < 40; ++i) {
             EXPECT_EQ(moving[0]->AddChild("EXTRA", "x")->GetPool(), nullptr);
         }
         EXPECT_EQ(moving[0]->GetChildCount(), 42);
         EXPECT_EQ(to->RemoveChildren(std::vector<CXmlNode*>(moving.begin(), moving.end() - 1)),
                   99);
         EXPECT_EQ(to->GetChildCount(), 3);
     }},
    {"ANodeOfItsOwnHoldsNodesOfAGoneDocument",
     [] {
         // The customers go back to their abandoned pool when the holder
         // goes, the last of them taking the pool with it.
         CXmlNode holder;
         std::string expected;
         {
             auto doc = Loaded(RateText(2, 3, "k"));
             CXmlNode* root = doc->GetRoot();
             expected = TreeText(root->GetChild(0)) + TreeText(root->GetChild(1));
             EXPECT_EQ(holder.MoveChildrenFrom(*root, Children(root), "CUSTOMER"), 2);
             EXPECT_EQ(root->GetChildCount(), 0);
         }
         ASSERT_EQ(holder.GetChildCount(), 2);
         EXPECT_EQ(TreeText(holder.GetChild(0)) + TreeText(holder.GetChild(1)), expected);
         EXPECT_TRUE(holder.GetChild(1)->GetChild(3)->GetChildText("RATE", 0).Equals("5"));
         EXPECT_TRUE(holder.RemoveChild(holder.GetChild(0)));
     }},
    {"ListsGrowThroughEveryPooledSizeAndBeyond",
     [] {
         CXmlDocument doc;
         CXmlNode* root = doc.New();
         CXmlNodePool* pool = doc.GetNodePool();
         std::vector<CXmlNode*> added;
         for (int i = 0; i < 100; ++i) {
             added.push_back(root->AddChild(("C" + std::to_string(i)).c_str(), ""));
             ASSERT_EQ(Children(root), added);
             EXPECT_EQ(added.back()->GetPool(), pool);
             // The list a growth leaves is given back at once; lists longer
             // than 32 entries come from the general allocator.
             if (pool) {
                 EXPECT_EQ(pool->GetLiveBlockCount(), i + 2 + (i < 32 ? 1 : 0));
             }
         }
         EXPECT_EQ(root->RemoveChildren(std::vector<CXmlNode*>(added.begin() + 1, added.end())),
                   99);
         if (pool) {
             EXPECT_EQ(pool->GetLiveBlockCount(), 2);
         }
     }},
    {"AReleasedPooledListIsACopyForFree",
     [] {
         CXmlDocument doc;
         doc.New();
         CXmlNodePool* pool = doc.GetNodePool();
         std::vector<CXmlNode> nodes(20);
         CXmlNodeArray array;
         for (CXmlNode& node : nodes) {
             array.AddUnderOwnName(&node, pool);
         }
         EXPECT_EQ(array.HasPooledStorage(), pool != nullptr);
         EXPECT_EQ(array.GetCapacity(), 32);
         int32_t count = 0;
         CXmlNode** list = array.Release(count);
         ASSERT_EQ(count, 20);
         EXPECT_EQ(list[19], &nodes[19]);
         std::free(list);
         EXPECT_FALSE(array.HasPooledStorage());
         if (pool) {
             EXPECT_EQ(pool->GetLiveBlockCount(), 1);
         }
     }},
    {"DeepTreesOfSeveralPoolsTearDown",
     [] {
         // A chain of 20000 levels whose nodes alternate between two pools
         // and the general allocator: the teardown chains them through their
         // parent links, which keep each node's marker.
         auto first = std::make_unique<CXmlDocument>();
         auto second = std::make_unique<CXmlDocument>();
         CXmlNode* top = first->New();
         CXmlNode* other = second->New();
         CXmlNode* node = top;
         for (int level = 0; level < 20000; ++level) {
             CXmlNode* next = nullptr;
             if (level % 3 == 1) {
                 CXmlNode* made = other->AddChild("L", "2");
                 EXPECT_EQ(node->MoveChildrenFrom(*other, {made}, "L"), 1);
                 next = made;
             } else if (level % 3 == 2) {
                 next = new CXmlNode(node);
                 next->SetName("L");
                 node->AddChild(next);
             } else if (node == top) {
                 next = node->AddChild("L", "1");
             } else {
                 CXmlNode* made = top->AddChild("L", "1");
                 EXPECT_EQ(node->MoveChildrenFrom(*top, {made}, "L"), 1);
                 next = made;
             }
             next->AddChild("LEAF", "x");
             node = next;
         }
         EXPECT_EQ(node->GetParent()->GetParent()->GetChildCount(), 2);
         second.reset();
         EXPECT_TRUE(top->GetChild(0)->GetChild(1)->GetText().Equals("2"));
         first.reset();
     }},
    {"DocumentsOnTwoThreadsShareNoPool",
     [] {
         const auto work = [](const std::string& tag, std::string* result) {
             for (int round = 0; round < 30; ++round) {
                 auto loaded = Loaded(RateText(2, 40, tag));
                 auto incoming = Loaded(RateText(2, 40, tag + "x"));
                 CXmlNode* from = incoming->GetRoot()->GetChild(1);
                 loaded->GetRoot()->GetChild(0)->MoveChildrenFrom(*from, Children(from), "PLAN");
                 incoming.reset();
                 *result = TreeText(loaded->GetRoot()->GetChild(0)->GetChild(81));
             }
         };
         std::string a;
         std::string b;
         std::thread one(work, "a", &a);
         std::thread two(work, "b", &b);
         one.join();
         two.join();
         EXPECT_EQ(a, "PLAN[](PLANKEY[ax39],RATE[79])");
         EXPECT_EQ(b, "PLAN[](PLANKEY[bx39],RATE[79])");
     }},
};

class XmlNodePoolTest : public testing::TestWithParam<PoolCase> {};

TEST_P(XmlNodePoolTest, Holds) {
    GetParam().run();
}

INSTANTIATE_TEST_SUITE_P(Cases, XmlNodePoolTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PoolCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
