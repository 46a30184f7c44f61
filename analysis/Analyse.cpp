// The analysis run: reads the log line by line, cuts it into sessions and fills the tables.
#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
// Processors with AVX2 search 32 bytes at a time by nibble tables.
#if defined(__x86_64__) && defined(__GNUC__)
#define DUV_WIDE_KEYWORD_SCAN 1
#include <immintrin.h>
#endif

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/LineReader.h"
#include "core/LogFile.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/Warnings.h"

namespace DUVAnalyse {

// ---- tables and module state ----
std::vector<ConnectionRecord> Connections;
std::vector<ServiceUsageRecord> ServiceUsage;
PenaltyTable Penalties;

bool ContinueRun = false;
int32_t EntryCount = 0;
int32_t ProgressChunk = 0;
std::string CurrentLine;
Date LineDate = 0;
Date LineTime = 0;
Date SessionConnectDate = 0;
Date SessionConnectTime = 0;
Date SessionDisconnectDate = 0;
Date SessionDisconnectTime = 0;
bool Connected = false;
bool Answered = false;
bool Dialled = false;
int32_t CurrentUsageRow = 0;
int32_t LastUsageRow = 0;
int32_t UsageCount = 0;
int32_t ConnIndex = 0;
bool ServicesOverflow = false;
bool ConnectionsOverflow = false;
bool ErrorsFound = false;
bool TariffIncomplete = false;
bool ShowBlocks = false;
int32_t SessionSeconds = 0;
double SessionDialCost = 0;
double SessionServiceCost = 0;
double SessionDataCost = 0;
int32_t BlockMinutes = 0;
int32_t BlockCount = 0;
std::string ReportText;
bool WideKeywordScan = true;

// Every table and value of a run back to its state at program start, with the report and the
// warnings built from them; the seams (Window, Pricing, ReportWindowCalls) stay installed.
void ResetState() {
    Connections = {};
    ServiceUsage = {};
    Penalties = {};
    ContinueRun = {};
    EntryCount = {};
    ProgressChunk = {};
    CurrentLine = {};
    LineDate = {};
    LineTime = {};
    SessionConnectDate = {};
    SessionConnectTime = {};
    SessionDisconnectDate = {};
    SessionDisconnectTime = {};
    Connected = {};
    Answered = {};
    Dialled = {};
    CurrentUsageRow = {};
    LastUsageRow = {};
    UsageCount = {};
    ConnIndex = {};
    ServicesOverflow = {};
    ConnectionsOverflow = {};
    ErrorsFound = {};
    TariffIncomplete = {};
    ShowBlocks = {};
    SessionSeconds = {};
    SessionDialCost = {};
    SessionServiceCost = {};
    SessionDataCost = {};
    BlockMinutes = {};
    BlockCount = {};
    ReportText = {};
    ReportDays = 0;
    Report = {};
    WarningLines.clear();
}

// ---- the period usage table ----
void PenaltyTable::Create(int32_t maxService, int32_t expectedPeriods) {
    periods_ = InitialPeriods;
    expectedPeriods_ = expectedPeriods;
    // Columns kept from before keep their room.
    columns_.resize(static_cast<std::size_t>(std::max<int32_t>(maxService, 0)) + 1);
    for (std::vector<PenaltyRecord>& column : columns_)
        column.clear();
}

PenaltyRecord& PenaltyTable::operator()(int32_t period, int32_t service) {
    if (period < 0 || service < 0 || service >= ServiceCount())
        runtime::Raise(runtime::kErrSubscript);
    periods_ = std::max(periods_, period + 1);
    std::vector<PenaltyRecord>& column = columns_[static_cast<std::size_t>(service)];
    const auto row = static_cast<std::size_t>(period);
    if (row >= column.size()) {
        // Room for the periods expected, up to 65,536 (1 MB).
        if (column.capacity() == 0)
            column.reserve(static_cast<std::size_t>(
                std::clamp(expectedPeriods_, InitialPeriods, int32_t{1} << 16)));
        column.resize(row + 1);
    }
    return column[row];
}

const PenaltyRecord& PenaltyTable::At(int32_t period, int32_t service) const {
    static const PenaltyRecord empty{};
    if (period < 0 || service < 0 || service >= ServiceCount())
        runtime::Raise(runtime::kErrSubscript);
    const std::vector<PenaltyRecord>& column = columns_[static_cast<std::size_t>(service)];
    const auto row = static_cast<std::size_t>(period);
    return row < column.size() ? column[row] : empty;
}

// ---- seams ----
RunWindow DefaultRunWindow() {
    RunWindow w;
    w.WarnMaxServices = [] { DUVMain::WarnMaxServices(); };
    w.WarnMaxConnections = [] { DUVMain::WarnMaxConnections(); };
    w.WarnTariffsIncomplete = [] { DUVMain::WarnTariffsIncomplete(); };
    return w;
}
RunWindow Window = DefaultRunWindow();

PricingCalls DefaultPricing() {
    PricingCalls p;
    p.GetDialupCost = [](const std::string& number, Date cd, Date ct, Date dd, Date dt,
                         int32_t connIndex) {
        return GetDialupCost(number, cd, ct, dd, dt, connIndex);
    };
    p.GetServiceCost = [](const std::string& number, int32_t seconds, Date date) {
        return GetServiceCost(number, seconds, date);
    };
    p.GetDataCost = [](const std::string& number, double bytes, Date date) {
        return GetDataCost(number, bytes, date);
    };
    p.CheckUserWarnings = [] { CheckUserWarnings(); };
    return p;
}
PricingCalls Pricing = DefaultPricing();

namespace {

constexpr int32_t kDaySeconds = 86400;
constexpr int32_t kReadsWindowSeconds = 20;

// The seven keywords of a run. A line holds a keyword when the keyword occurs in the
// upper-cased line; they are looked for in one pass over the line as read, each byte
// upper-cased through a table, so that only lines that hold one need an upper-cased copy.
enum Keyword : unsigned {
    kConnect = 1u << 0,
    kAnswer = 1u << 1,
    kUserDisconnect = 1u << 2,
    kHostDisconnect = 1u << 3,
    kDial = 1u << 4,
    kReads = 1u << 5,
    kWrites = 1u << 6,
    kDisconnect = kUserDisconnect | kHostDisconnect,
};
constexpr int kKeywordCount = 7;

class KeywordFinder {
public:
    // The keywords in the order of the bits above.
    void Set(const std::array<std::string, kKeywordCount>& keywords) {
        words_ = keywords;
        for (int c = 0; c < 256; ++c) {
            const char ch = static_cast<char>(c);
            const std::string u = runtime::UCase(std::string_view(&ch, 1));
            upper_[static_cast<std::size_t>(c)] =
                u.size() == 1 ? static_cast<unsigned char>(u[0]) : static_cast<unsigned char>(c);
        }
        plainAscii_ = true;
        for (unsigned c = 0; c < 128; ++c)
            plainAscii_ = plainAscii_ && upper_[c] == (c >= 'a' && c <= 'z' ? c - 0x20 : c);
        starts_.fill(0);
        pairs_.fill(0);
        everywhere_ = 0;
        shortWord_ = false;
        for (int k = 0; k < kKeywordCount; ++k) {
            const std::string& word = words_[static_cast<std::size_t>(k)];
            if (word.empty()) {
                everywhere_ |= 1u << k;  // an empty text occurs in every line
                continue;
            }
            shortWord_ = shortWord_ || word.size() == 1;
            for (unsigned c0 = 0; c0 < 256; ++c0) {
                if (upper_[c0] != static_cast<unsigned char>(word[0]))
                    continue;
                starts_[c0] |= static_cast<unsigned char>(1u << k);
                for (unsigned c1 = 0; c1 < 256; ++c1) {
                    if (word.size() == 1 || upper_[c1] == static_cast<unsigned char>(word[1]))
                        pairs_[(c0 << 8 | c1) >> 6] |= std::uint64_t{1} << (c1 & 63);
                }
            }
        }
        at_.fill(0);
#ifdef DUV_WIDE_KEYWORD_SCAN
        blocksScanned_ = false;
        pairHits_.clear();
        nextHit_ = 0;
        nextHitAt_ = kNoHit;
        blockEnd_ = 0;
#endif
        SetFilter();
    }

    // Picks, for every keyword, the two neighbouring letters that are fewest in a sample of
    // the text to come, so that the sixteen-byte filter stops seldom where no keyword is.
    void Tune(std::string_view sample) {
        if (shortWord_)
            return;
        // The pairs of the keywords, counted where the sample holds them.
        std::vector<unsigned> folds;
        for (const std::string& word : words_) {
            for (std::size_t j = 0; j + 1 < word.size(); ++j)
                ForEachFold(word, j, [&](unsigned fold) { folds.push_back(fold); });
        }
        std::sort(folds.begin(), folds.end());
        folds.erase(std::unique(folds.begin(), folds.end()), folds.end());
        std::bitset<1u << 16> wanted;
        for (unsigned fold : folds)
            wanted.set(fold);
        std::vector<std::uint32_t> counts(folds.size());
        const auto* p = reinterpret_cast<const unsigned char*>(sample.data());
        for (std::size_t i = 0; i + 1 < sample.size(); ++i) {
            const unsigned fold = static_cast<unsigned>(p[i] | 0x20) << 8 | (p[i + 1] | 0x20);
            if (wanted[fold])
                ++counts[static_cast<std::size_t>(
                    std::lower_bound(folds.begin(), folds.end(), fold) - folds.begin())];
        }
        auto count = [&](unsigned fold) {
            return counts[static_cast<std::size_t>(
                std::lower_bound(folds.begin(), folds.end(), fold) - folds.begin())];
        };
        for (int k = 0; k < kKeywordCount; ++k) {
            const std::string& word = words_[static_cast<std::size_t>(k)];
            std::uint64_t fewest = UINT64_MAX;
            for (std::size_t j = 0; j + 1 < word.size(); ++j) {
                std::uint64_t seen = 0;
                ForEachFold(word, j, [&](unsigned fold) { seen += count(fold); });
                if (seen < fewest) {
                    fewest = seen;
                    at_[static_cast<std::size_t>(k)] = j;
                }
            }
        }
        SetFilter();
        if (!vectorFilter_) {  // too many different pairs: the first two letters of each
            at_.fill(0);
            SetFilter();
        }
    }

    // The keywords the line holds, as bits; start is the line's offset in the file. Only
    // where two bytes begin some keyword, or are the filter's pair of some keyword, are the
    // keywords compared.
    unsigned Find(std::string_view line, [[maybe_unused]] std::uint64_t start) {
#ifdef DUV_WIDE_KEYWORD_SCAN
        // Most lines hold no pair: the next pair lies at or beyond their end.
        if (blocksScanned_ && nextHitAt_ >= start && nextHitAt_ - start >= line.size() - 1)
            return everywhere_;
#endif
        return FindInLine(line, start);
    }

    [[gnu::noinline]] unsigned FindInLine(std::string_view line,
                                          [[maybe_unused]] std::uint64_t start) {
        unsigned found = everywhere_;
        const auto* p = reinterpret_cast<const unsigned char*>(line.data());
        const std::size_t n = line.size();
#ifdef DUV_WIDE_KEYWORD_SCAN
        if (blocksScanned_) {
            // The filter's pairs that lie wholly inside the line, found when its block was read.
            while (nextHit_ < pairHits_.size() && pairHits_[nextHit_] < start)
                ++nextHit_;
            // Those taken here lie before every line to come.
            for (; nextHit_ < pairHits_.size() && pairHits_[nextHit_] + 1 < start + n; ++nextHit_) {
                const auto k = static_cast<std::size_t>(pairHits_[nextHit_] - start);
                found |= MatchesWhereTheyBegin(line, k, KeywordsOfPair(p[k], p[k + 1]) & ~found);
            }
            nextHitAt_ = nextHit_ < pairHits_.size() ? pairHits_[nextHit_] : kNoHit;
            return found;
        }
#endif
        std::size_t i = 0;
#ifdef __SSE2__
        if (vectorFilter_ && n >= 17)
            i = (this->*scan_)(line, found);
#endif
        for (; i + 1 < n; ++i)
            found |= MatchesPair(line, i, found);
        if (n > 0)
            found |= MatchesAt(line, n - 1, starts_[p[n - 1]] & ~found);
        return found;
    }

    const std::string& Word(Keyword k) const {
        return words_[static_cast<std::size_t>(__builtin_ctz(k))];
    }

    // The line upper-cased, as the procedures of a line read it.
    void UpperCase(std::string_view line, std::string& out) const {
        const std::size_t n = line.size();
        out.resize(n);
        const auto* from = reinterpret_cast<const unsigned char*>(line.data());
        const unsigned char* table = upper_.data();
        char* to = out.data();
        std::size_t i = 0;
#ifdef __SSE2__
        // Sixteen bytes at a time while they are ASCII and the table upper-cases ASCII as
        // plain letters: a to z less the case bit.
        if (plainAscii_) {
            const __m128i beforeA = _mm_set1_epi8('a' - 1), afterZ = _mm_set1_epi8('z' + 1);
            const __m128i caseBit = _mm_set1_epi8(0x20);
            auto sixteen = [&](std::size_t at) {
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at));
                if (_mm_movemask_epi8(b))
                    return false;
                const __m128i lower =
                    _mm_and_si128(_mm_cmpgt_epi8(b, beforeA), _mm_cmplt_epi8(b, afterZ));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at),
                                 _mm_sub_epi8(b, _mm_and_si128(lower, caseBit)));
                return true;
            };
            for (; n - i >= 16 && sixteen(i); i += 16) {
            }
            // The rest as the sixteen bytes that end the line.
            if (i < n && n >= 16 && n - i < 16 && sixteen(n - 16))
                i = n;
        }
#endif
        for (; i < n; ++i)
            to[i] = static_cast<char>(table[from[i]]);
    }

private:
    static constexpr std::size_t kFoldedMax = 8;

    // Every two bytes that upper-case to the keyword's letters j and j + 1, with the case bit
    // set, as one number.
    template <class F>
    void ForEachFold(const std::string& word, std::size_t j, F&& f) const {
        std::array<unsigned, 256> firsts{}, seconds{};
        std::size_t nFirsts = 0, nSeconds = 0;
        for (unsigned c = 0; c < 256; ++c) {
            const unsigned folded = c | 0x20;
            if (upper_[c] == static_cast<unsigned char>(word[j]) &&
                std::find(firsts.begin(), firsts.begin() + nFirsts, folded) ==
                    firsts.begin() + nFirsts)
                firsts[nFirsts++] = folded;
            if (upper_[c] == static_cast<unsigned char>(word[j + 1]) &&
                std::find(seconds.begin(), seconds.begin() + nSeconds, folded) ==
                    seconds.begin() + nSeconds)
                seconds[nSeconds++] = folded;
        }
        for (std::size_t a = 0; a < nFirsts; ++a) {
            for (std::size_t b = 0; b < nSeconds; ++b)
                f(firsts[a] << 8 | seconds[b]);
        }
    }

    // The filter's byte pairs: each keyword's letters at at_[k] and the next, folded; the
    // vector filter is off where a keyword is one letter or the pairs are too many.
    void SetFilter() {
        folded_.clear();
        for (int k = 0; k < kKeywordCount; ++k) {
            const std::string& word = words_[static_cast<std::size_t>(k)];
            if (word.size() < 2)
                continue;
            ForEachFold(word, at_[static_cast<std::size_t>(k)], [&](unsigned fold) {
                auto same = std::find_if(folded_.begin(), folded_.end(),
                                         [&](const Fold& f) { return f.pair == fold; });
                if (same == folded_.end())
                    folded_.push_back({fold, 1u << k});
                else
                    same->keywords |= 1u << k;
            });
        }
        vectorFilter_ = !shortWord_ && !folded_.empty() && folded_.size() <= kFoldedMax;
        foldsFirst_.fill(0);
        foldsSecond_.fill(0);
        for (std::size_t v = 0; vectorFilter_ && v < folded_.size(); ++v) {
            foldsFirst_[folded_[v].pair >> 8] |= static_cast<unsigned char>(1u << v);
            foldsSecond_[folded_[v].pair & 0xFF] |= static_cast<unsigned char>(1u << v);
        }
#ifdef __SSE2__
        if (vectorFilter_)
            scan_ = Scans(std::make_index_sequence<kFoldedMax>())[folded_.size() - 1];
        for (std::size_t v = 0; vectorFilter_ && v < folded_.size(); ++v) {
            broadcast_[v][0] = _mm_set1_epi8(static_cast<char>(folded_[v].pair >> 8));
            broadcast_[v][1] = _mm_set1_epi8(static_cast<char>(folded_[v].pair & 0xFF));
        }
#endif
#ifdef DUV_WIDE_KEYWORD_SCAN
        // Pair v's bit in the tables of its two bytes' low and high halves; a byte with or
        // without the case bit (bit 1 of the high half) stands for its folded form.
        for (auto& table : nibbles_)
            table.fill(0);
        for (std::size_t v = 0; vectorFilter_ && v < folded_.size(); ++v) {
            const auto bit = static_cast<unsigned char>(1u << v);
            for (unsigned b = 0; b < 2; ++b) {
                const unsigned byte = b == 0 ? folded_[v].pair >> 8 : folded_[v].pair & 0xFF;
                for (unsigned half = 0; half < 32; half += 16) {
                    nibbles_[2 * b][half + (byte & 0x0F)] |= bit;
                    nibbles_[2 * b + 1][half + (byte >> 4)] |= bit;
                    nibbles_[2 * b + 1][half + ((byte >> 4) & ~2u)] |= bit;
                }
            }
        }
        wide_ = vectorFilter_ && WideKeywordScan && __builtin_cpu_supports("avx2");
#endif
    }

#ifdef DUV_WIDE_KEYWORD_SCAN
public:
    // Where the processor has AVX2 the filter runs over each block of the file as it is
    // read, and Find() takes the pairs it found.
    bool ScansBlocks() const { return wide_; }

    // Notes the offsets of the filter's pairs in a block read at offset at, forgetting those
    // before keepFrom (the lines there were handed out). Thirty-two positions at a time: the
    // tables of each byte's low and high half give the pairs whose first byte it can be,
    // those of the next byte the pairs whose second byte it can be.
    __attribute__((target("avx2"))) void ScanBlock(std::string_view block, std::uint64_t at,
                                                   std::uint64_t keepFrom) {
        pairHits_.erase(pairHits_.begin(),
                        std::lower_bound(pairHits_.begin(), pairHits_.end(), keepFrom));
        nextHit_ = 0;
        nextHitAt_ = pairHits_.empty() ? kNoHit : pairHits_[0];
        blocksScanned_ = true;
        const auto* p = reinterpret_cast<const unsigned char*>(block.data());
        const std::size_t n = block.size();
        if (n == 0)
            return;
        if (at > 0 && at == blockEnd_ && KeywordsOfPair(lastByte_, p[0]))
            pairHits_.push_back(at - 1);  // the pair across the two blocks
        const __m256i lowHalf = _mm256_set1_epi8(0x0F);
        const auto* tables = reinterpret_cast<const __m256i*>(nibbles_.data());
        const __m256i firstLow = tables[0], firstHigh = tables[1];
        const __m256i secondLow = tables[2], secondHigh = tables[3];
        std::size_t k = 0;
        if (n >= 64) {
            // The pairs each byte of a 32-byte step can begin and end, the step after it read
            // ahead for the second byte of the step's last pair.
            __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
            __m256i lo = _mm256_and_si256(bytes, lowHalf);
            __m256i hi = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), lowHalf);
            __m256i first = _mm256_and_si256(_mm256_shuffle_epi8(firstLow, lo),
                                             _mm256_shuffle_epi8(firstHigh, hi));
            __m256i second = _mm256_and_si256(_mm256_shuffle_epi8(secondLow, lo),
                                              _mm256_shuffle_epi8(secondHigh, hi));
            // The steps with hits, up to 256 at a time, are noted (the others overwritten),
            // then taken, so that the steps call nothing and keep the tables in registers.
            std::uint32_t masks[257];
            std::uint64_t offsets[257];
            while (k + 64 <= n) {
                std::size_t noted = 0;
                const std::size_t end = k + 32 * std::min<std::size_t>(256, (n - k - 32) / 32);
                for (; k < end; k += 32) {
                    bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + k + 32));
                    lo = _mm256_and_si256(bytes, lowHalf);
                    hi = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), lowHalf);
                    const __m256i nextFirst = _mm256_and_si256(_mm256_shuffle_epi8(firstLow, lo),
                                                               _mm256_shuffle_epi8(firstHigh, hi));
                    const __m256i nextSecond = _mm256_and_si256(
                        _mm256_shuffle_epi8(secondLow, lo), _mm256_shuffle_epi8(secondHigh, hi));
                    // The second bytes one place on: those of bytes k + 1 to k + 32.
                    const __m256i after = _mm256_alignr_epi8(
                        _mm256_permute2x128_si256(second, nextSecond, 0x21), second, 1);
                    const __m256i pairs = _mm256_and_si256(first, after);
                    masks[noted] = ~static_cast<std::uint32_t>(
                        _mm256_movemask_epi8(_mm256_cmpeq_epi8(pairs, _mm256_setzero_si256())));
                    offsets[noted] = at + k;
                    noted += masks[noted] != 0;
                    first = nextFirst;
                    second = nextSecond;
                }
                for (std::size_t i = 0; i < noted; ++i) {
                    for (std::uint32_t hits = masks[i]; hits; hits &= hits - 1)
                        pairHits_.push_back(offsets[i] +
                                            static_cast<std::uint64_t>(__builtin_ctz(hits)));
                }
            }
        }
        for (; k + 1 < n; ++k) {
            if (KeywordsOfPair(p[k], p[k + 1]))
                pairHits_.push_back(at + k);
        }
        blockEnd_ = at + n;
        lastByte_ = p[n - 1];
        nextHitAt_ = pairHits_.empty() ? kNoHit : pairHits_[0];
    }

private:
    // The tables of the first byte's low and high half, then the second's, each twice (for
    // both halves of a 32-byte register).
    alignas(32) std::array<std::array<unsigned char, 32>, 4> nibbles_{};
    bool wide_ = false;
    bool blocksScanned_ = false;
    std::vector<std::uint64_t> pairHits_;  // file offsets, ascending
    std::size_t nextHit_ = 0;              // the first not inside the lines looked at
    static constexpr std::uint64_t kNoHit = UINT64_MAX;
    std::uint64_t nextHitAt_ = kNoHit;  // its offset, kNoHit when there is none
    std::uint64_t blockEnd_ = 0;        // the offset after the last block scanned
    unsigned char lastByte_ = 0;        // its last byte
#endif
#ifdef __SSE2__
    // Sixteen positions at a time, for count folded pairs: where the byte and the next one,
    // with the case bit set, are a pair of the filter, the keywords of that pair are compared
    // where they would begin. The last positions are taken as the sixteen that end the line,
    // without those already looked at. Returns the first position not looked at.
    template <std::size_t count>
    std::size_t Scan(std::string_view line, unsigned& found) const {
        const auto* p = reinterpret_cast<const unsigned char*>(line.data());
        const std::size_t n = line.size();
        const __m128i caseBit = _mm_set1_epi8(0x20);
        std::size_t i = 0;
        for (; i < n - 1; i += 16) {
            const std::size_t at = std::min(i, n - 17);
            const __m128i b0 =
                _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at)), caseBit);
            const __m128i b1 = _mm_or_si128(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + 1)), caseBit);
            __m128i any = _mm_setzero_si128();
#pragma GCC unroll 8
            for (std::size_t v = 0; v < count; ++v)
                any = _mm_or_si128(any, _mm_and_si128(_mm_cmpeq_epi8(b0, broadcast_[v][0]),
                                                      _mm_cmpeq_epi8(b1, broadcast_[v][1])));
            unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(any)) & (0xFFFFu << (i - at));
            for (; hits; hits &= hits - 1)
                found |= MatchesFilterPair(line, at + static_cast<std::size_t>(__builtin_ctz(hits)),
                                           found);
        }
        return i;
    }
    using ScanFunction = std::size_t (KeywordFinder::*)(std::string_view, unsigned&) const;
    template <std::size_t... counts>
    static constexpr std::array<ScanFunction, sizeof...(counts)> Scans(
        std::index_sequence<counts...>) {
        return {&KeywordFinder::Scan<counts + 1>...};
    }
    ScanFunction scan_ = nullptr;
    __m128i broadcast_[kFoldedMax][2] = {};
#endif
    bool vectorFilter_ = false;
    bool shortWord_ = false;
    bool plainAscii_ = false;  // the table upper-cases ASCII as the plain letters

    // The keywords found (not counting those already found) whose filter pair lies at
    // position pos.
    unsigned MatchesFilterPair(std::string_view line, std::size_t pos, unsigned found) const {
        const auto* p = reinterpret_cast<const unsigned char*>(line.data());
        return MatchesWhereTheyBegin(line, pos, KeywordsOfPair(p[pos], p[pos + 1]) & ~found);
    }

    // The keywords whose filter pair the two bytes are.
    unsigned KeywordsOfPair(unsigned char first, unsigned char second) const {
        unsigned candidates = 0;
        if (vectorFilter_) {
            for (unsigned folds = foldsFirst_[first | 0x20] & foldsSecond_[second | 0x20]; folds;
                 folds &= folds - 1)
                candidates |= folded_[static_cast<std::size_t>(__builtin_ctz(folds))].keywords;
            return candidates;
        }
        const unsigned fold = static_cast<unsigned>(first | 0x20) << 8 | (second | 0x20);
        for (const Fold& f : folded_)
            candidates |= f.pair == fold ? f.keywords : 0;
        return candidates;
    }

    // Those of the candidate keywords that occur where their filter pair would be at pos.
    unsigned MatchesWhereTheyBegin(std::string_view line, std::size_t pos,
                                   unsigned candidates) const {
        unsigned matched = 0;
        for (; candidates; candidates &= candidates - 1) {
            const unsigned k = static_cast<unsigned>(__builtin_ctz(candidates));
            if (pos >= at_[k])
                matched |= MatchesAt(line, pos - at_[k], 1u << k);
        }
        return matched;
    }

    // The keywords found at position at (not counting those already found), where a keyword
    // begins with the two bytes there.
    unsigned MatchesPair(std::string_view line, std::size_t at, unsigned found) const {
        const auto* p = reinterpret_cast<const unsigned char*>(line.data());
        const unsigned pair = static_cast<unsigned>(p[at]) << 8 | p[at + 1];
        if (!(pairs_[pair >> 6] >> (pair & 63) & 1))
            return 0;
        return MatchesAt(line, at, starts_[p[at]] & ~found);
    }

    // Those of the candidate keywords that occur at position at.
    unsigned MatchesAt(std::string_view line, std::size_t at, unsigned candidates) const {
        unsigned matched = 0;
        for (; candidates; candidates &= candidates - 1) {
            const int k = __builtin_ctz(candidates);
            const std::string& word = words_[static_cast<std::size_t>(k)];
            const std::size_t size = word.size();
            if (line.size() - at < size)
                continue;
            // The last letter first: most false starts differ there.
            if (upper_[static_cast<unsigned char>(line[at + size - 1])] !=
                static_cast<unsigned char>(word[size - 1]))
                continue;
            std::size_t j = 0;
            while (j < size - 1 && upper_[static_cast<unsigned char>(line[at + j])] ==
                                       static_cast<unsigned char>(word[j]))
                ++j;
            if (j >= size - 1)
                matched |= 1u << k;
        }
        return matched;
    }

    // A pair of the filter: two bytes with the case bit set, and the keywords it stands for.
    struct Fold {
        unsigned pair = 0;
        unsigned keywords = 0;
    };

    std::array<std::string, kKeywordCount> words_;
    std::array<unsigned char, 256> upper_{};
    std::array<unsigned char, 256> starts_{};      // keywords whose first character a byte gives
    std::array<std::uint64_t, 1024> pairs_{};      // bit b0 * 256 + b1: some keyword starts so
    std::array<std::size_t, kKeywordCount> at_{};  // where in each keyword its filter pair is
    std::vector<Fold> folded_;
    // For each byte with the case bit set, the filter's pairs (as bits of their index in
    // folded_) that it begins and ends; only with the vector filter on.
    std::array<unsigned char, 256> foldsFirst_{};
    std::array<unsigned char, 256> foldsSecond_{};
    unsigned everywhere_ = 0;
};

// What a run keeps apart from the module state: the open log, the keywords as they were
// when the run began, the entry at which progress shows next and the last date read.
struct RunContext {
    LineReader* reader = nullptr;
    KeywordFinder keywords;
    std::string_view line;        // the line being processed, as read
    std::uint64_t lineStart = 0;  // its offset in the file
    int64_t nextProgress = 0;
    char dateKey[DUVMain::LogLineDateLength] = {};
    bool dateKnown = false;
    Date dateValue = 0;
};
RunContext run;

constexpr std::string_view kLogEntryStep = "Log Entry:";

void CaptureRunSettings() {
    run.keywords.Set({DUVMain::ModemConnect, DUVMain::ModemAnswer, DUVMain::ModemUserDisconnect,
                      DUVMain::ModemHostDisconnect, DUVMain::ModemDial, DUVMain::ModemReads,
                      DUVMain::ModemWrites});
    run.dateKnown = false;
    run.nextProgress = ProgressChunk;
}

// The date of a line whose stamp is not the one read last.
[[gnu::noinline]] Date NewDateOfLine(std::string_view line) {
    constexpr std::size_t n = DUVMain::LogLineDateLength;
    Date d = DUVMain::GetLogLineDate(line);
    run.dateKnown = line.size() >= n;
    if (run.dateKnown) {
        std::memcpy(run.dateKey, line.data(), n);
        run.dateValue = d;
    }
    return d;
}

// Whether the line starts with the date stamp read last. Consecutive lines of one day share
// their date stamp, which is read once.
bool SameStamp(std::string_view line) {
    constexpr std::size_t n = DUVMain::LogLineDateLength;
    static_assert(n == 10);
    if (line.size() < n || !run.dateKnown)
        return false;
    // The stamp compared as eight bytes and two.
    std::uint64_t a = 0, b = 0;
    std::uint16_t c = 0, d = 0;
    std::memcpy(&a, run.dateKey, 8);
    std::memcpy(&b, line.data(), 8);
    std::memcpy(&c, run.dateKey + 8, 2);
    std::memcpy(&d, line.data() + 8, 2);
    return a == b && c == d;
}

// Runs one statement of the per-line work under the central error handler; the step name
// is the log entry being processed.
template <class F>
void Statement(F&& f) {
    try {
        f();
        return;
    } catch (const runtime::RuntimeError& e) {
        runtime::SetContext("DUVAnalyse", "Process");
        runtime::SetCountedStep(kLogEntryStep, EntryCount);
        if (!runtime::HandleGuardedError(e))
            return;
    }
    runtime::Guard(f);
}

// One statement of the session start: a failure skips it without a message.
template <class F>
void Quietly(F&& f) {
    try {
        f();
    } catch (const runtime::RuntimeError&) {
    }
}

// The table holds the records up to the highest one a run reached; a record above it is
// made, empty, when first reached, up to MaxConnections.
ConnectionRecord& Conn(int32_t i) {
    if (i < 0 || i > std::max<int32_t>(DUVMain::MaxConnections, 0))
        runtime::Raise(runtime::kErrSubscript);
    const auto index = static_cast<std::size_t>(i);
    if (index == Connections.size())
        Connections.emplace_back();
    else if (index > Connections.size())
        Connections.resize(index + 1);
    return Connections[index];
}

ServiceUsageRecord& Usage(int32_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= ServiceUsage.size())
        runtime::Raise(runtime::kErrSubscript);
    return ServiceUsage[static_cast<std::size_t>(i)];
}

int32_t TimeSeconds(Date time) { return static_cast<int32_t>(RoundHalfAway(time * kDaySeconds)); }

// A 32-bit sum; beyond the range it is the overflow error.
int32_t Add32(int32_t a, int64_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum < INT32_MIN || sum > INT32_MAX)
        runtime::Raise(runtime::kErrOverflow);
    return static_cast<int32_t>(sum);
}

// Room in a session's notes for `more` characters. Beyond the inline buffer the notes take
// the length needed, to the heap's 16-byte step less its 8-byte header, not twice their room.
void RoomInNotes(std::string& notes, std::size_t more) {
    const std::size_t need = notes.size() + more;
    if (need <= notes.capacity())
        return;
    std::string grown(((need + 8) | 15) - 8, '\0');
    grown.assign(notes);
    notes = std::move(grown);
}

// Appends the parts of a note to a session's notes.
void AppendNote(std::string& notes, std::initializer_list<std::string_view> parts) {
    std::size_t more = 0;
    for (std::string_view part : parts)
        more += part.size();
    RoomInNotes(notes, more);
    Append(notes, parts);
}

// Appends a note of a byte count: the prefix, the count in whole kilobytes and "K".
void AppendKiloBytesNote(std::string& notes, std::string_view prefix, int32_t bytes) {
    std::string kilo;
    AppendKiloBytes(kilo, bytes);
    AppendNote(notes, {prefix, kilo, "K"});
}

void RestoreProcessContext() { runtime::SetContext("DUVAnalyse", "Process"); }

// Discards everything gathered so far: the sessions before this point lie wholly before
// the report range.
void ResetTables() {
    ConnIndex = 0;
    ClearSessionVars();
    ClearAnalysisArrays();
    UsageCount = 0;
    ErrorsFound = false;
    LastUsageRow = 0;
    Penalties.Create(DUVMain::MaxServices);
}

// The periods a service can count in the report range, at the shortest period any service
// counts by (sessions still open at its end included); a hint only, 0 when a date of the
// range cannot be counted.
int32_t PeriodsOfTheRange() {
    int32_t periods = 0;
    const Date last = DUVMain::ReportEndDate + std::max<int32_t>(DUVMain::MaxConnectDays, 0);
    try {
        for (int32_t i = 0; i <= DUVMain::Services.UBound() && i < DUVMain::UsedServices; ++i) {
            const ServiceRecord& service = DUVMain::Services[i];
            for (const std::string* kind : {&service.PenaltyPeriod, &service.MegPeriod})
                periods = std::max(periods, GetPeriodIndex(last, *kind) + 1);
        }
    } catch (const runtime::RuntimeError&) {
        return 0;
    }
    return periods;
}

// The seconds of the closing session inside the report range.
int32_t SecondsInRange(Date cd, Date ct, Date dd, Date dt) {
    if (DisconnectBeforeConnect(cd, ct, dd, dt))
        return 0;
    if (cd == dd)
        return TimeSeconds(dt) - TimeSeconds(ct);
    int64_t seconds = static_cast<int64_t>(WholeDaysInRange(cd, dd)) * kDaySeconds;
    if (cd >= DUVMain::ReportStartDate)
        seconds += kDaySeconds - TimeSeconds(ct);
    if (dd <= DUVMain::ReportEndDate)
        seconds += TimeSeconds(dt);
    if (seconds < INT32_MIN || seconds > INT32_MAX)
        runtime::Raise(runtime::kErrOverflow);
    return static_cast<int32_t>(seconds);
}

// Steps shared by both closes: charge blocks, the usage row's counts and the block seconds.
void CountBlocks(ConnectionRecord& rec, ServiceUsageRecord& row, const std::string& number) {
    Statement([&] { BlockMinutes = GetBlockMinutes(number); });
    Statement([&] { BlockCount = GetBlockCount(BlockMinutes, SessionSeconds); });
    Statement([&] {
        if (BlockCount > 0) {
            ShowBlocks = true;
            AppendNote(rec.Notes, {" - ", std::to_string(BlockCount), "B x ",
                                   std::to_string(BlockMinutes), "Min -"});
        }
    });
    Statement([&] {
        row.Sessions = Add32(row.Sessions, 1);
        row.Seconds = Add32(row.Seconds, SessionSeconds);
        row.Blocks = Add32(row.Blocks, BlockCount);
    });
    Statement([&] {
        if (BlockMinutes > 0) {
            const int64_t seconds = static_cast<int64_t>(BlockMinutes) * 60 * BlockCount;
            SessionSeconds = Add32(0, seconds);
        }
    });
}

// Chargeable seconds never go below 0 (free seconds come from the times of day, the
// session's seconds from the part inside the report range).
int32_t ChargeableSeconds(const ConnectionRecord& rec) {
    return std::max<int32_t>(SessionSeconds - rec.FreeSeconds, 0);
}

// The open session's connection record and usage row; when the tables cannot give them the
// session is dropped.
bool OpenSessionRecords(ConnectionRecord*& rec, ServiceUsageRecord*& row) {
    Statement([&] {
        rec = &Conn(ConnIndex);
        row = &Usage(CurrentUsageRow);
    });
    if (!rec || !row) {
        ClearSessionVars();
        return false;
    }
    return true;
}

// A disconnect line while connected.
void NormalClose() {
    Statement([&] { GetLineTime(); });
    SessionDisconnectDate = LineDate;
    SessionDisconnectTime = LineTime;
    if (SessionDisconnectDate < DUVMain::ReportStartDate) {
        ResetTables();
        return;
    }
    ConnectionRecord* recp = nullptr;
    ServiceUsageRecord* rowp = nullptr;
    if (!OpenSessionRecords(recp, rowp)) {
        return;
    }
    ConnectionRecord& rec = *recp;
    ServiceUsageRecord& row = *rowp;
    const std::string number = row.Number;
    const ServiceLookupScope lookup(number);  // the session's service, looked up once
    rec.DisconnectDate = SessionDisconnectDate;
    rec.DisconnectTime = SessionDisconnectTime;
    Statement([&] {
        SessionSeconds = SecondsInRange(rec.ConnectDate, rec.ConnectTime, rec.DisconnectDate,
                                        rec.DisconnectTime);
    });
    // A session stamped backwards has no length, so no free time either.
    Statement([&] {
        rec.FreeSeconds = DisconnectBeforeConnect(rec.ConnectDate, rec.ConnectTime,
                                                  rec.DisconnectDate, rec.DisconnectTime)
                              ? 0
                              : GetFreeSeconds(number, rec.ConnectTime, rec.DisconnectTime);
        if (rec.FreeSeconds > 0)
            AppendNote(rec.Notes,
                       {" - Free:", GeneralFunctions::FormatTime(rec.FreeSeconds, false)});
        row.FreeSeconds = Add32(row.FreeSeconds, rec.FreeSeconds);
    });
    Statement([&] {
        const double cost = Pricing.GetDialupCost
                                ? Pricing.GetDialupCost(number, rec.ConnectDate, rec.ConnectTime,
                                                        rec.DisconnectDate, rec.DisconnectTime, 0)
                                : 0.0;
        RestoreProcessContext();
        SessionDialCost = std::fabs(cost);
        if (std::signbit(cost)) {
            TariffIncomplete = true;
            rec.Notes = " ERROR - Incomplete Tariff -";
        }
    });
    CountBlocks(rec, row, number);
    Statement([&] {
        SessionServiceCost =
            Pricing.GetServiceCost
                ? Pricing.GetServiceCost(number, ChargeableSeconds(rec), rec.ConnectDate)
                : 0.0;
        RestoreProcessContext();
    });
    row.TotalCost += SessionDialCost + SessionServiceCost;
    row.DialCost += SessionDialCost;
    row.ServiceCost += SessionServiceCost;
    ClearSessionVars();
}

// A session that got no disconnect entry: closed with the assumed duration and data, each
// multiplied by 1 when errors are shown and by 0 when not. Returns true when the line form
// found the session before the report start and reset the tables.
void ErrorClose(bool lineForm) {
    const double f = DUVMain::ShowErrors ? 1.0 : 0.0;
    ConnectionRecord* recp = nullptr;
    ServiceUsageRecord* rowp = nullptr;
    if (!OpenSessionRecords(recp, rowp)) {
        return;
    }
    ConnectionRecord& rec = *recp;
    ServiceUsageRecord& row = *rowp;
    const std::string number = row.Number;
    const ServiceLookupScope lookup(number);  // the session's service, looked up once
    Statement([&] {
        rec.Notes = " ERROR - No Disconnect Entry -";
        rec.BytesRead = runtime::CLng(DUVMain::NoDisconData * f * 1024);
        if (rec.BytesRead > 0)
            AppendKiloBytesNote(rec.Notes, " R:", rec.BytesRead);
    });
    Statement([&] {
        const int32_t c = TimeSeconds(rec.ConnectTime);
        const double r = kDaySeconds - c;
        const double assumed = DUVMain::NoDisconDuration * f;
        if (r > assumed) {
            rec.DisconnectDate = rec.ConnectDate;
            rec.DisconnectTime = (c + assumed) / kDaySeconds;
        } else {
            // Past midnight, whole days carried into the date.
            const double end = c + DUVMain::NoDisconDuration;
            const double days = std::floor(end / kDaySeconds);
            rec.DisconnectDate = rec.ConnectDate + days;
            rec.DisconnectTime = (end - days * kDaySeconds) / kDaySeconds;
        }
        SessionDisconnectDate = rec.DisconnectDate;
        SessionDisconnectTime = rec.DisconnectTime;
    });
    ErrorsFound = true;
    Statement([&] { SessionSeconds = runtime::CLng(DUVMain::NoDisconDuration * f); });
    // With the assumed values off the session has no length, so no free time either.
    Statement([&] {
        rec.FreeSeconds = f > 0 ? GetFreeSeconds(number, rec.ConnectTime, rec.DisconnectTime) : 0;
        if (rec.FreeSeconds > 0)
            AppendNote(rec.Notes,
                       {" - Free:", GeneralFunctions::FormatTime(rec.FreeSeconds, false)});
        row.FreeSeconds = Add32(row.FreeSeconds, rec.FreeSeconds);
    });
    Statement([&] { row.BytesRead += runtime::CLng(DUVMain::NoDisconData * 1024 * f); });
    // With the assumed values off the session is neither priced nor flagged.
    Statement([&] {
        SessionDialCost = 0;
        if (f == 0 || !Pricing.GetDialupCost)
            return;
        const double cost = Pricing.GetDialupCost(number, rec.ConnectDate, rec.ConnectTime,
                                                  rec.DisconnectDate, rec.DisconnectTime, 0);
        RestoreProcessContext();
        SessionDialCost = std::fabs(cost) * f;
        if (std::signbit(cost))
            TariffIncomplete = true;
    });
    CountBlocks(rec, row, number);
    Statement([&] {
        SessionServiceCost =
            f > 0 && Pricing.GetServiceCost
                ? Pricing.GetServiceCost(number, ChargeableSeconds(rec), rec.ConnectDate) * f
                : 0.0;
        RestoreProcessContext();
    });
    // Assumed data is booked to the data allowance only when the assumed values apply.
    Statement([&] {
        SessionDataCost =
            f > 0 && Pricing.GetDataCost
                ? Pricing.GetDataCost(number, DUVMain::NoDisconData * 1024, rec.ConnectDate) * f
                : 0.0;
        RestoreProcessContext();
    });
    row.TotalCost += SessionDialCost + SessionServiceCost + SessionDataCost;
    row.DialCost += SessionDialCost;
    row.ServiceCost += SessionServiceCost;
    ClearSessionVars();
    if (lineForm && rec.ConnectDate < DUVMain::ReportStartDate)
        ResetTables();
}

// A connect line while no session waits: an "Unknown Service" session in the usage row of
// this line (row 0 unless the line also started a session).
void OpenUnknownSession(bool startedOnThisLine) {
    Statement([&] { GetLineTime(); });
    SessionConnectDate = LineDate;
    SessionConnectTime = LineTime;
    // A session started on this same line never reaches its connect: give its record back.
    if (startedOnThisLine && ConnIndex > 0)
        --ConnIndex;
    ++ConnIndex;
    if (ConnIndex >= DUVMain::MaxConnections && !ConnectionsOverflow) {
        ConnectionsOverflow = true;
        if (Window.WarnMaxConnections)
            Window.WarnMaxConnections();
    }
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        rec = ConnectionRecord{};
        rec.ConnectDate = SessionConnectDate;
        rec.ConnectTime = SessionConnectTime;
        rec.Service = "Unknown Service";
        rec.Notes = " Unable to get dialled number -";
    });
    Statement([&] { Usage(CurrentUsageRow).Number = "Unknown"; });
    LastUsageRow = CurrentUsageRow;
}

// The connection limit stopped the run on the connect line of a session without a dial line:
// that session could not be recorded and is dropped, as a dialled one at the limit is.
void DropSessionAtLimit() {
    if (ConnIndex > 0 && static_cast<std::size_t>(ConnIndex) < Connections.size())
        Connections[static_cast<std::size_t>(ConnIndex)] = ConnectionRecord{};
    if (ConnIndex > 0)
        --ConnIndex;
    if (CurrentUsageRow == 0 && !ServiceUsage.empty() && ServiceUsage[0].Sessions == 0)
        ServiceUsage[0].Number.clear();
    ClearSessionVars();
}

// Whole seconds from the last session's disconnect to the current line.
int64_t SecondsSinceLastDisconnect(const ConnectionRecord& rec) {
    return static_cast<int64_t>(
               RoundHalfAway((LineDate - std::floor(rec.DisconnectDate)) * kDaySeconds)) +
           TimeSeconds(LineTime) - TimeSeconds(rec.DisconnectTime);
}

void BookReads() {
    Statement([&] { GetLineTime(); });
    if (ConnIndex == 0)
        return;
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        if (SecondsSinceLastDisconnect(rec) >= kReadsWindowSeconds)
            return;
        ServiceUsageRecord& row = Usage(LastUsageRow);
        rec.BytesRead = GetBytesRead(CurrentLine);
        row.BytesRead += rec.BytesRead;
        AppendKiloBytesNote(rec.Notes, " R:", rec.BytesRead);
        SessionDataCost = Pricing.GetDataCost
                              ? Pricing.GetDataCost(row.Number, rec.BytesRead, rec.ConnectDate)
                              : 0.0;
        RestoreProcessContext();
        row.TotalCost += SessionDataCost;
    });
}

void BookWrites() {
    Statement([&] { GetLineTime(); });
    if (ConnIndex == 0)
        return;
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        if (SecondsSinceLastDisconnect(rec) >= kReadsWindowSeconds)
            return;
        rec.BytesWritten = GetBytesWritten(CurrentLine);
        AppendKiloBytesNote(rec.Notes, " - W:", rec.BytesWritten);
    });
}

// The connect line of a session that a dial or answer line started.
void ConnectWaitingSession() {
    Statement([&] { GetLineTime(); });
    SessionConnectDate = LineDate;
    SessionConnectTime = LineTime;
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        rec.ConnectDate = SessionConnectDate;
        rec.ConnectTime = SessionConnectTime;
        rec.Notes.clear();
        if (Answered) {
            if (DUVMain::CalcCosts)
                rec.Notes = " No Cost";
            Answered = false;
        }
    });
}

// Whether the line's date lets the run look at the line; past the report's end with no
// session open the run ends.
bool InRunRange() {
    if (LineDate > DUVMain::ReportEndDate && !Connected) {
        ContinueRun = false;
        return false;
    }
    return DUVMain::ReportStartDate - DUVMain::MaxConnectDays <= LineDate;
}

// Steps 5 to 8 of a dated line that holds a keyword.
[[gnu::noinline]] void HandleKeywords(unsigned holds) {
    // Only the procedures of a line that holds a keyword read the line.
    run.keywords.UpperCase(run.line, CurrentLine);
    for (;;) {
        if (Connected) {
            if (holds & (kConnect | kDial | kAnswer)) {
                ErrorClose(true);
                // The same line again, now not connected.
                if (!InRunRange())
                    return;
                continue;
            }
            if (holds & kDisconnect)
                NormalClose();
            return;
        }
        if (holds & kDisconnect) {
            if (CurrentUsageRow > 0)
                --ConnIndex;  // a busy call: the record is given back, the usage row stays
            CurrentUsageRow = 0;
        }
        if (CurrentUsageRow == 0) {
            Dialled = holds & kDial;
            Answered = holds & kAnswer;
            bool started = false;
            if (Dialled || Answered) {
                StartSession();
                started = CurrentUsageRow > 0;
                Connected = false;
            }
            Connected = holds & kConnect;
            if (Connected)
                OpenUnknownSession(started);
            if (holds & kReads)
                BookReads();
            if (holds & kWrites)
                BookWrites();
        } else {
            Connected = holds & kConnect;
            if (Connected)
                ConnectWaitingSession();
        }
        return;
    }
}

// Steps 5 to 8 of a dated line. A line without a keyword only ends a wait for a session.
void HandleLine() {
    if (!InRunRange())
        return;
    const unsigned holds = run.keywords.Find(run.line, run.lineStart);
    if (holds != 0)
        HandleKeywords(holds);
    else if (!Connected && CurrentUsageRow == 0)
        Dialled = Answered = false;
}

bool IsBlank(std::string_view line) {
    return line.empty() ||
           (line[0] == ' ' && line.find_first_not_of(' ') == std::string_view::npos);
}

// Progress at every ProgressChunk-th entry (called at the entry progress is due).
[[gnu::noinline]] void ShowProgress() {
    if (ProgressChunk <= 0)
        return;
    run.nextProgress += ProgressChunk;
    if (DUVMain::LogLineCount > 0) {
        const double pct = std::floor(static_cast<double>(EntryCount) /
                                      static_cast<double>(DUVMain::LogLineCount) * 100.0);
        if (pct <= 100) {
            const int percent = static_cast<int>(pct);
            if (Window.SetStatusText)
                Window.SetStatusText("Please Wait .....Processing  " + std::to_string(percent) +
                                     "%");
            Window.Progress.Percent(percent);
        }
    }
    ::LetEventsRun();
    // Whatever ran meanwhile named its own procedure and step.
    RestoreProcessContext();
    runtime::SetCountedStep(kLogEntryStep, EntryCount);
}

}  // namespace

void ClearSessionVars() {
    Connected = false;
    CurrentUsageRow = 0;
    SessionConnectDate = 0;
    SessionConnectTime = 0;
    SessionDisconnectDate = 0;
    SessionDisconnectTime = 0;
    SessionSeconds = 0;
    BlockCount = 0;
    BlockMinutes = 0;
}

// Record 0 stays; the others are made again, empty, when a run reaches them.
void ClearAnalysisArrays() {
    for (ServiceUsageRecord& row : ServiceUsage)
        row = ServiceUsageRecord{};
    Connections.resize(std::min<std::size_t>(Connections.size(), 1));
}

// The first blank of a line: where the date stamp has its usual ten characters, looked for
// in them at once.
std::size_t FirstBlank(std::string_view line) {
    constexpr std::size_t kStamp = DUVMain::LogLineDateLength;
    if (line.size() > kStamp && line[kStamp] == ' ' && line[8] != ' ' && line[9] != ' ') {
        std::uint64_t eight = 0;
        std::memcpy(&eight, line.data(), 8);
        // A byte of eight ^ blanks is zero where the byte is a blank.
        const std::uint64_t x = eight ^ 0x2020202020202020ull;
        if (((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) == 0)
            return kStamp;
    }
    return line.find(' ');
}

void GetLineTime() {
    std::string_view line(CurrentLine);
    std::size_t blank = FirstBlank(line);
    std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
    // The usual stamp, "hh:mm:ss." right after the blank, read in place.
    if (blank != std::string_view::npos && line.size() >= start + 9) {
        const auto* p = reinterpret_cast<const unsigned char*>(line.data() + start);
        auto digit = [&](std::size_t at) { return static_cast<unsigned>(p[at] - '0') <= 9; };
        if (p[2] == ':' && p[5] == ':' && p[8] == '.' && digit(0) && digit(1) && digit(3) &&
            digit(4) && digit(6) && digit(7)) {
            auto two = [&](std::size_t at) { return (p[at] - '0') * 10 + (p[at + 1] - '0'); };
            const int h = two(0), m = two(3), s = two(6);
            if (h <= 23 && m <= 59 && s <= 59)
                LineTime = (h * 3600 + m * 60 + s) / static_cast<double>(kDaySeconds);
            return;
        }
    }
    std::size_t dot = line.find('.', start);
    if (dot == std::string_view::npos)
        return;
    std::string_view text = line.substr(start, dot - start);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    // "h:n:s" or "h:n", each part one or two digits.
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    while (count < 3) {
        std::size_t digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 2) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0)
            return;
        parts[count++] = value;
        if (i == text.size())
            break;
        if (text[i] != ':')
            return;
        ++i;
    }
    if (i != text.size() || count < 2)
        return;
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return;
    LineTime = (parts[0] * 3600 + parts[1] * 60 + parts[2]) / static_cast<double>(kDaySeconds);
}

void StartSession() {
    std::string number;
    CurrentUsageRow = 0;
    ServicesOverflow = false;
    ConnectionsOverflow = false;
    if (Answered) {
        number = "Answered Calls";
    } else {
        Quietly([&] { number = DialledNumber(CurrentLine, run.keywords.Word(kDial)); });
        if (!IsDialNumber(number)) {
            Connected = false;
            CurrentUsageRow = 0;
            return;
        }
    }
    ++ConnIndex;
    if (ConnIndex >= DUVMain::MaxConnections) {
        ConnectionsOverflow = true;
        if (Window.WarnMaxConnections)
            Window.WarnMaxConnections();
    }
    // A record given back by a busy call is reused from empty; a new one is made empty.
    Quietly([&] {
        const bool reused =
            ConnIndex >= 0 && static_cast<std::size_t>(ConnIndex) < Connections.size();
        ConnectionRecord& rec = Conn(ConnIndex);
        if (reused)
            rec = ConnectionRecord{};
        if (Answered) {
            rec.Service = "Answered Call";
            rec.Answered = true;
        } else {
            rec.Service = number;
        }
    });
    // The rows in use; an empty number matches no row by an empty other number.
    Quietly([&] { CurrentUsageRow = FindUsageRow(number, UsageCount); });
    if (CurrentUsageRow == 0) {
        CurrentUsageRow = UsageCount + 1;
        Quietly([&] {
            ServiceUsageRecord& row = Usage(CurrentUsageRow);
            row.Number = number;
            row.AltNumber = GetAltNumber(number);
            row.Blocks = 0;
            UsageCount = CurrentUsageRow;
        });
    }
    if (UsageCount >= DUVMain::MaxServices) {
        if (Window.WarnMaxServices)
            Window.WarnMaxServices();
        ServicesOverflow = true;
    }
    LastUsageRow = CurrentUsageRow;
}

// A date stamp not read before, read as one statement of the line.
[[gnu::noinline]] Date ReadNewDate(std::string_view line) {
    Date date = 0;
    Statement([&] { date = NewDateOfLine(line); });
    return date;
}

bool Process() {
    std::string_view raw;
    if (!run.reader || !run.reader->Next(raw))
        return false;
    if (IsBlank(raw))
        return true;
    run.line = raw;
    run.lineStart = run.reader->LineStart();
    runtime::SetCountedStep(kLogEntryStep, EntryCount);
    Date date = 0;
    if (SameStamp(raw))
        date = run.dateValue;
    else
        date = ReadNewDate(raw);
    if (date == 0) {
        ContinueRun = false;
        DUVMain::LogCorrupt = true;
        return true;
    }
    LineDate = date;
    ++EntryCount;
    if (EntryCount == run.nextProgress)
        ShowProgress();
    HandleLine();
    return true;
}

void Analyse() {
    runtime::SetContext("DUVAnalyse", "Analyse");
    EntryCount = 0;
    ContinueRun = true;
    UsageCount = 0;
    ConnIndex = 0;
    LastUsageRow = 0;
    ErrorsFound = false;
    TariffIncomplete = false;
    DUVMain::DetailReportBuilt = false;
    DUVMain::SummaryReportBuilt = false;
    ShowBlocks = false;
    ServicesOverflow = false;
    ConnectionsOverflow = false;
    Answered = false;
    Dialled = false;
    LineTime = 0;

    runtime::Step("Service Arrays", [] {
        ServiceUsage.assign(
            static_cast<std::size_t>(std::max<int32_t>(DUVMain::MaxServices, 0)) + 1,
            ServiceUsageRecord{});
    });
    // Room for every record up to MaxConnections, each made when the run first reaches it.
    runtime::Step("Connection Arrays", [] {
        Connections.clear();
        Connections.reserve(
            static_cast<std::size_t>(std::max<int32_t>(DUVMain::MaxConnections, 0)) + 1);
        Connections.resize(1);
    });
    runtime::Step("Penalty Arrays",
                  [] { Penalties.Create(DUVMain::MaxServices, PeriodsOfTheRange()); });
    runtime::Step("Clr Analysis Vars", [] { ClearSessionVars(); });
    runtime::Step("Clr Analysis Arrays", [] { ClearAnalysisArrays(); });

    Window.Progress.Visible(true);
    runtime::Step("Progress Chunk", [] {
        ProgressChunk = static_cast<int32_t>(std::floor(DUVMain::LogLineCount / 10.0));
    });
    ShowBusy(true);

    CaptureRunSettings();
    // A small log is read in one block of its own size.
    const std::int64_t length = FileLengthOf(DUVMain::LogFilePath);
    LineReader reader(static_cast<std::size_t>(std::clamp<std::int64_t>(
        length + 1, 4096, static_cast<std::int64_t>(LineReader::DefaultBlockSize))));
    bool opened = false;
    // The keyword filter is tuned to the log's first block and, where it can, runs over
    // each block as it is read.
    reader.WatchBlocks([&reader, tuned = false](const char* block, std::size_t size,
                                                [[maybe_unused]] std::uint64_t at) mutable {
        if (!tuned)
            run.keywords.Tune(std::string_view(block, std::min<std::size_t>(size, 64u << 10)));
        tuned = true;
#ifdef DUV_WIDE_KEYWORD_SCAN
        if (run.keywords.ScansBlocks())
            run.keywords.ScanBlock(std::string_view(block, size), at, reader.Offset());
#endif
        return true;
    });
    runtime::Guard([&] {
        opened = reader.Open(DUVMain::LogFilePath);
        if (!opened)
            runtime::Raise(FileLengthOf(DUVMain::LogFilePath) < 0 ? runtime::kErrFileNotFound
                                                                  : runtime::kErrPathFileAccess);
    });
    if (opened) {
        run.reader = &reader;
        RestoreProcessContext();
        // The run reads the file as long as it was when the run began, and ends where no line
        // can be read (the file became shorter meanwhile).
        while (ContinueRun && reader.Offset() < reader.Length() && Process()) {
            if (ServicesOverflow || ConnectionsOverflow)
                ContinueRun = false;
        }
        run.reader = nullptr;
        reader.Close();
        runtime::SetContext("DUVAnalyse", "Analyse");
    }

    // A dial or answer line still waiting for its connect: the record is given back.
    if (!Connected && CurrentUsageRow > 0) {
        --ConnIndex;
        CurrentUsageRow = 0;
    }
    if (Connected && ConnectionsOverflow)
        DropSessionAtLimit();
    if (Connected) {
        ErrorClose(false);
        runtime::SetContext("DUVAnalyse", "Analyse");
    }

    runtime::Step("Finished Processing", [] {
        Window.Progress.Visible(false);
        if (Window.SetStatusText)
            Window.SetStatusText(" F I N I S H E D !  -  (" + std::to_string(EntryCount) +
                                 " entries processed)");
    });
    if (TariffIncomplete && Window.WarnTariffsIncomplete)
        Window.WarnTariffsIncomplete();
    if (Pricing.CheckUserWarnings)
        Pricing.CheckUserWarnings();
    if (!DUVMain::LogCorrupt && Window.ShowReport)
        Window.ShowReport();
    ShowBusy(false);
}

}  // namespace DUVAnalyse
