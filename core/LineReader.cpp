#include "core/LineReader.h"

#include <cstring>
#include <sys/stat.h>

#ifdef __SSE2__
#include <emmintrin.h>
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
    begin_ = end_ = 0;
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
// fills it) and appends the next block. False when nothing more could be read.
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

// The first carriage return or line feed in [from, to), or to when there is none.
const char* FindLineEnd(const char* from, const char* to) {
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; to - from >= 16; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const int hits =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (hits)
            return from + __builtin_ctz(static_cast<unsigned>(hits));
    }
#endif
    for (; from < to; ++from) {
        if (*from == '\r' || *from == '\n')
            return from;
    }
    return to;
}

}  // namespace

bool LineReader::Next(std::string_view& line) {
    std::size_t scanned = 0;  // bytes after begin_ known to hold no line end
    for (;;) {
        const char* end = data_ + end_;
        const char* at = FindLineEnd(data_ + begin_ + scanned, end);
        if (at != end) {
            if (*at == '\r' && at + 1 == end && !eof_) {
                // The line feed that may follow lies in the next block.
                scanned = static_cast<std::size_t>(at - data_) - begin_;
                Refill();
                continue;
            }
            lineStart_ = base_ + begin_;
            line =
                std::string_view(data_ + begin_, static_cast<std::size_t>(at - (data_ + begin_)));
            std::size_t next = static_cast<std::size_t>(at - data_) + 1;
            if (*at == '\r' && next < end_ && data_[next] == '\n')
                ++next;
            begin_ = next;
            return true;
        }
        if (!eof_) {
            scanned = end_ - begin_;
            if (Refill() || end_ > begin_ + scanned)
                continue;
        }
        if (begin_ < end_) {
            lineStart_ = base_ + begin_;
            line = std::string_view(data_ + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
        return false;
    }
}
