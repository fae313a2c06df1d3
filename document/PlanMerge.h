// CPlanMerge: the plan matching of one pair of customers, a loaded one and an
// incoming one, carried out in the steps of its rule. The incoming plans
// replace the loaded ones; each takes over the user's plan description and
// data processor key of its plan key, from the record an earlier plan of the
// merge made for that key or else from the first loaded plan with the key
// that has not expired. A loaded plan stays only when its key's record was
// made before this pair.
//
// CPlanMergeLists: the working lists of a pair, owned by the document and
// reused from one pair to the next: a merge of a large file would otherwise
// allocate them anew for every customer.
#pragma once

#include "document/Date.h"
#include "xml/XmlKey.h"
#include "xml/XmlString.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string_view>
#include <vector>

class CMergeObserver;
class CQuillmarDoc;
class CXmlNode;
struct CPlanValues;

// Whether a plan with this expiration date has expired by today, whose
// DayNumber is todayNumber: a plan expires on the day after its expiration
// date, and one without an expiration date never expires.
bool IsPlanExpired(const CXmlString& expiration, const CDate& today, int32_t todayNumber);

// The keys of the items of incoming customers, prepared once for each name
// as written: the customers of a file have the same few items. A small
// most-recently-used cache; the key handed out is valid until the next call.
class CItemKeys {
public:
    const CXmlKey& For(const CXmlString& name);

private:
    struct CEntry {
        CXmlString name;
        CXmlKey key;
    };
    static constexpr size_t kMostNames = 16;
    std::deque<CEntry> m_entries;
};

struct CPlanMergeLists {
    // A loaded plan with the texts the merge reads of it, and its place among
    // the customer's plans.
    struct CLoadedPlan {
        std::string_view key;
        size_t nOrder;
        CXmlNode* pPlan;
        const CXmlString* pExpiration;
        CXmlNode* pPlanDesc;
        CXmlNode* pDpKey;
    };
    // An incoming plan with the nodes the merge reads and changes.
    struct CIncomingPlan {
        CXmlNode* pPlan;
        const CXmlString* pPlanKey;
        CXmlNode* pPlanDesc;
        CXmlNode* pDpKey;
        uint32_t nKeyHash;
        size_t nRecord; // the place of its key's record when the pair began
        // An earlier plan of the pair may have the same key, and so may have
        // made its record since.
        bool bKeyRepeated;
    };

    // Sorted by key, then by place, once gathered.
    std::vector<CLoadedPlan> loaded;
    std::vector<CIncomingPlan> incoming;
    // The incoming plans that move into the loaded customer, in their order.
    std::vector<CXmlNode*> moving;
    // By a loaded plan's place: the plan once it is known to go, else null.
    std::vector<CXmlNode*> removed;
    // The loaded plans of one search, as the observer is told of them.
    std::vector<const CXmlNode*> searched;
    CItemKeys itemKeys;

    // Empties the lists of plans; the item keys stay.
    void ClearPlans();
};

class CPlanMerge {
public:
    // lastPairing: the incoming customer is paired with no further loaded
    // customer in this merge. lists is emptied now and when the pair is done.
    CPlanMerge(CQuillmarDoc& doc, CPlanMergeLists& lists, CXmlNode& loadedCustomer,
               CXmlNode& incomingCustomer, bool lastPairing);
    CPlanMerge(const CPlanMerge&) = delete;
    CPlanMerge& operator=(const CPlanMerge&) = delete;
    ~CPlanMerge();

    // Everything of the incoming customer but its plans, as the names are
    // written, into the loaded customer.
    void MergeItems();
    void GatherLoadedPlans();
    void GatherIncomingPlans();
    // Looks up the records of all incoming plan keys together.
    void LookUpRecords();
    // Each incoming plan in turn: its record (the one remembered, or one made
    // from the loaded plans with its key, which then go), the record's values
    // carried into it, and the plan taken into the loaded customer.
    void TakeDeliveredPlans();
    void RemoveReplacedPlans();

private:
    using CLoadedPlan = CPlanMergeLists::CLoadedPlan;
    using CIncomingPlan = CPlanMergeLists::CIncomingPlan;
    using LoadedRange = std::span<const CLoadedPlan>;

    static CIncomingPlan ReadIncomingPlan(CXmlNode* plan);
    void MarkRepeatedKeys();
    const CPlanValues& ResolveCarriedRecord(CIncomingPlan& incoming);
    const CPlanValues& RecordFromLoadedPlans(const CIncomingPlan& incoming);
    LoadedRange LoadedPlansWithKey(std::string_view key) const;
    const CLoadedPlan* FirstUnexpired(LoadedRange candidates);
    void NotifySearch(LoadedRange candidates, const CLoadedPlan* found) const;
    void CarryValues(const CIncomingPlan& incoming, const CPlanValues& record);
    void TakeDeliveredPlan(CXmlNode* plan);
    void MoveDeliveredPlans();

    CQuillmarDoc& m_doc;
    CPlanMergeLists& m_lists;
    CXmlNode& m_loadedCustomer;
    CXmlNode& m_incomingCustomer;
    CMergeObserver* m_pObserver;
    // The incoming tree is thrown away when the merge ends: on the incoming
    // customer's last pairing its plans move over instead of being copied,
    // with the same result. An observer is told of each plan as it is taken.
    bool m_bMovePlans;
    // The loaded plan whose values a record takes is removed when the pair
    // is done, and nothing reads it before: its texts move into the record
    // instead of being copied. The incoming tree is then another tree. An
    // observer has read the plan's texts when it was told of it.
    bool m_bTakeValues;
    // Records from this place on were made by this pair.
    size_t m_nRecordsBefore;
    // Read once for all searches of the pair when the merge has fixed the
    // date, afresh for each search otherwise.
    CDate m_today;
    int32_t m_nTodayNumber = 0;
    bool m_bTodayRead = false;
};
