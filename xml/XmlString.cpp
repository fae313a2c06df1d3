#include "xml/XmlString.h"

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

struct CXmlString::Extra {
    int32_t nGrowStep = kDefaultGrowStep;
    char* pScratch = nullptr;
};

namespace {

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

int32_t LengthOf(const char* text) {
    const size_t length = std::strlen(text);
    return length > static_cast<size_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(length);
}

} // namespace

int32_t& CXmlCapacityLimit::Current() {
    // Constant-initialised: reading it costs a thread-local load, no guard.
    static constinit thread_local int32_t limit = INT32_MAX;
    return limit;
}

CXmlCapacityLimit::CXmlCapacityLimit(int32_t limit) : m_nPrevious(Current()) {
    Current() = limit < CXmlString::kInitialCapacity ? CXmlString::kInitialCapacity : limit;
}

CXmlCapacityLimit::~CXmlCapacityLimit() {
    Current() = m_nPrevious;
}

int32_t CXmlString::GetCapacityLimit() {
    return CXmlCapacityLimit::Current();
}

int32_t CXmlString::GetLengthLimit(int32_t growStep) {
    // The capacity grows in whole steps from the initial one, and a text
    // leaves room for its NUL and one spare byte (see GrowFor).
    const int32_t step = growStep > 0 ? growStep : kDefaultGrowStep;
    const int32_t steps = (GetCapacityLimit() - kInitialCapacity) / step;
    return kInitialCapacity + steps * step - 2;
}

CXmlString::CXmlString(const char* text) : CXmlString() {
    Assign(text);
}

CXmlString::CXmlString(const CXmlString& other) : CXmlString() {
    Assign(other);
}

CXmlString::CXmlString(CXmlString&& other) noexcept
    : m_nLength(other.m_nLength), m_uCapacity(other.m_uCapacity), m_pExtra(other.m_pExtra) {
    std::memcpy(m_inline, other.m_inline, sizeof m_inline); // the inline bytes or the heap block
    other.m_inline[0] = '\0';
    other.m_nLength = 0;
    other.m_uCapacity = kInitialCapacity;
    other.m_pExtra = nullptr;
}

CXmlString& CXmlString::operator=(const CXmlString& other) {
    if (this != &other) {
        Assign(other);
    }
    return *this;
}

CXmlString& CXmlString::operator=(CXmlString&& other) noexcept {
    if (this != &other) {
        FreeHeap();
        if (m_pExtra) {
            std::free(m_pExtra->pScratch);
            delete m_pExtra;
        }
        std::memcpy(m_inline, other.m_inline, sizeof m_inline);
        m_nLength = other.m_nLength;
        m_uCapacity = other.m_uCapacity;
        m_pExtra = other.m_pExtra;
        other.m_inline[0] = '\0';
        other.m_nLength = 0;
        other.m_uCapacity = kInitialCapacity;
        other.m_pExtra = nullptr;
    }
    return *this;
}

void CXmlString::ReleaseStorage() {
    FreeHeap();
    if (m_pExtra) {
        std::free(m_pExtra->pScratch);
        delete m_pExtra;
    }
}

int32_t CXmlString::GetGrowStep() const {
    return m_pExtra ? m_pExtra->nGrowStep : kDefaultGrowStep;
}

void CXmlString::SetGrowStep(int32_t bytes) {
    if (!m_pExtra) {
        if (bytes == kDefaultGrowStep) {
            return;
        }
        m_pExtra = new (std::nothrow) Extra;
        if (!m_pExtra) {
            return;
        }
    }
    m_pExtra->nGrowStep = bytes;
}

void CXmlString::SetCapacity(int32_t capacity) {
    m_uCapacity = (m_uCapacity & kGrowthFailedBit) | static_cast<uint32_t>(capacity);
}

void CXmlString::SetGrowthFailed() {
    m_uCapacity |= kGrowthFailedBit;
}

// Raises the logical capacity in whole grow steps until a text of the given
// length fits with its NUL and one spare byte, as the growth rules demand.
// Fails, keeping the steps that did fit, when the capacity limit is reached.
bool CXmlString::GrowFor(int64_t neededLength) {
    const int64_t capacity = GetCapacity();
    if (neededLength < capacity - 1) {
        return true;
    }
    if (HasGrowthFailed()) {
        return false;
    }
    const int64_t step = GetGrowStep();
    if (step <= 0) {
        SetGrowthFailed();
        return false;
    }
    const int64_t stepsNeeded = (neededLength + 2 - capacity + step - 1) / step;
    const int64_t stepsPossible = (GetCapacityLimit() - capacity) / step;
    if (stepsNeeded > stepsPossible) {
        SetCapacity(static_cast<int32_t>(capacity + stepsPossible * step));
        SetGrowthFailed();
        return false;
    }
    SetCapacity(static_cast<int32_t>(capacity + stepsNeeded * step));
    return true;
}

// Makes room for newLength bytes and a NUL. The bytes up to the current
// length are kept; the length itself is not changed.
bool CXmlString::Reserve(int32_t newLength) {
    if (newLength < kInlineSize) {
        return true; // fits inline; the caller moves the bytes if needed
    }
    const int64_t needed = static_cast<int64_t>(newLength) + 1;
    if (!IsInline() && m_heap.nSize >= needed) {
        return true;
    }
    int64_t size = IsInline() ? 32 : m_heap.nSize;
    while (size < needed) {
        size *= 2;
    }
    if (IsInline()) {
        char* block = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
        if (!block) {
            return false;
        }
        std::memcpy(block, m_inline, static_cast<size_t>(m_nLength) + 1);
        m_heap.pData = block;
    } else {
        char* block = static_cast<char*>(std::realloc(m_heap.pData, static_cast<size_t>(size)));
        if (!block) {
            return false;
        }
        m_heap.pData = block;
    }
    m_heap.nSize = size;
    return true;
}

// Sets a length not greater than the current one, moving the bytes back into
// the inline area when they fit there.
void CXmlString::SetLengthShrinking(int32_t newLength) {
    if (!IsInline() && newLength < kInlineSize) {
        char* block = m_heap.pData;
        std::memcpy(m_inline, block, static_cast<size_t>(newLength));
        std::free(block);
    }
    m_nLength = newLength;
    Data()[newLength] = '\0';
}

void CXmlString::FreeHeap() {
    if (!IsInline()) {
        std::free(m_heap.pData);
        m_nLength = 0;
        m_inline[0] = '\0';
    }
}

void CXmlString::Assign(const char* text) {
    if (!text) {
        Clear();
        return;
    }
    const int32_t length = LengthOf(text);
    if (!GrowFor(length)) {
        return;
    }
    const char* source = text;
    char* copy = nullptr;
    const char* data = Data();
    if (text >= data && text <= data + m_nLength) {
        // Assigning a part of this very string: keep the bytes safe first.
        copy = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
        if (!copy) {
            SetGrowthFailed();
            return;
        }
        std::memcpy(copy, text, static_cast<size_t>(length) + 1);
        source = copy;
    }
    if (length >= kInlineSize) {
        if (!Reserve(length)) {
            SetGrowthFailed();
            std::free(copy);
            return;
        }
        std::memcpy(m_heap.pData, source, static_cast<size_t>(length) + 1);
        m_nLength = length;
    } else {
        FreeHeap();
        std::memcpy(m_inline, source, static_cast<size_t>(length) + 1);
        m_nLength = length;
    }
    std::free(copy);
}

void CXmlString::Assign(const CXmlString& other) {
    if (this == &other) {
        return;
    }
    // Most texts are short: a short text without a NUL inside, copied into
    // a string that holds no block, takes the inline bytes as they are. Its
    // length is below any capacity, so the growth rules have nothing to say.
    if (other.IsInline() && IsInline() &&
        std::memchr(other.m_inline, '\0', static_cast<size_t>(other.m_nLength)) == nullptr) {
        std::memcpy(m_inline, other.m_inline, sizeof m_inline);
        m_nLength = other.m_nLength;
        return;
    }
    Assign(other.GetBuffer());
}

bool CXmlString::Equals(const char* text) const {
    if (!text) {
        return m_nLength == 0;
    }
    return std::strcmp(Data(), text) == 0;
}

bool CXmlString::Equals(const CXmlString& other) const {
    return m_nLength == other.m_nLength &&
           std::memcmp(Data(), other.Data(), static_cast<size_t>(m_nLength)) == 0;
}

char* CXmlString::Append(const char* text) {
    if (!text) {
        return Data();
    }
    return Append(text, LengthOf(text));
}

char* CXmlString::Append(const char* bytes, int32_t count) {
    if (count <= 0) {
        return Data();
    }
    // A text that stays in the inline area is below any capacity: nothing
    // to grow, nothing to move.
    if (count < kInlineSize && m_nLength + count < kInlineSize) {
        std::memmove(m_inline + m_nLength, bytes, static_cast<size_t>(count));
        m_nLength += count;
        m_inline[m_nLength] = '\0';
        return m_inline;
    }
    const int64_t newLength = static_cast<int64_t>(m_nLength) + count;
    if (!GrowFor(newLength)) {
        return nullptr;
    }
    // Appending a part of this very string: the bytes may move with the block.
    const char* data = Data();
    const std::ptrdiff_t selfOffset =
        (bytes >= data && bytes <= data + m_nLength) ? bytes - data : -1;
    if (!Reserve(static_cast<int32_t>(newLength))) {
        SetGrowthFailed();
        return nullptr;
    }
    // The physical layout follows the length: a text that leaves the inline
    // area moves to the heap block that Reserve made.
    char* target = newLength < kInlineSize ? m_inline : m_heap.pData;
    if (selfOffset >= 0) {
        bytes = target + selfOffset;
    }
    std::memmove(target + m_nLength, bytes, static_cast<size_t>(count));
    target[newLength] = '\0';
    m_nLength = static_cast<int32_t>(newLength);
    return target;
}

char* CXmlString::AppendRepeated(char byte, int32_t count) {
    if (count <= 0) {
        return Data();
    }
    const int64_t newLength = static_cast<int64_t>(m_nLength) + count;
    if (!GrowFor(newLength) || !Reserve(static_cast<int32_t>(newLength))) {
        SetGrowthFailed();
        return nullptr;
    }
    char* target = newLength < kInlineSize ? m_inline : m_heap.pData;
    std::memset(target + m_nLength, byte, static_cast<size_t>(count));
    target[newLength] = '\0';
    m_nLength = static_cast<int32_t>(newLength);
    return target;
}

void CXmlString::Truncate(int32_t length) {
    if (length >= 0 && length < m_nLength) {
        SetLengthShrinking(length);
    }
}

char* CXmlString::AppendChar(char byte) {
    if (!GrowFor(m_nLength)) {
        return nullptr;
    }
    const int32_t newLength = m_nLength + 1;
    if (!Reserve(newLength)) {
        SetGrowthFailed();
        return nullptr;
    }
    char* target = newLength < kInlineSize ? m_inline : m_heap.pData;
    target[m_nLength] = byte;
    target[newLength] = '\0';
    m_nLength = newLength;
    return target;
}

int32_t CXmlString::Find(const char* text) const {
    if (!text) {
        return 0;
    }
    const std::string_view haystack(Data(), static_cast<size_t>(m_nLength));
    const size_t found = haystack.find(text);
    return found == std::string_view::npos ? -1 : static_cast<int32_t>(found);
}

void CXmlString::Clear() {
    FreeHeap();
    m_nLength = 0;
    m_inline[0] = '\0';
    m_uCapacity &= kCapacityMask;
}

char* CXmlString::Scratch(int64_t size) {
    if (!m_pExtra) {
        m_pExtra = new (std::nothrow) Extra;
        if (!m_pExtra) {
            return nullptr;
        }
    }
    std::free(m_pExtra->pScratch);
    m_pExtra->pScratch = static_cast<char*>(std::calloc(static_cast<size_t>(size), 1));
    return m_pExtra->pScratch;
}

const char* CXmlString::Left(int32_t count) {
    const int32_t taken = count < 0 ? 0 : (count < m_nLength ? count : m_nLength);
    char* scratch = Scratch(static_cast<int64_t>(taken) + 2);
    if (!scratch) {
        return "";
    }
    std::memcpy(scratch, Data(), static_cast<size_t>(taken));
    return scratch;
}

const char* CXmlString::Right(int32_t count) {
    const int32_t taken = count < 0 ? 0 : (count < m_nLength ? count : m_nLength);
    char* scratch = Scratch(static_cast<int64_t>(taken) + 2);
    if (!scratch) {
        return "";
    }
    std::memcpy(scratch, Data() + (m_nLength - taken), static_cast<size_t>(taken));
    return scratch;
}

const char* CXmlString::Mid(int32_t pos, int32_t count) {
    if (pos < 0) {
        pos = 0;
    }
    if (pos >= m_nLength) {
        return nullptr;
    }
    const int32_t available = m_nLength - pos;
    const int32_t taken = (count <= 0 || count > available) ? available : count;
    char* scratch = Scratch(static_cast<int64_t>(taken) + 2);
    if (!scratch) {
        return "";
    }
    std::memcpy(scratch, Data() + pos, static_cast<size_t>(taken));
    return scratch;
}

char CXmlString::GetAt(int32_t pos) const {
    return (pos < 0 || pos >= m_nLength) ? '\0' : Data()[pos];
}

// Keeps the bytes from begin to end, moving them to the front.
void CXmlString::KeepRange(int32_t begin, int32_t end) {
    if (begin == 0 && end == m_nLength) {
        return;
    }
    const int32_t newLength = end - begin;
    if (begin > 0) {
        std::memmove(Data(), Data() + begin, static_cast<size_t>(newLength));
    }
    SetLengthShrinking(newLength);
}

void CXmlString::TrimLeft() {
    const char* data = Data();
    int32_t begin = 0;
    while (begin < m_nLength && IsBlankOrTab(data[begin])) {
        ++begin;
    }
    KeepRange(begin, m_nLength);
}

void CXmlString::TrimRight() {
    const char* data = Data();
    int32_t end = m_nLength;
    while (end > 0 && IsBlankOrTab(data[end - 1])) {
        --end;
    }
    KeepRange(0, end);
}

void CXmlString::Trim() {
    const char* data = Data();
    int32_t end = m_nLength;
    while (end > 0 && IsBlankOrTab(data[end - 1])) {
        --end;
    }
    int32_t begin = 0;
    while (begin < end && IsBlankOrTab(data[begin])) {
        ++begin;
    }
    KeepRange(begin, end);
}

void CXmlString::MakeLower() {
    char* data = Data();
    for (int32_t i = 0; i < m_nLength; ++i) {
        if (data[i] >= 'A' && data[i] <= 'Z') {
            data[i] = static_cast<char>(data[i] + ('a' - 'A'));
        }
    }
}

int32_t CXmlString::ToLong() {
    Trim();
    const char* p = Data();
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    uint32_t value = 0; // unsigned, so that overflow wraps instead of being undefined
    while (*p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<uint32_t>(*p - '0');
        ++p;
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int32_t>(value);
}

bool CXmlString::AdoptBuffer(char* block, int32_t length, int64_t size) {
    Clear();
    if (!GrowFor(length)) {
        std::free(block);
        return false;
    }
    if (length < kInlineSize) {
        std::memcpy(m_inline, block, static_cast<size_t>(length));
        m_inline[length] = '\0';
        std::free(block);
    } else {
        m_heap.pData = block;
        m_heap.nSize = size;
        block[length] = '\0';
    }
    m_nLength = length;
    return true;
}
