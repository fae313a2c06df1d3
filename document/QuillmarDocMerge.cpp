// The merge of a newly delivered rate file into the loaded one: the command,
// the driver, the header items and the pairing of customers.
#include "document/QuillmarDoc.h"

#include "document/CmdUI.h"
#include "document/CustomerIndex.h"
#include "document/MergeObserver.h"
#include "document/NodeLookup.h"
#include "document/Platform.h"
#include "document/RateVocabulary.h"
#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <memory>
#include <vector>

namespace {

constexpr const char* kMergeFilter = "XML Files (*.xml)|*.xml|All Files (*.*)|*.*||";

bool IsRateFileRoot(const CXmlNode* root) {
    return root && root->NameRef().Equals(rate::kRateFile);
}

} // namespace

void CQuillmarDoc::OnUpdateFileMerge(CCmdUI& cmdUI) const {
    cmdUI.Enable(IsRateFileRoot(m_pRootNode));
}

void CQuillmarDoc::OnFileMerge() {
    if (!IsRateFileRoot(m_pRootNode)) {
        Message(IDS_MERGE_NO_RATE_FILE, MsgIcon::Information);
        return;
    }
    CFileDialogSpec spec;
    spec.bOpen = true;
    spec.strDefaultExt = "xml";
    spec.strFilter = kMergeFilter;
    spec.bMustExist = true;
    const std::string path = m_platform.ChooseFile(spec);
    if (path.empty()) {
        return;
    }
    // Marked before the file is read, and so it stays whatever follows.
    SetModifiedFlag(true);
    MergeRateFile(path);
}

void CQuillmarDoc::MergeOpenedFile(CQuillmarDoc& delivered) {
    if (!IsRateFileRoot(m_pRootNode)) {
        Message(IDS_MERGE_NO_RATE_FILE, MsgIcon::Information);
        return;
    }
    // As OnFileMerge marks it once the file is chosen.
    SetModifiedFlag(true);
    // What MergeRateFile passes over: a file that could not be read whole.
    if (&delivered == this || delivered.GetLoadError() != CXmlDocument::kNoError ||
        !delivered.m_xmlDoc.GetRoot()) {
        return;
    }
    MergeIncoming(delivered.m_xmlDoc);
    // Plans may have moved out of the delivered tree: it no longer holds its
    // file's content, and its views let go of what is gone.
    delivered.SetModifiedFlag(true);
    delivered.UpdateAllViews(nullptr, kHintRebuildTree);
}

void CQuillmarDoc::MergeRateFile(const std::string& path) {
    // The incoming tree lives only as long as this call.
    CXmlDocument incoming;
    if (!incoming.Load(CXmlString(path.c_str())) || !incoming.GetRoot()) {
        return;
    }
    MergeIncoming(incoming);
}

void CQuillmarDoc::MergeIncoming(CXmlDocument& incoming) {
    if (!incoming.GetRoot()) {
        return;
    }
    if (!IsRateFileRoot(incoming.GetRoot())) {
        Message(IDS_MERGE_INVALID_FILE, MsgIcon::Information);
        return;
    }
    m_nPlansImported = 0;
    m_nPlansMatched = 0;
    ClearPlanValues();
    if (m_pMergeObserver) {
        m_pMergeObserver->OnMergeBegun();
    }

    // One merge judges expiry against one date.
    m_mergeToday = Today();
    m_bMergeTodayKnown = true;
    MergeHeader(incoming);
    m_bIncomingDisposable = true;
    MergeCustomers(incoming);
    m_bIncomingDisposable = false;
    m_bMergeTodayKnown = false;
    if (m_pMergeObserver) {
        m_pMergeObserver->OnMergeEnded(m_pRootNode);
    }

    const std::string summary =
        m_nPlansMatched == 0
            ? std::string(CStringTable::Get(IDS_MERGE_NO_MATCH))
            : CStringTable::Format(IDS_MERGE_SUMMARY, {std::to_string(m_nPlansImported),
                                                       std::to_string(m_nPlansMatched)});
    Message(summary, MsgIcon::Information, MsgButtons::Ok);
    // Only now may the panes let go of the nodes the merge destroyed.
    UpdateAllViews(nullptr, kHintRebuildTree);
}

void CQuillmarDoc::MergeHeader(const CXmlDocument& incoming) {
    for (const CXmlNode* header : ChildrenNamed(incoming.GetRoot(), rate::kHeader)) {
        const int32_t itemCount = header->GetChildCount();
        for (int32_t item = 0; item < itemCount; ++item) {
            MergeHeaderItem(header->GetChild(item));
        }
    }
}

void CQuillmarDoc::MergeHeaderItem(const CXmlNode* item) {
    if (!m_pRootNode || !item) {
        return;
    }
    CXmlNode* header = m_pRootNode->FindChild(rate::kHeader, 0);
    if (!header) {
        header = m_pRootNode->AddChild(rate::kHeader, "");
        if (!header) {
            return;
        }
    }
    if (CXmlNode* existing = header->FindChild(item->GetName(), 0)) {
        existing->SetText(item->GetText());
    } else {
        header->AddChild(item->GetName(), item->GetText());
    }
}

void CQuillmarDoc::MergeCustomers(const CXmlDocument& incoming) {
    if (!m_pRootNode) {
        return;
    }
    // The incoming root does not change during the merge: its customers are
    // the same whether looked up before or one by one.
    const std::vector<CXmlNode*> customers =
        ChildrenNamed(incoming.GetRoot(), rate::Keys().customer);
    // Each customer may be added; each plan may make a record.
    CCustomerIndex index(m_pRootNode, customers.size());
    size_t children = 0;
    for (const CXmlNode* customer : customers) {
        children += static_cast<size_t>(customer->GetChildCount());
    }
    m_planValues.reserve(m_planValues.size() + children);
    m_planIndex.Reserve(m_planValues.size() + children);
    m_pCustomerIndex = &index;
    for (CXmlNode* customer : customers) {
        MergeCustomer(customer);
    }
    m_pCustomerIndex = nullptr;
}

void CQuillmarDoc::MergeCustomer(CXmlNode* incomingCustomer) {
    if (!incomingCustomer || !m_pRootNode) {
        return;
    }
    const CXmlString contractNum = incomingCustomer->ChildTextRef(rate::Keys().contractNum, 0);

    // Outside MergeCustomers the customers are indexed for this call alone.
    std::unique_ptr<CCustomerIndex> ownIndex;
    CCustomerIndex* index = m_pCustomerIndex;
    if (!index) {
        ownIndex = std::make_unique<CCustomerIndex>(m_pRootNode);
        index = ownIndex.get();
    }

    // Every loaded customer with the contract number is merged, not only the
    // first. Merging one customer changes no other, so the customers that
    // match are the same whether looked up before or one by one; the merged
    // customer may take another contract number from the incoming items.
    const std::vector<CXmlNode*> paired = index->Find(contractNum);
    for (size_t i = 0; i < paired.size(); ++i) {
        MergePlans(paired[i], incomingCustomer, i + 1 == paired.size());
        index->Refresh(paired[i]);
    }
    if (!paired.empty()) {
        return;
    }

    CXmlNode* created = m_pRootNode->AddChild(rate::kCustomer, "");
    if (!created || !created->AddChild(rate::kContractNum, contractNum)) {
        return;
    }
    index->AddLast(created);
    // Pairing afresh would find exactly this customer: none of the others
    // matched and none has changed since. Merging it directly also cannot
    // recurse without end should the contract number not have been stored.
    MergePlans(created, incomingCustomer, true);
    index->Refresh(created);
}
