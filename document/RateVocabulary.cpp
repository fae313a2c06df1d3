#include "document/RateVocabulary.h"

namespace rate {

const CKeys& Keys() {
    static const CKeys keys;
    return keys;
}

} // namespace rate
