// CMergeObserver: told what a merge does to each plan, for front ends that
// report on a merge. The document calls it, when one is set, at the points of
// plan matching where a plan's fate is decided; observing changes nothing in
// the merge. Nodes passed in may be destroyed right after the call returns:
// an observer copies what it needs and keeps no pointer to a plan it was told
// is being removed.
#pragma once

class CXmlNode;

class CMergeObserver {
public:
    virtual ~CMergeObserver() = default;

    // A loaded customer is paired with an incoming customer; the plans of the
    // pair follow.
    virtual void OnCustomersPaired(const CXmlNode* loadedCustomer,
                                   const CXmlNode* incomingCustomer) = 0;
    // An incoming plan is taken up, before any value is carried into it.
    // remembered: its key was met earlier in this merge, so the values
    // remembered then are carried and no loaded plan is searched.
    virtual void OnIncomingPlan(const CXmlNode* incomingPlan, bool remembered) = 0;
    // The search for the incoming plan's values passed over a loaded plan
    // with its key because that plan has expired.
    virtual void OnExpiredPlanSkipped(const CXmlNode* loadedPlan) = 0;
    // The search took the incoming plan's values from this loaded plan.
    virtual void OnPlanValuesFound(const CXmlNode* loadedPlan) = 0;
    // A loaded plan is about to be removed from the loaded customer.
    virtual void OnPlanRemoving(const CXmlNode* loadedCustomer, const CXmlNode* plan) = 0;
    // The incoming plan, with the values carried into it, has been copied to
    // the loaded customer as copy.
    virtual void OnPlanImported(const CXmlNode* loadedCustomer, const CXmlNode* copy) = 0;
};
