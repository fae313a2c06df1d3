// The merge's lookup tables against plain models of what they stand for, and
// File, Merge of a file that another document has opened.
#include "document/CustomerIndex.h"
#include "document/PlanIndex.h"
#include "support/MergeFixture.h"

#include "resources/Resource.h"
#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

std::unique_ptr<CPlanValues> Record(const std::string& key) {
    auto record = std::make_unique<CPlanValues>();
    record->m_strPlanKey.Append(key.data(), static_cast<int32_t>(key.size()));
    return record;
}

TEST(PlanIndex, FindsThePlaceOfTheFirstRecordOfEachKeyWhateverRoomWasMade) {
    std::vector<std::unique_ptr<CPlanValues>> records;
    CPlanIndex index(records);
    std::map<std::string, size_t> first;
    std::mt19937 rng(5);
    for (int i = 0; i < 20000; ++i) {
        // Room made ahead: too little, for more than are filed, and less
        // than there is already; none may lose a record.
        if (i == 0 || i == 7000 || i == 15000) {
            index.Reserve(i == 0 ? 100 : i == 7000 ? 30000 : 10);
        }
        // Keys that differ in one byte, in length, by a NUL, and repeat.
        std::string key = "P" + std::to_string(rng() % 5000) + "-" + std::to_string(rng() % 9);
        if (rng() % 50 == 0) {
            key = rng() % 2 ? "" : std::string("K\0", 2);
        }
        records.push_back(Record(key));
        index.Insert(records.size() - 1, CPlanIndex::Hash(key));
        first.emplace(key, records.size() - 1);
    }
    for (const auto& [key, place] : first) {
        ASSERT_EQ(index.Find(key), place) << key;
        EXPECT_EQ(index.Find(key, CPlanIndex::Hash(key)), place);
    }
    EXPECT_EQ(index.Find("P5000-0"), CPlanIndex::npos);
    EXPECT_EQ(index.Find("K"), CPlanIndex::npos);
    index.Clear();
    EXPECT_EQ(index.Find(first.begin()->first), CPlanIndex::npos);
}

// A customer root whose customers carry the given contract numbers; a
// number of "-" stands for a customer without CONTRACTNUM.
struct CCustomers {
    CXmlNode root;
    std::vector<CXmlNode*> customers;

    explicit CCustomers(const std::vector<std::string>& numbers) {
        root.SetName("RATEFILE");
        for (const std::string& number : numbers) {
            CXmlNode* customer = root.AddChild(number == "x" ? "NOTE" : "CUSTOMER", "");
            if (number != "-") {
                customer->AddChild("CONTRACTNUM", number.c_str());
            }
            customers.push_back(customer);
        }
    }
};

// What the index is: every customer under its contract number as it was
// last filed, in child order.
class CCustomerModel {
public:
    void File(CXmlNode* customer, const std::string& number, int64_t order) {
        m_filed[customer] = {order, number};
    }
    std::vector<CXmlNode*> Find(const std::string& number) const {
        std::vector<std::pair<int64_t, CXmlNode*>> found;
        for (const auto& [customer, filing] : m_filed) {
            if (filing.second == number) {
                found.emplace_back(filing.first, customer);
            }
        }
        std::sort(found.begin(), found.end());
        std::vector<CXmlNode*> customers;
        for (const auto& entry : found) {
            customers.push_back(entry.second);
        }
        return customers;
    }
    bool Knows(CXmlNode* customer) const { return m_filed.count(customer) > 0; }
    int64_t OrderOf(CXmlNode* customer) const { return m_filed.at(customer).first; }

private:
    std::map<CXmlNode*, std::pair<int64_t, std::string>> m_filed;
};

std::string ContractOf(const CXmlNode* customer) {
    return customer->GetChildText("CONTRACTNUM", 0).GetBuffer();
}

TEST(CustomerIndex, KeepsEveryCustomerUnderItsNumberInChildOrder) {
    std::mt19937 rng(17);
    const char* const numbers[] = {"100", "200", "300", "", "-", "100 ", "x"};
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> initial;
        for (int i = static_cast<int>(rng() % 12); i > 0; --i) {
            initial.push_back(numbers[rng() % 7]);
        }
        CCustomers tree(initial);
        CCustomerIndex index(&tree.root);
        CCustomerModel model;
        int64_t next = 0;
        for (CXmlNode* customer : tree.customers) {
            if (customer->NameRef().Equals("CUSTOMER")) {
                model.File(customer, ContractOf(customer), next++);
            }
        }
        for (int step = 0; step < 30; ++step) {
            const int what = static_cast<int>(rng() % 3);
            if (what == 0) {
                // A customer appended to the root.
                CXmlNode* added = tree.root.AddChild("CUSTOMER", "");
                added->AddChild("CONTRACTNUM", numbers[rng() % 4]);
                index.AddLast(added);
                model.File(added, ContractOf(added), next++);
                tree.customers.push_back(added);
            } else if (what == 1 && !tree.customers.empty()) {
                // A customer whose number changed, or did not, filed again.
                CXmlNode* customer = tree.customers[rng() % tree.customers.size()];
                if (CXmlNode* contract = customer->FindChild("CONTRACTNUM", 0)) {
                    contract->SetText(numbers[rng() % 4]);
                } else {
                    customer->AddChild("CONTRACTNUM", numbers[rng() % 4]);
                }
                index.Refresh(customer);
                model.File(customer, ContractOf(customer),
                           model.Knows(customer) ? model.OrderOf(customer) : next++);
            }
            for (const char* number : {"100", "200", "300", "", "100 ", "400"}) {
                ASSERT_EQ(index.Find(number), model.Find(number)) << number;
            }
        }
    }
}

TEST(CustomerIndex, ManyCustomersOfOneNumber) {
    CCustomers tree(std::vector<std::string>(5000, "7"));
    CCustomerIndex index(&tree.root);
    EXPECT_EQ(index.Find("7"), tree.customers);
    // Filed again under another number and back: its place stays.
    tree.customers[10]->FindChild("CONTRACTNUM", 0)->SetText("8");
    index.Refresh(tree.customers[10]);
    tree.customers[10]->FindChild("CONTRACTNUM", 0)->SetText("7");
    index.Refresh(tree.customers[10]);
    EXPECT_EQ(index.Find("7"), tree.customers);
    EXPECT_TRUE(index.Find("8").empty());
}

class MergeOpenedFileTest : public MergeFixture {
protected:
    static constexpr const char* kLoaded =
        "<RATEFILE><HEADER><VENDOR>V</VENDOR></HEADER><CUSTOMER><CONTRACTNUM>7</CONTRACTNUM>"
        "<INSURANCEPLAN><PLANKEY>K1</PLANKEY><DPKEY>D1</DPKEY><PLANDESC>Mine</PLANDESC>"
        "</INSURANCEPLAN></CUSTOMER></RATEFILE>";
    static constexpr const char* kDelivered =
        "<RATEFILE><HEADER><VENDOR>W</VENDOR></HEADER><CUSTOMER><CONTRACTNUM>7</CONTRACTNUM>"
        "<INSURANCEPLAN><PLANKEY>K1</PLANKEY><DPKEY></DPKEY><PLANDESC>Theirs</PLANDESC>"
        "<RATE><TERM>12</TERM></RATE></INSURANCEPLAN><INSURANCEPLAN><PLANKEY>K2</PLANKEY>"
        "</INSURANCEPLAN></CUSTOMER><CUSTOMER><CONTRACTNUM>8</CONTRACTNUM></CUSTOMER>"
        "</RATEFILE>";
};

TEST_F(MergeOpenedFileTest, GivesWhatMergingTheFileGives) {
    Load(kLoaded);
    m_doc->MergeRateFile(Incoming(kDelivered));
    const std::string merged = Tree();
    const std::vector<std::string> messages = m_platform.MessageTexts();

    CFakePlatform platform;
    CQuillmarDoc doc(platform);
    ASSERT_TRUE(doc.DoOpen(m_folder.File("loaded.xml")));
    CFakePlatform deliveredPlatform;
    CQuillmarDoc delivered(deliveredPlatform);
    ASSERT_TRUE(delivered.DoOpen(Incoming(kDelivered, "delivered.xml")));
    CRecordingView deliveredView;
    delivered.AddView(deliveredView);
    doc.MergeOpenedFile(delivered);

    EXPECT_EQ(DumpTree(doc.m_pRootNode), merged);
    EXPECT_EQ(platform.MessageTexts(), messages);
    EXPECT_EQ(doc.GetPlansImported(), m_doc->GetPlansImported());
    EXPECT_EQ(doc.GetPlansMatched(), m_doc->GetPlansMatched());
    EXPECT_TRUE(doc.IsModified());
    // The delivered document gave its plans away and says so.
    EXPECT_TRUE(delivered.IsModified());
    EXPECT_FALSE(deliveredView.m_calls.empty());
    EXPECT_TRUE(deliveredPlatform.m_messages.empty());
}

TEST_F(MergeOpenedFileTest, LoadedFileThatIsNoRateFileIsRefused) {
    Load("<ROOTNODE>Root Node Text</ROOTNODE>");
    CFakePlatform deliveredPlatform;
    CQuillmarDoc delivered(deliveredPlatform);
    ASSERT_TRUE(delivered.DoOpen(Incoming(kDelivered)));
    m_doc->MergeOpenedFile(delivered);
    EXPECT_EQ(m_platform.MessageTexts(),
              std::vector<std::string>{CStringTable::Get(IDS_MERGE_NO_RATE_FILE)});
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_FALSE(delivered.IsModified());
}

TEST_F(MergeOpenedFileTest, DeliveredFileThatIsNoRateFileIsRefusedAfterMarking) {
    Load(kLoaded);
    CFakePlatform deliveredPlatform;
    CQuillmarDoc delivered(deliveredPlatform);
    ASSERT_TRUE(delivered.DoOpen(Incoming("<ROOTNODE>x</ROOTNODE>")));
    const std::string before = Tree();
    m_doc->MergeOpenedFile(delivered);
    EXPECT_EQ(m_platform.MessageTexts(),
              std::vector<std::string>{CStringTable::Get(IDS_MERGE_INVALID_FILE)});
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Tree(), before);
}

TEST_F(MergeOpenedFileTest, DeliveredDocumentWithoutAWholeFileIsPassedOver) {
    Load(kLoaded);
    const std::string before = Tree();
    CFakePlatform deliveredPlatform;
    CQuillmarDoc damaged(deliveredPlatform);
    ASSERT_TRUE(damaged.DoOpen(Incoming("<RATEFILE><CUSTOMER></RATEFILE>")));
    m_doc->MergeOpenedFile(damaged);
    CQuillmarDoc empty(deliveredPlatform);
    m_doc->MergeOpenedFile(empty);
    m_doc->MergeOpenedFile(*m_doc);
    EXPECT_TRUE(m_platform.m_messages.empty());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Tree(), before);
}

} // namespace
