#include "xml/FileText.h"

#include "xml/LargeBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace {

constexpr std::size_t kChunkSize = 1 << 20;
// The chunks in which a regular file is read and its line ends joined.
constexpr std::size_t kJoinChunkSize = std::size_t{256} * 1024;
// Bytes a text read in one piece may leave unused at the end of its block.
constexpr std::size_t kShrinkSlack = std::size_t{1} << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
struct BlockFreer {
    void operator()(char* block) const { std::free(block); }
};

// Turns raw file bytes, arriving in chunks, into the engine's text.
class CTextModeReader {
public:
    explicit CTextModeReader(std::size_t sizeHint) { Reserve(sizeHint + 1); }

    // Returns false when the text grows past the limit or memory runs out.
    bool Feed(const char* bytes, std::size_t size);
    bool Finish();
    bool Ended() const { return m_bEnded; }
    bool TakeInto(CXmlString& text);

private:
    bool Reserve(std::size_t size);
    bool Emit(const char* bytes, std::size_t size);
    bool EmitTranslated(const char* bytes, std::size_t size);

    std::unique_ptr<char, BlockFreer> m_pOut;
    std::size_t m_nCapacity = 0;
    std::size_t m_nLength = 0;    // bytes kept
    std::size_t m_nStreamPos = 0; // bytes of the translated stream, NULs and cut bytes included
    bool m_bCutting = false;      // inside a piece after its first NUL
    bool m_bPendingCr = false;    // a CR at the end of a chunk, waiting for its LF
    bool m_bEnded = false;        // a byte 26 was seen
};

bool CTextModeReader::Reserve(std::size_t size) {
    if (size <= m_nCapacity) {
        return true;
    }
    // The first reservation is the file's size: most files need no more.
    std::size_t capacity = m_nCapacity ? m_nCapacity : (size > 4096 ? size : 4096);
    while (capacity < size) {
        capacity *= 2;
    }
    char* block = static_cast<char*>(std::realloc(m_pOut.get(), capacity));
    if (!block) {
        return false;
    }
    (void)m_pOut.release();
    m_pOut.reset(block);
    m_nCapacity = capacity;
    return true;
}

// Keeps the part of each 10,239-byte piece of the stream before its first NUL.
bool CTextModeReader::EmitTranslated(const char* bytes, std::size_t size) {
    while (size > 0) {
        const std::size_t pieceLeft = kFileTextPieceSize - m_nStreamPos % kFileTextPieceSize;
        const std::size_t take = size < pieceLeft ? size : pieceLeft;
        if (!m_bCutting) {
            const void* nul = std::memchr(bytes, '\0', take);
            const std::size_t kept =
                nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : take;
            if (m_nLength + kept > static_cast<std::size_t>(CXmlString::GetCapacityLimit())) {
                return false;
            }
            if (!Reserve(m_nLength + kept + 1)) {
                return false;
            }
            std::memcpy(m_pOut.get() + m_nLength, bytes, kept);
            m_nLength += kept;
            m_bCutting = nul != nullptr;
        }
        bytes += take;
        size -= take;
        m_nStreamPos += take;
        if (m_nStreamPos % kFileTextPieceSize == 0) {
            m_bCutting = false;
        }
    }
    return true;
}

bool CTextModeReader::Emit(const char* bytes, std::size_t size) {
    return size == 0 || EmitTranslated(bytes, size);
}

bool CTextModeReader::Feed(const char* bytes, std::size_t size) {
    if (m_bEnded || size == 0) {
        return true;
    }
    if (size > static_cast<std::size_t>(PTRDIFF_MAX)) {
        return false; // no block of memory is that large
    }
    if (const void* eof = std::memchr(bytes, 26, size)) {
        size = static_cast<std::size_t>(static_cast<const char*>(eof) - bytes);
        m_bEnded = true;
    }
    std::size_t from = 0;
    if (m_bPendingCr) {
        m_bPendingCr = false;
        if (size > 0 && bytes[0] == '\n') {
            from = 1;
            if (!Emit("\n", 1)) {
                return false;
            }
        } else if (!Emit("\r", 1)) {
            return false;
        }
    }
    while (from < size) {
        const void* cr = std::memchr(bytes + from, '\r', size - from);
        if (!cr) {
            return Emit(bytes + from, size - from);
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - bytes);
        if (!Emit(bytes + from, at - from)) {
            return false;
        }
        if (at + 1 == size) {
            if (m_bEnded) {
                return Emit("\r", 1); // the text ends here: the CR stays
            }
            m_bPendingCr = true;
            return true;
        }
        if (bytes[at + 1] == '\n') {
            if (!Emit("\n", 1)) {
                return false;
            }
            from = at + 2;
        } else {
            if (!Emit("\r", 1)) {
                return false;
            }
            from = at + 1;
        }
    }
    return true;
}

bool CTextModeReader::Finish() {
    if (m_bPendingCr) {
        m_bPendingCr = false;
        return Emit("\r", 1);
    }
    return true;
}

bool CTextModeReader::TakeInto(CXmlString& text) {
    if (!Reserve(m_nLength + 1)) {
        return false;
    }
    const auto size = static_cast<int64_t>(m_nCapacity);
    return text.AdoptBuffer(m_pOut.release(), static_cast<int32_t>(m_nLength), size);
}

// The text mode rules applied to a whole file's bytes where they lie, for
// files read in one piece: the text is never longer than the bytes, so it is
// compacted towards the front of the same block. Returns the text's length.
std::size_t CutAtEndOfText(const char* bytes, std::size_t size) {
    const void* eof = std::memchr(bytes, 26, size);
    return eof ? static_cast<std::size_t>(static_cast<const char*>(eof) - bytes) : size;
}

// Each CR LF pair becomes one LF; a lone CR stays.
std::size_t JoinLineEnds(char* bytes, std::size_t size) {
    const void* cr = std::memchr(bytes, '\r', size);
    if (!cr) {
        return size;
    }
    auto out = static_cast<std::size_t>(static_cast<const char*>(cr) - bytes);
    std::size_t from = out;
    while (from < size) {
        const void* next = std::memchr(bytes + from, '\r', size - from);
        const std::size_t at =
            next ? static_cast<std::size_t>(static_cast<const char*>(next) - bytes) : size;
        const bool pair = at + 1 < size && bytes[at + 1] == '\n';
        // The run up to a CR of a pair is kept without the CR; a lone CR is
        // kept with its run.
        const std::size_t end = at < size && !pair ? at + 1 : at;
        std::memmove(bytes + out, bytes + from, end - from);
        out += end - from;
        from = pair ? at + 1 : end;
    }
    return out;
}

// Keeps the part of each 10,239-byte piece before its first NUL.
std::size_t CutPiecesAtNul(char* bytes, std::size_t size) {
    const void* nul = std::memchr(bytes, '\0', size);
    if (!nul) {
        return size;
    }
    const auto first = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes);
    std::size_t piece = first - first % kFileTextPieceSize;
    std::size_t out = piece;
    for (; piece < size; piece += kFileTextPieceSize) {
        const std::size_t length =
            size - piece < kFileTextPieceSize ? size - piece : kFileTextPieceSize;
        const void* cut = std::memchr(bytes + piece, '\0', length);
        const std::size_t kept =
            cut ? static_cast<std::size_t>(static_cast<const char*>(cut) - (bytes + piece))
                : length;
        std::memmove(bytes + out, bytes + piece, kept);
        out += kept;
    }
    return out;
}

// Takes a malloc'ed block holding length bytes whose line ends are joined
// (blockSize bytes in all) over as the text, once each piece is cut at its
// first NUL. False, the block freed, when the text does not fit.
bool TakeTextInto(char* block, std::size_t length, std::size_t blockSize, CXmlString& text) {
    length = CutPiecesAtNul(block, length);
    if (length > static_cast<std::size_t>(CXmlString::GetCapacityLimit())) {
        std::free(block);
        return false;
    }
    // A large text gives back what its line ends and cut pieces left over.
    if (blockSize - length > kShrinkSlack) {
        if (void* smaller = std::realloc(block, length + 1)) {
            block = static_cast<char*>(smaller);
            blockSize = length + 1;
        }
    }
    return text.AdoptBuffer(block, static_cast<int32_t>(length), static_cast<int64_t>(blockSize));
}

// Turns a malloc'ed block of size bytes (with room for one more) into the
// text, which takes the block over. False when the text does not fit.
bool TranslateBlockInto(char* block, std::size_t size, std::size_t blockSize, CXmlString& text) {
    std::size_t length = CutAtEndOfText(block, size);
    length = JoinLineEnds(block, length);
    return TakeTextInto(block, length, blockSize, text);
}

enum class JoinedRead { kRead, kGrew, kFailed };

// Reads a regular file of size bytes into a block of size + 1, cut at its
// first byte 26 and with its line ends joined chunk by chunk, while each
// chunk is still in the cache. length receives the bytes kept. kGrew: the
// file holds more than size bytes now, and the block is of no use.
JoinedRead ReadJoined(std::FILE* file, char* block, std::size_t size, std::size_t& length) {
    std::size_t kept = 0;
    std::size_t read = 0;
    for (;;) {
        // The bytes kept are never more than those read: the chunk fits.
        const std::size_t want = std::min(kJoinChunkSize, size + 1 - read);
        const std::size_t got = std::fread(block + kept, 1, want, file);
        if (std::ferror(file)) {
            return JoinedRead::kFailed;
        }
        read += got;
        std::size_t fresh = got;
        const void* eof = std::memchr(block + kept, 26, got);
        if (eof) {
            fresh = static_cast<std::size_t>(static_cast<const char*>(eof) - (block + kept));
        }
        // A CR that ended the last chunk is joined with an LF that starts
        // this one.
        const std::size_t from = kept > 0 && block[kept - 1] == '\r' ? kept - 1 : kept;
        kept = from + JoinLineEnds(block + from, kept + fresh - from);
        if (eof || got < want) {
            length = kept;
            return JoinedRead::kRead;
        }
        if (read > size) {
            return JoinedRead::kGrew;
        }
    }
}

// A regular file of size bytes read into a block of its size, one byte more
// telling that the end has been reached, with its text mode rules applied
// where it lies. Empty when the file grew since its size was taken: it is
// then read as other files are, from its start again.
std::optional<FileTextStatus> ReadWholeFile(std::FILE* file, std::size_t size, CXmlString& text) {
    std::unique_ptr<char, BlockFreer> whole(static_cast<char*>(AllocateLargeBlock(size + 1)));
    if (!whole) {
        return FileTextStatus::kTooLarge;
    }
    std::size_t length = 0;
    switch (ReadJoined(file, whole.get(), size, length)) {
    case JoinedRead::kFailed:
        return FileTextStatus::kCannotOpen;
    case JoinedRead::kRead:
        if (!TakeTextInto(whole.release(), length, size + 1, text)) {
            text.Clear();
            return FileTextStatus::kTooLarge;
        }
        return FileTextStatus::kOk;
    case JoinedRead::kGrew:
        break;
    }
    std::rewind(file);
    return std::nullopt;
}

// Any file read in chunks through the streaming reader; hint is the size
// expected (0 when unknown).
FileTextStatus ReadInChunks(std::FILE* file, std::size_t hint, CXmlString& text) {
    CTextModeReader reader(hint);
    // Small files are read in one piece; one more byte tells that the end
    // has been reached.
    const std::size_t chunkSize = hint + 1 < kChunkSize ? hint + 1 : kChunkSize;
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[chunkSize]);
    if (!chunk) {
        return FileTextStatus::kTooLarge;
    }
    while (!reader.Ended()) {
        const std::size_t read = std::fread(chunk.get(), 1, chunkSize, file);
        if (!reader.Feed(chunk.get(), read)) {
            text.Clear();
            return FileTextStatus::kTooLarge;
        }
        if (read < chunkSize) {
            break;
        }
    }
    if (std::ferror(file)) {
        return FileTextStatus::kCannotOpen;
    }
    if (!reader.Finish() || !reader.TakeInto(text)) {
        text.Clear();
        return FileTextStatus::kTooLarge;
    }
    return FileTextStatus::kOk;
}

} // namespace

FileTextStatus ReadFileText(const char* path, CXmlString& text) {
    text.Clear();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file) {
        return FileTextStatus::kCannotOpen;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) {
        return FileTextStatus::kCannotOpen;
    }
    std::size_t hint = 0;
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto limit = static_cast<std::size_t>(CXmlString::GetCapacityLimit());
        hint = static_cast<std::size_t>(info.st_size) < limit
                   ? static_cast<std::size_t>(info.st_size)
                   : limit;
    }
    if (hint > 0 && hint == static_cast<std::size_t>(info.st_size)) {
        if (const std::optional<FileTextStatus> status = ReadWholeFile(file.get(), hint, text)) {
            return *status;
        }
    }
    // Other files, and a file that grew since its size was taken.
    return ReadInChunks(file.get(), hint, text);
}

FileTextStatus BytesToFileText(const char* bytes, std::size_t size, CXmlString& text) {
    text.Clear();
    if (size > static_cast<std::size_t>(PTRDIFF_MAX) - 1) {
        return FileTextStatus::kTooLarge; // no block of memory is that large
    }
    char* block = static_cast<char*>(AllocateLargeBlock(size + 1));
    if (!block) {
        return FileTextStatus::kTooLarge;
    }
    if (size > 0) {
        std::memcpy(block, bytes, size);
    }
    if (!TranslateBlockInto(block, size, size + 1, text)) {
        text.Clear();
        return FileTextStatus::kTooLarge;
    }
    return FileTextStatus::kOk;
}
