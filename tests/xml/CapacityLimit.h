// Lowers the length limit of strings for one test and restores it after, so
// that the limit's rules can be tested without gigabytes of memory.
#pragma once

#include "xml/XmlString.h"

using CapacityLimit = CXmlCapacityLimit;
