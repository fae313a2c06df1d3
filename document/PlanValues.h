// CPlanValues: the values a merge carries for one plan key, the user's plan
// description and data processor key.
#pragma once

#include "xml/XmlString.h"

struct CPlanValues {
    CXmlString m_strPlanKey;
    CXmlString m_strPlanDesc;
    CXmlString m_strDpKey;
};
