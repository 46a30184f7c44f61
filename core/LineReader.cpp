#include "core/LineReader.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
// Processors with AVX2 look at 64 bytes in four instructions a half.
#if defined(__x86_64__) && defined(__GNUC__)
#define DUV_WIDE_LINE_ENDS 1
#include <immintrin.h>
#endif

FileState FileStateOf(const std::string& path) {
    FileState state;
#ifdef _WIN32
    struct _stati64 st;
    if (_stati64(path.c_str(), &st) != 0 || (st.st_mode & _S_IFDIR))
        return state;
    state.modified = static_cast<std::int64_t>(st.st_mtime);
#else
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return state;
    state.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    state.length = static_cast<std::int64_t>(st.st_size);
    return state;
}

std::int64_t FileLengthOf(const std::string& path) { return FileStateOf(path).length; }

LineReader::LineReader(std::string_view text)
    : memory_(true),
      blockSize_(0),
      data_(text.data()),
      end_(text.size()),
      length_(text.size()),
      eof_(true) {}

LineReader::LineReader(std::size_t blockSize) : blockSize_(blockSize < 4 ? 4 : blockSize) {}

LineReader::~LineReader() { Close(); }

bool LineReader::Open(const std::string& path) {
    Close();
    memory_ = false;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_)
        return false;
    ownsFile_ = true;
    std::int64_t len = FileLengthOf(path);
    length_ = len < 0 ? 0 : static_cast<std::uint64_t>(len);
    Reset();
    return true;
}

void LineReader::Attach(std::FILE* file, std::uint64_t length) {
    Close();
    memory_ = false;
    file_ = file;
    ownsFile_ = false;
    length_ = length;
    Reset();
}

void LineReader::Reset() {
    if (!owned_ || capacity_ < blockSize_) {
        owned_ = std::make_unique_for_overwrite<char[]>(blockSize_);
        capacity_ = blockSize_;
    }
    data_ = owned_.get();
    begin_ = end_ = scanned_ = 0;
    DropAhead();
    base_ = lineStart_ = 0;
    eof_ = file_ == nullptr;
}

void LineReader::Close() {
    if (file_ && ownsFile_)
        std::fclose(file_);
    file_ = nullptr;
    ownsFile_ = false;
}

// Keeps the unread bytes, moves them to the front (growing the buffer when a single line
// fills it) and appends the next block. False when nothing more could be read. Called only
// with nothing found ahead.
bool LineReader::Refill() {
    if (eof_ || !file_)
        return false;
    std::size_t keep = end_ - begin_;
    if (keep == capacity_) {
        std::size_t grown = capacity_ * 2;
        auto bigger = std::make_unique_for_overwrite<char[]>(grown);
        std::memcpy(bigger.get(), owned_.get() + begin_, keep);
        owned_ = std::move(bigger);
        capacity_ = grown;
    } else if (begin_ > 0 && keep > 0) {
        std::memmove(owned_.get(), owned_.get() + begin_, keep);
    }
    base_ += begin_;
    scanned_ -= begin_;
    begin_ = 0;
    end_ = keep;
    data_ = owned_.get();
    std::size_t room = capacity_ - end_;
    const std::uint64_t at = base_ + end_;
    if (at >= stopAt_)
        room = 0;
    else if (stopAt_ - at < room)
        room = static_cast<std::size_t>(stopAt_ - at);
    std::size_t got = room ? std::fread(owned_.get() + end_, 1, room, file_) : 0;
    if (got == 0) {
        eof_ = true;
        return false;
    }
    if (watch_ && !watch_(owned_.get() + end_, got, at))
        eof_ = true;
    end_ += got;
    return true;
}

namespace {

#ifdef DUV_WIDE_LINE_ENDS
// The whole 64-byte words of FindLineEnds. A byte is a line end where the table of its low
// half gives it back: 10 and 13 give themselves, all other entries no byte below 128, and
// bytes from 128 on look up 0.
__attribute__((target("avx2"))) std::size_t FindLineEndsWide(const char* bytes, std::size_t n,
                                                             std::uint64_t* bits) {
    const __m256i table = _mm256_setr_epi8(
        -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 10, -128, -128, 13, -128, -128,
        -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, 10, -128, -128, 13, -128, -128);
    for (; n >= 64; n -= 64, bytes += 64) {
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 32));
        const auto ends0 = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, b0), b0)));
        const auto ends1 = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, b1), b1)));
        *bits++ = ends0 | static_cast<std::uint64_t>(ends1) << 32;
    }
    return n;
}

const bool wideLineEnds = __builtin_cpu_supports("avx2");
#endif

// Sets bit i of bits[i / 64] where bytes[i] is a carriage return or a line feed.
void FindLineEnds(const char* bytes, std::size_t n, std::uint64_t* bits) {
#ifdef DUV_WIDE_LINE_ENDS
    if (wideLineEnds) {
        const std::size_t done = (n - FindLineEndsWide(bytes, n, bits)) / 64;
        bytes += 64 * done;
        bits += done;
        n -= 64 * done;
    }
#endif
#ifdef __SSE2__
    for (; n >= 64; n -= 64, bytes += 64) {
        const auto bits16 = [bytes](int at) {
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
            const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r')),
                                              _mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(ends)));
        };
        *bits++ = bits16(0) | bits16(16) << 16 | bits16(32) << 32 | bits16(48) << 48;
    }
#endif
    for (; n > 0; bytes += 64) {
        const std::size_t count = std::min<std::size_t>(n, 64);
        std::uint64_t word = 0;
        for (std::size_t i = 0; i < count; ++i)
            word |= std::uint64_t{bytes[i] == '\r' || bytes[i] == '\n'} << i;
        *bits++ = word;
        n -= count;
    }
}

}  // namespace

// Looks for line ends in the next bytes read but not yet looked at.
inline void LineReader::ScanAhead() {
    const std::size_t n = std::min(end_ - scanned_, 64 * kAheadWords);
    FindLineEnds(data_ + scanned_, n, ahead_);
    wordAt_ = scanned_;
    aheadWords_ = (n + 63) / 64;
    word_ = 0;
    ends_ = ahead_[0];
    scanned_ += n;
}

void LineReader::DropAhead() {
    aheadWords_ = word_ = 0;
    ends_ = 0;
}

bool LineReader::NextSlow(std::string_view& line) {
    for (;;) {
        while (ends_ == 0) {
            if (NextWord()) {
                continue;
            } else if (scanned_ < end_) {
                ScanAhead();
            } else if (eof_ || !Refill()) {
                // The input ended: what is left is a last line without an ending.
                if (begin_ == end_)
                    return false;
                lineStart_ = base_ + begin_;
                line = std::string_view(data_ + begin_, end_ - begin_);
                begin_ = end_;
                return true;
            }
        }
        const std::size_t at = wordAt_ + static_cast<std::size_t>(std::countr_zero(ends_));
        ends_ &= ends_ - 1;
        if (at < begin_)
            continue;  // the line feed of a CR LF
        if (at + 1 < end_ || eof_) {
            TakeLine(at, line);
            return true;
        }
        // A line end in the last byte read (a CR whose LF may lie in the next block) is looked
        // at again with the next block.
        DropAhead();
        scanned_ = at;
        Refill();
    }
}
