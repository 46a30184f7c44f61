#include "core/LogFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#define DUV_WIDE_DAMAGE_SCAN 1
#include <immintrin.h>
#endif

#include "core/AppInfo.h"
#include "core/Clock.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LineReader.h"
#include "core/OpenFiles.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"

namespace DUVMain {
namespace {

constexpr int LogFileNumber = 1;

// The length of the log as the 32-bit count the statistics hold.
std::int32_t LogFileLength(const std::string& path) {
    std::int64_t length = FileLengthOf(path);
    if (length < 0)
        runtime::Raise(runtime::kErrFileNotFound);
    if (length > std::numeric_limits<std::int32_t>::max())
        runtime::Raise(runtime::kErrOverflow);
    return static_cast<std::int32_t>(length);
}

// A whole number of a fixed field: its leading number, rounded half to even. A number no
// whole number holds ("9e99") is no number: 0, which leaves the line undated.
long long FieldNumber(std::string_view line, std::size_t start, std::size_t length) {
    if (start >= line.size())
        return 0;
    double value = runtime::Val(line.substr(start, length));
    if (!(std::fabs(value) < 2147483647.5))
        return 0;
    return static_cast<long long>(runtime::CLng(value));
}

// The usual stamp, its three fields all digits: read in place, as FieldNumber reads them.
bool PlainStamp(std::string_view line, long long& month, long long& day, long long& year) {
    if (line.size() < LogLineDateLength)
        return false;
    int v[8];
    static constexpr int kAt[8] = {0, 1, 3, 4, 6, 7, 8, 9};
    for (int i = 0; i < 8; ++i) {
        v[i] = static_cast<unsigned char>(line[static_cast<std::size_t>(kAt[i])]) - '0';
        if (v[i] < 0 || v[i] > 9)
            return false;
    }
    month = v[0] * 10 + v[1];
    day = v[2] * 10 + v[3];
    year = ((v[4] * 10 + v[5]) * 10 + v[6]) * 10 + v[7];
    return true;
}

bool IsDamaged(unsigned char byte) {
    return (byte < 32 && byte != 9 && byte != 10 && byte != 13) || byte > 126;
}

#ifdef __SSE2__
// Where 16 bytes are printable (32 to 126), a tab, a line feed or a carriage return.
__m128i Undamaged(const unsigned char* bytes) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    // 32 to 126 moved to -128 to -34 as signed bytes (by adding 96), all else above.
    const __m128i printable =
        _mm_cmplt_epi8(_mm_add_epi8(b, _mm_set1_epi8(96)), _mm_set1_epi8(-33));
    // Tab (9) and carriage return (13) are the bytes that setting bit 2 makes 13.
    const __m128i tabOrCr = _mm_cmpeq_epi8(_mm_or_si128(b, _mm_set1_epi8(4)), _mm_set1_epi8(13));
    const __m128i lineFeed = _mm_cmpeq_epi8(b, _mm_set1_epi8(10));
    return _mm_or_si128(printable, _mm_or_si128(tabOrCr, lineFeed));
}

bool AllUndamaged(__m128i good) { return _mm_movemask_epi8(good) == 0xFFFF; }
#endif

#ifdef DUV_WIDE_DAMAGE_SCAN
// The number of bytes of block[0, n) before the first 64 that hold a damaged byte. Printable
// as in Undamaged; tab, line feed and carriage return are the bytes that the table of their
// low half gives back.
__attribute__((target("avx2"))) std::size_t UndamagedWide(const unsigned char* block,
                                                          std::size_t n) {
    const __m256i table = _mm256_setr_epi8(
        -128, -128, -128, -128, -128, -128, -128, -128, -128, 9, 10, -128, -128, 13, -128, -128,
        -128, -128, -128, -128, -128, -128, -128, -128, -128, 9, 10, -128, -128, 13, -128, -128);
    const __m256i shift = _mm256_set1_epi8(96), limit = _mm256_set1_epi8(-33);
    std::size_t i = 0;
    for (; n - i >= 64; i += 64) {
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + i));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + i + 32));
        const __m256i good0 =
            _mm256_or_si256(_mm256_cmpgt_epi8(limit, _mm256_add_epi8(b0, shift)),
                            _mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, b0), b0));
        const __m256i good1 =
            _mm256_or_si256(_mm256_cmpgt_epi8(limit, _mm256_add_epi8(b1, shift)),
                            _mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, b1), b1));
        if (_mm256_movemask_epi8(_mm256_and_si256(good0, good1)) != -1)
            break;
    }
    return i;
}

const bool wideDamageScan = __builtin_cpu_supports("avx2");
#endif

// The index of the first damaged byte of block[0, n), or n when there is none.
std::size_t FirstDamaged(const unsigned char* block, std::size_t n) {
    std::size_t i = 0;
#ifdef DUV_WIDE_DAMAGE_SCAN
    if (wideDamageScan)
        i = UndamagedWide(block, n);
#endif
#ifdef __SSE2__
    // 64 bytes at a time while all are good, then 16 at a time to the damaged ones.
    for (; n - i >= 64; i += 64) {
        const __m128i good =
            _mm_and_si128(_mm_and_si128(Undamaged(block + i), Undamaged(block + i + 16)),
                          _mm_and_si128(Undamaged(block + i + 32), Undamaged(block + i + 48)));
        if (!AllUndamaged(good))
            break;
    }
    for (; n - i >= 16; i += 16) {
        if (!AllUndamaged(Undamaged(block + i)))
            break;
    }
#endif
    for (; i < n; ++i) {
        if (IsDamaged(block[i]))
            return i;
    }
    return n;
}

// The statistics of a log's lines, gathered one line at a time.
class LineStats {
public:
    void Add(std::string_view line) {
        if (line.empty())
            return;
        if (firstDate_ < 1)
            firstDate_ = GetLogLineDate(line);
        ++lines_;
        // The last non-empty line's date stamp (a line's date lies in its first characters).
        if (line.size() >= LogLineDateLength) {
            std::memcpy(lastStamp_, line.data(), LogLineDateLength);
            lastStampLength_ = LogLineDateLength;
        } else {
            std::memcpy(lastStamp_, line.data(), line.size());
            lastStampLength_ = line.size();
        }
    }
    std::uint64_t Lines() const { return lines_; }
    double FirstDate() const { return firstDate_; }
    double LastDate() const {
        return lines_ ? GetLogLineDate(std::string_view(lastStamp_, lastStampLength_)) : 0;
    }

private:
    std::uint64_t lines_ = 0;
    double firstDate_ = 0;
    char lastStamp_[LogLineDateLength] = {};
    std::size_t lastStampLength_ = 0;
};

// The statistics the damaged-byte check gathered on its way through a whole, undamaged log,
// kept for the next GetLogStats of the same, unchanged file.
struct CheckedLog {
    std::string path;
    FileState state;
    LineStats stats;
};
std::optional<CheckedLog> lastChecked;

std::string Digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

}  // namespace

double GetLogLineDate(std::string_view line) {
    long long month = 0, day = 0, year = 0;
    if (!PlainStamp(line, month, day, year)) {
        month = FieldNumber(line, 0, 2);
        day = FieldNumber(line, 3, 2);
        year = FieldNumber(line, 6, 4);
    }
    if (month * day * year < 1)
        return 0;
    try {
        return runtime::DateSerial(static_cast<int>(year), static_cast<int>(month),
                                   static_cast<int>(day));
    } catch (const runtime::RuntimeError&) {
        // A stamp that carries outside the calendar is no date: the line is undated.
        return 0;
    }
}

bool CheckCorruption(bool showProgress) {
    runtime::SetContext("DUVMain", "CheckCorruption");
    Hourglass hourglass;
    LetEventsRun();

    lastChecked.reset();
    const FileState before = FileStateOf(LogFilePath);
    runtime::Step("Log Length", [] { LogLength = LogFileLength(LogFilePath); });
    LogEmpty = LogLength < 1;
    if (LogLength < 1)
        return false;

    std::int32_t step = 0;
    runtime::Step("Progress Step", [&] { step = runtime::CLng(LogLength / 100.0); });

    CloseAllFiles();
    std::optional<NumberedFile> file;
    if (!runtime::Step("Open Log",
                       [&] { file.emplace(LogFileNumber, LogFilePath, NumberedFile::Mode::Read); }))
        return false;

    runtime::SetStep("Read Log");
    const std::int64_t length = LogLength;
    // Progress at every multiple of step, counting positions from 1.
    std::int64_t nextProgress = showProgress && step > 0 ? step : -1;
    bool damaged = false;
    LineReader reader;
    reader.Attach(file->Stream(), static_cast<std::uint64_t>(length));
    reader.StopAt(static_cast<std::uint64_t>(length));
    // Every block is scanned as it is read, in pieces that end at the progress positions.
    reader.WatchBlocks([&](const char* bytes, std::size_t got, std::uint64_t at) {
        const auto* block = reinterpret_cast<const unsigned char*>(bytes);
        const auto position = static_cast<std::int64_t>(at);
        for (std::size_t done = 0; done < got;) {
            std::size_t upTo = got;
            if (nextProgress > 0 && nextProgress - position <= static_cast<std::int64_t>(got))
                upTo = static_cast<std::size_t>(nextProgress - position);
            if (FirstDamaged(block + done, upTo - done) != upTo - done) {
                damaged = true;
                return false;
            }
            done = upTo;
            if (position + static_cast<std::int64_t>(done) == nextProgress) {
                int percent = runtime::CInt(static_cast<double>(nextProgress) / length * 100);
                ShowStepOnSplash("Please Wait .....Loading " + runtime::Str(percent) + "%");
                nextProgress += step;
            }
        }
        return true;
    });
    // The statistics come along: GetLogStats takes them while the file stays as it is.
    // A date stamp the statistics cannot read is left for GetLogStats to raise where it
    // always has: the check then keeps nothing.
    CheckedLog checked{LogFilePath, before, {}};
    bool statsKept = true;
    std::string_view line;
    try {
        while (!damaged && reader.Next(line))
            checked.stats.Add(line);
    } catch (const runtime::RuntimeError&) {
        statsKept = false;
        while (!damaged && reader.Next(line)) {
        }
    }
    if (damaged)
        return true;
    const bool readFailed = std::ferror(file->Stream()) != 0;
    runtime::Guard([&] {
        if (readFailed)
            runtime::Raise(runtime::kErrDeviceIO);
    });
    runtime::Step("Close Log", [&] { file->Close(); });
    if (showProgress)
        ShowOnSplash("Please Wait .....Loading 100%");
    if (statsKept && !readFailed && reader.Offset() == static_cast<std::uint64_t>(length) &&
        before.length == length && FileStateOf(LogFilePath) == before)
        lastChecked = std::move(checked);
    return false;
}

void GetLogStats(bool keepHourglass) {
    runtime::SetContext("DUVMain", "GetLogStats");
    Hourglass hourglass(keepHourglass);
    LetEventsRun();

    // What the last check gathered holds only for this one call and an unchanged file.
    std::optional<CheckedLog> checked = std::move(lastChecked);
    lastChecked.reset();

    LogLineCount = 0;
    FirstEntryDate = 0;
    LastEntryDate = 0;
    LogEmpty = false;

    runtime::Step("Log Length", [] { LogLength = LogFileLength(LogFilePath); });
    LogTooBig =
        static_cast<std::int64_t>(LogLength) >= static_cast<std::int64_t>(MaxLogSize) * 1024;
    if (LogLength < 1) {
        LogEmpty = true;
        LogInvalid = false;
        return;
    }

    std::optional<NumberedFile> file;
    if (runtime::Step("Open Log", [&] {
            file.emplace(LogFileNumber, LogFilePath, NumberedFile::Mode::Read);
        })) {
        runtime::SetStep("Read Log");
        LineStats stats;
        if (checked && checked->path == LogFilePath && checked->state.length == LogLength &&
            FileStateOf(LogFilePath) == checked->state) {
            stats = checked->stats;
        } else {
            LineReader reader;
            reader.Attach(file->Stream(), static_cast<std::uint64_t>(LogLength));
            std::string_view line;
            while (reader.Next(line))
                stats.Add(line);
            runtime::Guard([&] {
                if (std::ferror(file->Stream()))
                    runtime::Raise(runtime::kErrDeviceIO);
            });
        }
        // The first date is taken as it is read: a read cut short by an error keeps it.
        FirstEntryDate = stats.FirstDate();
        LogLineCount = static_cast<float>(stats.Lines());
        LastEntryDate = stats.LastDate();
        runtime::Step("Close Log", [&] { file->Close(); });
    }
    LogInvalid = !(FirstEntryDate != 0 && LastEntryDate != 0);
}

std::string NewModemLogLine(double now) {
    return Digits(runtime::Month(now), 2) + "-" + Digits(runtime::Day(now), 2) + "-" +
           Digits(runtime::Year(now), 4) + " " + Digits(runtime::Hour(now), 2) + ":" +
           Digits(runtime::Minute(now), 2) + ":" + Digits(runtime::Second(now), 2) +
           ".00 - New modem log file created by DUV (Duvelo) v" + std::to_string(AppInfo::Major) +
           "." + std::to_string(AppInfo::Minor);
}

bool CreateModemLog(const std::string& path) {
    std::optional<NumberedFile> file;
    if (!runtime::Guard([&] { file.emplace(LogFileNumber, path, NumberedFile::Mode::Write); }))
        return false;
    std::string line = NewModemLogLine(clock_seam::Now()) + "\r\n";
    const bool written = runtime::Guard([&] { file->Write(line); });
    const bool closed = runtime::Guard([&] { file->Close(); });
    return written && closed;
}

}  // namespace DUVMain
