// CXmlString: the engine's own growable string of 8-bit bytes.
//
// The observable rules are those of a classic fixed-step string: a new string
// reports a capacity of 128 bytes, grows in whole grow steps (128 unless
// changed with SetGrowStep), and once a growth step fails every further growth
// fails until Clear. Physically the bytes live in a 16-byte inline area or in
// a heap block that grows geometrically, so millions of short names and texts
// cost no allocation and long texts are appended in amortised constant time.
#pragma once

#include <cstdint>
#include <string_view>

class CXmlString {
public:
    static constexpr int32_t kInitialCapacity = 128;
    static constexpr int32_t kDefaultGrowStep = 128;

    // Inline: every node makes one.
    CXmlString() noexcept { m_inline[0] = '\0'; }
    CXmlString(const char* text); // NOLINT(google-explicit-constructor): texts convert freely
    CXmlString(const CXmlString& other);
    CXmlString(CXmlString&& other) noexcept;
    CXmlString& operator=(const CXmlString& other);
    CXmlString& operator=(CXmlString&& other) noexcept;
    // Most strings are short and hold nothing but their inline bytes: their
    // destruction is inline and costs a test.
    ~CXmlString() {
        if (!IsInline() || m_pExtra) {
            ReleaseStorage();
        }
    }

    // A null text means Clear. When the text does not fit and growth fails
    // the string stays unchanged.
    void Assign(const char* text);
    void Assign(const CXmlString& other);

    bool Equals(const char* text) const;
    bool Equals(const CXmlString& other) const;

    // Both return the buffer, or null (and change nothing) when growth fails.
    char* Append(const char* text);
    char* AppendChar(char byte);
    // Appends count bytes that need not be NUL-terminated; same growth rule as
    // Append of a text of that length.
    char* Append(const char* bytes, int32_t count);

    // Appends count copies of one byte; same growth rule as Append.
    char* AppendRepeated(char byte, int32_t count);
    // Drops the bytes from length on; nothing when length is not shorter.
    void Truncate(int32_t length);

    int32_t Find(const char* text) const;
    void Clear();

    // Results live in the string's scratch block until the next Left, Right or
    // Mid on the same string, or until the string is destroyed.
    const char* Left(int32_t count);
    const char* Right(int32_t count);
    const char* Mid(int32_t pos, int32_t count);

    int32_t GetLength() const { return m_nLength; }
    char GetAt(int32_t pos) const;
    bool IsEmpty() const { return m_nLength == 0; }
    const char* GetBuffer() const { return Data(); }

    void TrimLeft();
    void TrimRight();
    void Trim();
    void MakeLower();
    int32_t ToLong();
    void SetGrowStep(int32_t bytes);

    // Observers of the growth rules.
    int32_t GetCapacity() const { return static_cast<int32_t>(m_uCapacity & kCapacityMask); }
    int32_t GetGrowStep() const;
    bool HasGrowthFailed() const { return (m_uCapacity & kGrowthFailedBit) != 0; }
    // Marks the string as incomplete, as a failed growth step does.
    void MarkGrowthFailed() { m_uCapacity |= kGrowthFailedBit; }

    // The largest capacity a string may reach: 2^31 - 1 by the 32-bit length
    // rule, unless a CXmlCapacityLimit lowers it.
    static int32_t GetCapacityLimit();
    // The longest text a new string with the given grow step can hold under
    // the capacity limit: appending any longer one marks it as incomplete.
    // For writers that pass a text on in pieces instead of holding it, to
    // refuse exactly the texts a string would refuse.
    static int32_t GetLengthLimit(int32_t growStep = kDefaultGrowStep);

    // Takes over a malloc'ed block holding length bytes and a NUL (size bytes
    // in all), as if those bytes had been appended to an empty string with
    // the string's grow step. Returns false, freeing the block and leaving
    // the string empty with the growth-failed flag set, when the text does
    // not fit the capacity limit.
    bool AdoptBuffer(char* block, int32_t length, int64_t size);

private:
    static constexpr uint32_t kGrowthFailedBit = 0x80000000u;
    static constexpr uint32_t kCapacityMask = 0x7fffffffu;
    static constexpr int32_t kInlineSize = 16;

    struct Extra; // grow step other than the default, and the scratch block

    bool IsInline() const { return m_nLength < kInlineSize; }
    const char* Data() const { return IsInline() ? m_inline : m_heap.pData; }
    char* Data() { return IsInline() ? m_inline : m_heap.pData; }

    bool GrowFor(int64_t newLength);
    bool Reserve(int32_t newLength);
    void SetLengthShrinking(int32_t newLength);
    void KeepRange(int32_t begin, int32_t end);
    void FreeHeap();
    void ReleaseStorage();
    void SetCapacity(int32_t capacity);
    void SetGrowthFailed();
    char* Scratch(int64_t size);

    union {
        char m_inline[kInlineSize];
        struct {
            char* pData;
            int64_t nSize;
        } m_heap;
    };
    int32_t m_nLength = 0;
    uint32_t m_uCapacity = kInitialCapacity; // logical capacity, top bit: growth failed
    Extra* m_pExtra = nullptr;
};

// Lowers the capacity limit of the strings of the calling thread while it
// lives, and restores the one before when it ends: what a string, the reader
// and the writer refuse at 2 GB can then be tried with a few kilobytes.
// Scopes nest; the product itself never makes one.
class CXmlCapacityLimit {
public:
    // A limit below the initial capacity counts as the initial capacity.
    explicit CXmlCapacityLimit(int32_t limit);
    CXmlCapacityLimit(const CXmlCapacityLimit&) = delete;
    CXmlCapacityLimit& operator=(const CXmlCapacityLimit&) = delete;
    ~CXmlCapacityLimit();

private:
    friend class CXmlString;
    // The limit in force on the calling thread.
    static int32_t& Current();

    int32_t m_nPrevious;
};

// The bytes of text as a view, valid while text is unchanged.
inline std::string_view BytesOf(const CXmlString& text) {
    return {text.GetBuffer(), static_cast<size_t>(text.GetLength())};
}
