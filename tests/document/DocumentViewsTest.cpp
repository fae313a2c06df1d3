#include "document/QuillmarDoc.h"

#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class DocumentViewsTest : public ::testing::Test {
protected:
    CFakePlatform m_platform;
    CQuillmarDoc m_doc{m_platform};
    CRecordingView m_tree;
    CRecordingView m_detail;

    void SetUp() override {
        m_doc.AddView(m_tree);
        m_doc.AddView(m_detail);
    }
};

// A view that detaches another view while it is being updated.
class CDetachingView : public CRecordingView {
public:
    CView* m_pOther = nullptr;
    void OnUpdate(CView* sender, CUpdateHint hint) override {
        CRecordingView::OnUpdate(sender, hint);
        if (m_pOther && GetDocument()) {
            GetDocument()->RemoveView(*m_pOther);
        }
    }
};

} // namespace

TEST_F(DocumentViewsTest, BroadcastReachesEveryViewButTheSender) {
    CXmlDocument tree;
    CXmlNode* node = tree.New();
    m_doc.UpdateAllViews(&m_tree, CUpdateHint::FromNode(node));
    m_doc.UpdateAllViews(&m_detail, kHintRebuildTree);
    m_doc.UpdateAllViews(nullptr, kHintPlanDeleted);

    ASSERT_EQ(2u, m_detail.m_calls.size());
    EXPECT_EQ(&m_tree, m_detail.m_calls[0].pSender);
    EXPECT_TRUE(m_detail.m_calls[0].hint.IsNode());
    EXPECT_EQ(node, m_detail.m_calls[0].hint.GetNode());
    EXPECT_EQ(1, m_detail.m_calls[0].hint.GetValue());
    EXPECT_EQ(-2, m_detail.m_calls[1].hint.GetValue());

    ASSERT_EQ(2u, m_tree.m_calls.size());
    EXPECT_EQ(-1, m_tree.m_calls[0].hint.GetValue());
    EXPECT_EQ(&m_detail, m_tree.m_calls[0].pSender);
    EXPECT_EQ(nullptr, m_tree.m_calls[1].pSender);
}

TEST_F(DocumentViewsTest, HintValues) {
    EXPECT_EQ(0, CUpdateHint().GetValue());
    EXPECT_EQ(0, kHintNewDocument.GetValue());
    EXPECT_EQ(-1, kHintRebuildTree.GetValue());
    EXPECT_EQ(-2, kHintPlanDeleted.GetValue());
    EXPECT_EQ(kHintNewDocument, CUpdateHint::FromNode(nullptr));
    EXPECT_EQ(0, CUpdateHint(5).GetValue()) << "positive values are node references only";
}

TEST_F(DocumentViewsTest, NewDocumentSendsHintZeroThenTheInitialUpdate) {
    ASSERT_TRUE(m_doc.DoNew());
    for (const CRecordingView* view : {&m_tree, &m_detail}) {
        ASSERT_EQ(2u, view->m_calls.size());
        EXPECT_EQ(nullptr, view->m_calls[0].pSender);
        EXPECT_EQ(0, view->m_calls[0].hint.GetValue());
        EXPECT_EQ(0, view->m_calls[1].hint.GetValue()) << "the initial update's own hint 0";
        EXPECT_EQ(1, view->m_nInitialUpdates);
    }
}

TEST_F(DocumentViewsTest, OpenSendsTheInitialUpdateOnlyWhenTheFileWasOpened) {
    CTestFolder folder;
    const std::string path = folder.File("rates.xml");
    WriteFileText(path, "<RATEFILE></RATEFILE>");
    ASSERT_TRUE(m_doc.DoOpen(path));
    EXPECT_EQ(1, m_tree.m_nInitialUpdates);
    EXPECT_FALSE(m_doc.DoOpen(folder.File("missing.xml")));
    EXPECT_EQ(1, m_detail.m_nInitialUpdates);
}

TEST_F(DocumentViewsTest, ViewsAndDocumentDetachWhicheverGoesFirst) {
    {
        CRecordingView shortLived;
        m_doc.AddView(shortLived);
        EXPECT_EQ(&m_doc, shortLived.GetDocument());
    }
    m_doc.UpdateAllViews(nullptr, kHintRebuildTree); // must not reach the destroyed view
    EXPECT_EQ(1u, m_tree.m_calls.size());

    CRecordingView outliving;
    {
        CQuillmarDoc other(m_platform);
        other.AddView(outliving);
        m_doc.AddView(m_tree); // already attached here: nothing changes
    }
    EXPECT_EQ(nullptr, outliving.GetDocument());
    EXPECT_EQ(&m_doc, m_tree.GetDocument());
}

TEST_F(DocumentViewsTest, AViewDetachedDuringABroadcastIsNotCalledAnyMore) {
    CDetachingView first;
    CQuillmarDoc doc(m_platform);
    CRecordingView second;
    first.m_pOther = &second;
    doc.AddView(first);
    doc.AddView(second);
    doc.UpdateAllViews(nullptr, kHintRebuildTree);
    EXPECT_EQ(1u, first.m_calls.size());
    EXPECT_TRUE(second.m_calls.empty());
    EXPECT_EQ(nullptr, second.GetDocument());
}
