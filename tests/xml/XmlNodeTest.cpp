#include "TreeText.h"

#include "xml/XmlDocument.h"
#include "xml/XmlNode.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

TEST(XmlNodeLookup, FindChildIgnoresCaseAndBlanks) {
    CXmlNode plan;
    CXmlNode* first = plan.AddChild("PLAN", "1");
    plan.AddChild("Plan", "2");
    CXmlNode* third = plan.AddChild("plan", "3");
    plan.AddChild("OTHER", "4");
    EXPECT_EQ(plan.FindChild("plan", 0), first);
    EXPECT_EQ(plan.FindChild("plan", 2), third);
    EXPECT_EQ(plan.FindChild(" PlAn\t", 2), third);
    EXPECT_EQ(plan.FindChild("plan", 3), nullptr);
    EXPECT_EQ(plan.FindChild("plan", -1), nullptr);
    EXPECT_EQ(plan.FindChild("", 0), nullptr);
    EXPECT_EQ(plan.FindChild(" \t", 0), nullptr);
    EXPECT_EQ(plan.GetChildCount("PLAN"), 3);
    EXPECT_EQ(plan.GetChildCount(""), 4);
    EXPECT_EQ(plan.GetChildCount(" \t "), 4);
    EXPECT_EQ(plan.GetChildCount("missing"), 0);
    EXPECT_TRUE(plan.GetChildText("Plan", 1).Equals("2"));
    EXPECT_TRUE(plan.GetChildText("Plan", 5).IsEmpty());
}

TEST(XmlNodeLookup, RenamedChildKeepsItsOldKey) {
    CXmlNode root;
    CXmlNode* child = root.AddChild("DPKEY", "x");
    child->SetName("PLANDESC");
    EXPECT_EQ(root.FindChild("dpkey", 0), child);
    EXPECT_EQ(root.FindChild("plandesc", 0), nullptr);
    EXPECT_TRUE(child->GetName().Equals("PLANDESC"));
    child->SetName("dpKey ");
    EXPECT_EQ(root.FindChild("dpkey", 0), child);
    EXPECT_TRUE(root.GetChildKey(0).Equals("dpkey"));
}

// A copy into a child renames it: the child stays under the key it was added
// with, as with SetName, whether the source lies apart or above it.
TEST(XmlNodeLookup, CopiedIntoChildKeepsItsOldKey) {
    for (const bool fromAncestor : {false, true}) {
        CXmlNode root;
        root.SetName("PLANDESC");
        CXmlNode* child = root.AddChild("DPKEY", "x");
        CXmlNode source;
        source.SetName("PLANDESC");
        child->CopyFrom(fromAncestor ? &root : &source);
        EXPECT_TRUE(child->GetName().Equals("PLANDESC")) << fromAncestor;
        EXPECT_EQ(root.FindChild("dpkey", 0), child) << fromAncestor;
        EXPECT_EQ(root.FindChild("plandesc", 0), nullptr) << fromAncestor;
        EXPECT_TRUE(root.GetChildKey(0).Equals("dpkey")) << fromAncestor;
    }
}

TEST(XmlNodeLookup, GetChildByIndex) {
    CXmlNode root;
    CXmlNode* a = root.AddChild("A", "");
    CXmlNode* b = root.AddChild("B", "");
    EXPECT_EQ(root.GetChild(0), a);
    EXPECT_EQ(root.GetChild(1), b);
    EXPECT_EQ(root.GetChild(-1), nullptr);
    EXPECT_EQ(root.GetChild(2), nullptr);
    EXPECT_EQ(a->GetParent(), &root);
    EXPECT_EQ(root.GetParent(), nullptr);
}

TEST(XmlNodeEdits, RemoveChildOnlyRemovesDirectChildren) {
    CXmlNode root;
    CXmlNode* customer = root.AddChild("CUSTOMER", "");
    CXmlNode* plan = customer->AddChild("INSURANCEPLAN", "");
    plan->AddChild("PLANKEY", "K1");
    EXPECT_FALSE(root.RemoveChild(plan)) << "a grandchild is not a child";
    EXPECT_FALSE(root.RemoveChild(nullptr));
    EXPECT_EQ(TreeText(&root), "[](CUSTOMER[](INSURANCEPLAN[](PLANKEY[K1])))");
    EXPECT_TRUE(customer->RemoveChild(plan));
    EXPECT_EQ(TreeText(&root), "[](CUSTOMER[])");
}

TEST(XmlNodeEdits, AddChildOfAnExistingNodeUsesItsCurrentName) {
    CXmlNode root;
    auto* node = new CXmlNode(&root);
    node->SetName("Header");
    EXPECT_TRUE(root.AddChild(node));
    EXPECT_EQ(root.FindChild("HEADER", 0), node);
}

TEST(XmlNodeEdits, CopyFromAppendsCopiesBehindExistingChildren) {
    CXmlNode source;
    source.SetName("SRC");
    source.SetText("t");
    CXmlNode* plan = source.AddChild("PLAN", "p");
    plan->AddChild("KEY", "k");
    source.AddChild("RATE", "r");

    CXmlNode target;
    target.AddChild("OLD1", "");
    target.AddChild("OLD2", "");
    target.CopyFrom(&source);
    EXPECT_EQ(TreeText(&target), "SRC[t](OLD1[],OLD2[],PLAN[p](KEY[k]),RATE[r])");
    EXPECT_EQ(target.GetChild(2)->GetParent(), &target);
    EXPECT_EQ(target.GetChild(2)->GetChild(0)->GetParent(), target.GetChild(2));
    EXPECT_NE(target.GetChild(2), plan);
}

TEST(XmlNodeEdits, CopyFromItselfCopiesOnce) {
    CXmlNode node;
    node.SetName("N");
    node.AddChild("A", "1");
    node.CopyFrom(&node);
    EXPECT_EQ(TreeText(&node), "N[](A[1],A[1])");
}

TEST(XmlNodeEdits, CopyFromAnAncestorCopiesItAsItWas) {
    CXmlNode root;
    root.SetName("R");
    CXmlNode* branch = root.AddChild("B", "b");
    CXmlNode* leaf = branch->AddChild("D", "d");
    leaf->AddChild("E", "e");
    leaf->CopyFrom(&root);
    EXPECT_EQ(TreeText(&root), "R[](B[b](R[](E[e],B[b](D[d](E[e])))))");
    // The copy sits where the leaf was, and its children know their parent.
    EXPECT_EQ(leaf->GetChild(1)->GetParent(), leaf);
    EXPECT_EQ(leaf->GetChildKey(1).GetBuffer(), std::string("b"));
}

TEST(XmlDocumentNew, NewReplacesTheTree) {
    CXmlDocument doc;
    EXPECT_EQ(doc.GetRoot(), nullptr);
    ASSERT_TRUE(doc.LoadBytes("<A><B>x</B></A>", 15));
    CXmlNode* root = doc.New();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(doc.GetRoot(), root);
    EXPECT_EQ(doc.GetError(), 0);
    EXPECT_EQ(TreeText(root), "ROOTNODE[Root Node Text]");
    EXPECT_TRUE(doc.GetHeader().Equals("<?xml version=\"1.0\"?>"));
    EXPECT_EQ(doc.GetHeader().GetLength(), 21);
}

} // namespace

namespace {

TEST(XmlNodeEdits, RemoveChildrenInOnePass) {
    CXmlNode root;
    std::vector<CXmlNode*> doomed;
    for (int i = 0; i < 6; ++i) {
        CXmlNode* child = root.AddChild("P", std::to_string(i).c_str());
        if (i % 2 == 0) {
            doomed.push_back(child);
        }
    }
    CXmlNode stranger;
    doomed.push_back(&stranger); // not a child: left alone
    EXPECT_EQ(root.RemoveChildren(doomed), 3);
    EXPECT_EQ(TreeText(&root), "[](P[1],P[3],P[5])");
    EXPECT_EQ(root.FindChild("p", 2)->GetText().GetBuffer(), std::string("5"));
}

TEST(XmlNodeEdits, MoveChildrenKeepsSubtreesAndTakesTheNewKey) {
    CXmlNode from;
    CXmlNode* a = from.AddChild("InsurancePlan", "a");
    a->AddChild("PLANKEY", "K1");
    from.AddChild("ITEM", "stays");
    CXmlNode* b = from.AddChild("INSURANCEPLAN", "b");
    CXmlNode to;
    to.AddChild("OLD", "");
    EXPECT_EQ(to.MoveChildrenFrom(from, {b, a}, "INSURANCEPLAN"), 2);
    EXPECT_EQ(TreeText(&from), "[](ITEM[stays])");
    EXPECT_EQ(TreeText(&to), "[](OLD[],InsurancePlan[a](PLANKEY[K1]),INSURANCEPLAN[b])");
    EXPECT_EQ(a->GetParent(), &to);
    EXPECT_EQ(to.FindChild("insuranceplan", 1), b);
    EXPECT_TRUE(to.GetChildKey(1).Equals("insuranceplan"));
}

} // namespace

namespace {

// The names a parse shares among its nodes, on their edges: a renamed node
// leaves the others of its name alone, copies share their sources' names,
// nodes moved to another tree keep their names when the tree they came from
// is destroyed (found under the key they were moved with), and a tree larger than one slab of nodes
// reads and copies whole.
TEST(XmlSharedNames, EachNodeKeepsItsNameWhateverHappensToTheOthers) {
    struct Case {
        const char* label;
        std::function<std::string()> run;
        std::string expected;
    };
    const auto load = [](CXmlDocument& doc, const std::string& text) {
        EXPECT_TRUE(doc.LoadBytes(text.data(), text.size()));
        return doc.GetRoot();
    };
    const std::string plans = "<R><P>1</P><P>2</P><Q><P>3</P></Q></R>";
    const std::vector<Case> cases = {
        {"renaming one node of a shared name",
         [&] {
             CXmlDocument doc;
             CXmlNode* root = load(doc, plans);
             root->GetChild(1)->SetName("Renamed");
             return TreeText(root);
         },
         "R[](P[1],Renamed[2],Q[](P[3]))"},
        {"renaming a copy",
         [&] {
             CXmlDocument doc;
             CXmlNode* root = load(doc, plans);
             CXmlNode copy;
             copy.CopyFrom(root);
             copy.GetChild(0)->SetName("C");
             return TreeText(&copy) + " " + TreeText(root);
         },
         "R[](C[1],P[2],Q[](P[3])) R[](P[1],P[2],Q[](P[3]))"},
        {"moving plans between documents, then destroying the one they came from",
         [&] {
             CXmlDocument target;
             CXmlNode* root = load(target, "<R><P>0</P></R>");
             {
                 CXmlDocument source;
                 CXmlNode* from = load(source, plans);
                 root->MoveChildrenFrom(*from, {from->GetChild(0), from->GetChild(2)}, "P");
             }
             return TreeText(root) + " " + std::to_string(root->GetChildCount("p"));
         },
         "R[](P[0],P[1],Q[](P[3])) 3"},
        {"a tree over several slabs of nodes",
         [&] {
             std::string text = "<R>";
             for (int i = 0; i < 70000; ++i) {
                 text += "<P>" + std::to_string(i % 10) + "</P>";
             }
             CXmlDocument doc;
             CXmlNode* root = load(doc, text + "</R>");
             CXmlNode copy;
             copy.CopyFrom(root);
             const CXmlNode* last = copy.GetChild(69999);
             return std::to_string(copy.GetChildCount("P")) + " " +
                    std::string(last->NameRef().GetBuffer()) + last->TextRef().GetBuffer();
         },
         "70000 P9"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(test.run(), test.expected) << test.label;
    }
}

} // namespace
