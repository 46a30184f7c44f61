#pragma once
// The one line reader of the program. A line ends at a carriage return, at a carriage return
// followed by a line feed, or at a lone line feed. A last line without an ending still counts;
// no empty line follows a final line ending. The input ends where no more bytes can be read,
// also when a file became shorter than it was when it was opened.
//
// Files are read in large blocks and the lines are handed out as views into the block buffer:
// a view stays valid until the next call of Next().

#include <bit>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class LineReader {
public:
    // Large enough that a read costs little per byte, small enough to stay in the processor's
    // cache between the copy and the scan.
    static constexpr std::size_t DefaultBlockSize = 128u << 10;

    // Reads lines from memory (the text must outlive the reader).
    explicit LineReader(std::string_view text);
    // Reads lines from a file opened by Open().
    explicit LineReader(std::size_t blockSize = DefaultBlockSize);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens a file for reading as raw bytes; false when it cannot be opened.
    bool Open(const std::string& path);
    // Reads from a stream opened elsewhere, from its current position; the reader does not
    // close it. length is the number of bytes expected (for progress).
    void Attach(std::FILE* file, std::uint64_t length);
    void Close();
    bool IsOpen() const { return file_ != nullptr || memory_; }
    // Reads no byte at or beyond this offset of the file.
    void StopAt(std::uint64_t offset) { stopAt_ = offset; }
    // Called with every block as it is read from the file, with the block's file offset; when
    // it returns false nothing more is read (the lines already read are still handed out).
    using BlockWatch = std::function<bool(const char* block, std::size_t size, std::uint64_t at)>;
    void WatchBlocks(BlockWatch watch) { watch_ = std::move(watch); }

    // The next line without its ending; false at the end of the input.
    bool Next(std::string_view& line) {
        // Without a call in the common case: the line ends in this word or the next one.
        if (ends_ == 0)
            NextWord();
        if (ends_ != 0) {
            const std::size_t at = wordAt_ + static_cast<std::size_t>(std::countr_zero(ends_));
            if (at >= begin_ && at + 1 < end_) {
                ends_ &= ends_ - 1;
                TakeLine(at, line);
                return true;
            }
        }
        return NextSlow(line);
    }

    // Bytes consumed so far, line endings included: the offset where the next line starts.
    std::uint64_t Offset() const { return base_ + begin_; }
    // Offset at which the line last returned by Next() starts.
    std::uint64_t LineStart() const { return lineStart_; }
    // Total length of the input (the file length when it was opened; for progress only).
    std::uint64_t Length() const { return length_; }

private:
    bool Refill();
    void Reset();
    void ScanAhead();
    void DropAhead();
    bool NextSlow(std::string_view& line);
    // Moves to the next word found ahead; false when there is none.
    bool NextWord() {
        if (word_ + 1 >= aheadWords_)
            return false;
        ends_ = ahead_[++word_];
        wordAt_ += 64;
        return true;
    }
    // Hands out the line that ends at data_[at], with the byte after it read (or none left).
    void TakeLine(std::size_t at, std::string_view& line) {
        std::size_t next = at + 1;
        if (data_[at] == '\r' && next < end_ && data_[next] == '\n') {
            // One line end. Its line feed is the next end of the word, or the first of the
            // next word, which is passed over when found.
            ends_ &= ends_ - 1;
            ++next;
        }
        lineStart_ = base_ + begin_;
        line = std::string_view(data_ + begin_, at - begin_);
        begin_ = next;
    }

    // Line ends are found ahead of the lines, up to 2 KB at a time.
    static constexpr std::size_t kAheadWords = 32;

    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    bool memory_ = false;
    std::size_t blockSize_;
    std::unique_ptr<char[]> owned_;
    std::size_t capacity_ = 0;
    const char* data_ = nullptr;
    std::size_t begin_ = 0;   // first unread byte in data_
    std::size_t end_ = 0;     // end of valid bytes in data_
    // Bit i of ahead_[w] marks a CR or LF at data_[wordAt_ + 64 * (w - word_) + i]; bytes
    // before scanned_ have been looked at. ends_ holds the ends of word word_ not handed out.
    std::uint64_t ahead_[kAheadWords];
    std::size_t aheadWords_ = 0;
    std::size_t word_ = 0;
    std::size_t wordAt_ = 0;
    std::uint64_t ends_ = 0;
    std::size_t scanned_ = 0;
    std::uint64_t base_ = 0;  // file offset of data_[0]
    std::uint64_t lineStart_ = 0;
    std::uint64_t length_ = 0;
    std::uint64_t stopAt_ = UINT64_MAX;
    BlockWatch watch_;
    bool eof_ = false;
};

// Length in bytes of a file, or -1 when it does not exist or cannot be read.
std::int64_t FileLengthOf(const std::string& path);

// A file's length and modified time: when both are unchanged, so is the file as far as a
// reader can tell.
struct FileState {
    std::int64_t length = -1;
    std::int64_t modified = 0;  // in the file system's own units
    bool operator==(const FileState&) const = default;
};
FileState FileStateOf(const std::string& path);
