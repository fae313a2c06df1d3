// CMergeObserver: told what a merge does to each plan, for front ends that
// report on a merge. The document calls it, when one is set, at the points of
// plan matching where a plan's fate is decided; observing changes nothing in
// the merge. Nodes passed in may be destroyed right after the call returns:
// an observer copies what it needs and keeps no pointer to a plan it was told
// is being removed. A loaded plan's texts may move out of it once its values
// are found.
#pragma once

#include <cstddef>

class CXmlNode;

class CMergeObserver {
public:
    virtual ~CMergeObserver() = default;

    // A merge of an incoming rate file begins: the loaded tree is about to
    // change.
    virtual void OnMergeBegun() = 0;

    // A loaded customer is paired with an incoming customer; the plans of the
    // pair follow.
    virtual void OnCustomersPaired(const CXmlNode* loadedCustomer,
                                   const CXmlNode* incomingCustomer) = 0;
    // An incoming plan is taken up, before any value is carried into it.
    // remembered: its key was met earlier in this merge, so the values
    // remembered then are carried and no loaded plan is searched. keyNumber
    // is the same for every plan of the merge with this key and counts the
    // keys from 0 in the order they are first met.
    virtual void OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered,
                                size_t keyNumber) = 0;
    // The search for the incoming plan's values passed over a loaded plan
    // with its key because that plan has expired.
    virtual void OnExpiredPlanSkipped(const CXmlNode* loadedPlan) = 0;
    // The search took the incoming plan's values from this loaded plan.
    virtual void OnPlanValuesFound(const CXmlNode* loadedPlan) = 0;
    // A loaded plan is about to be removed from the loaded customer.
    virtual void OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) = 0;
    // The incoming plan, with the values carried into it, is taken into the
    // loaded customer as imported: a copy, or the incoming plan itself, which
    // is moved there before the pair is done.
    virtual void OnPlanImported(const CXmlNode* loadedCustomer, const CXmlNode* imported) = 0;
    // The merge has changed the loaded tree below mergedRoot and is done with
    // it; nothing of the incoming tree remains in use.
    virtual void OnMergeEnded(const CXmlNode* mergedRoot) = 0;
};
