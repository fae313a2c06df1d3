// Element names of a rate file. Children are looked up by these names
// (trimmed, letter case ignored); where a node's own name is compared, the
// comparison is exact.
#pragma once

#include "xml/XmlKey.h"

namespace rate {

inline constexpr const char* kRateFile = "RATEFILE";
inline constexpr const char* kHeader = "HEADER";
inline constexpr const char* kCustomer = "CUSTOMER";
inline constexpr const char* kContractNum = "CONTRACTNUM";
inline constexpr const char* kInsurancePlan = "INSURANCEPLAN";
inline constexpr const char* kPlanKey = "PLANKEY";
inline constexpr const char* kDpKey = "DPKEY";
inline constexpr const char* kPlanDesc = "PLANDESC";
inline constexpr const char* kExpirationDate = "EXPIRATIONDATE";

// The names the merge looks up in every customer and plan, as keys prepared
// once.
struct CKeys {
    CXmlKey customer{kCustomer};
    CXmlKey contractNum{kContractNum};
    CXmlKey insurancePlan{kInsurancePlan};
    CXmlKey planKey{kPlanKey};
    CXmlKey dpKey{kDpKey};
    CXmlKey planDesc{kPlanDesc};
    CXmlKey expirationDate{kExpirationDate};
};

const CKeys& Keys();

} // namespace rate
