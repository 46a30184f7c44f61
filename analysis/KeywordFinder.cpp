// The keyword search of the analysis run: a filter on two neighbouring letters of each
// keyword, run over each block as it is read (AVX2), over each line sixteen positions at a
// time (SSE2), or byte by byte; candidates are compared through the upper-case table.
#include "analysis/KeywordFinder.h"

#include <algorithm>
#include <bitset>

#ifdef DUV_WIDE_KEYWORD_SCAN
#include <immintrin.h>
#endif

#include "analysis/DUVAnalyse.h"
#include "core/Runtime.h"

namespace DUVAnalyse {

void KeywordFinder::Set(const std::array<std::string, kKeywordCount>& keywords) {
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

void KeywordFinder::Tune(std::string_view sample) {
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
            ++counts[static_cast<std::size_t>(std::lower_bound(folds.begin(), folds.end(), fold) -
                                              folds.begin())];
    }
    auto count = [&](unsigned fold) {
        return counts[static_cast<std::size_t>(std::lower_bound(folds.begin(), folds.end(), fold) -
                                               folds.begin())];
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

unsigned KeywordFinder::FindInLine(std::string_view line, [[maybe_unused]] std::uint64_t start) {
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

void KeywordFinder::UpperCase(std::string_view line, std::string& out) const {
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

template <class F>
void KeywordFinder::ForEachFold(const std::string& word, std::size_t j, F&& f) const {
    std::array<unsigned, 256> firsts{}, seconds{};
    std::size_t nFirsts = 0, nSeconds = 0;
    for (unsigned c = 0; c < 256; ++c) {
        const unsigned folded = c | 0x20;
        if (upper_[c] == static_cast<unsigned char>(word[j]) &&
            std::find(firsts.begin(), firsts.begin() + nFirsts, folded) == firsts.begin() + nFirsts)
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

void KeywordFinder::SetFilter() {
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
// Notes the offsets of the filter's pairs in a block read at offset at, forgetting those
// before keepFrom (the lines there were handed out). Thirty-two positions at a time: the
// tables of each byte's low and high half give the pairs whose first byte it can be,
// those of the next byte the pairs whose second byte it can be.
__attribute__((target("avx2"))) void KeywordFinder::ScanBlock(std::string_view block,
                                                              std::uint64_t at,
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
        __m256i first =
            _mm256_and_si256(_mm256_shuffle_epi8(firstLow, lo), _mm256_shuffle_epi8(firstHigh, hi));
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
                const __m256i nextSecond = _mm256_and_si256(_mm256_shuffle_epi8(secondLow, lo),
                                                            _mm256_shuffle_epi8(secondHigh, hi));
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
#endif

#ifdef __SSE2__
// Sixteen positions at a time, for count folded pairs: where the byte and the next one,
// with the case bit set, are a pair of the filter, the keywords of that pair are compared
// where they would begin. The last positions are taken as the sixteen that end the line,
// without those already looked at. Returns the first position not looked at.
template <std::size_t count>
std::size_t KeywordFinder::Scan(std::string_view line, unsigned& found) const {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t n = line.size();
    const __m128i caseBit = _mm_set1_epi8(0x20);
    std::size_t i = 0;
    for (; i < n - 1; i += 16) {
        const std::size_t at = std::min(i, n - 17);
        const __m128i b0 =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at)), caseBit);
        const __m128i b1 =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + 1)), caseBit);
        __m128i any = _mm_setzero_si128();
#pragma GCC unroll 8
        for (std::size_t v = 0; v < count; ++v)
            any = _mm_or_si128(any, _mm_and_si128(_mm_cmpeq_epi8(b0, broadcast_[v][0]),
                                                  _mm_cmpeq_epi8(b1, broadcast_[v][1])));
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(any)) & (0xFFFFu << (i - at));
        for (; hits; hits &= hits - 1)
            found |=
                MatchesFilterPair(line, at + static_cast<std::size_t>(__builtin_ctz(hits)), found);
    }
    return i;
}
#endif

unsigned KeywordFinder::MatchesFilterPair(std::string_view line, std::size_t pos,
                                          unsigned found) const {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    return MatchesWhereTheyBegin(line, pos, KeywordsOfPair(p[pos], p[pos + 1]) & ~found);
}

unsigned KeywordFinder::KeywordsOfPair(unsigned char first, unsigned char second) const {
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

unsigned KeywordFinder::MatchesWhereTheyBegin(std::string_view line, std::size_t pos,
                                              unsigned candidates) const {
    unsigned matched = 0;
    for (; candidates; candidates &= candidates - 1) {
        const unsigned k = static_cast<unsigned>(__builtin_ctz(candidates));
        if (pos >= at_[k])
            matched |= MatchesAt(line, pos - at_[k], 1u << k);
    }
    return matched;
}

unsigned KeywordFinder::MatchesPair(std::string_view line, std::size_t at, unsigned found) const {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    const unsigned pair = static_cast<unsigned>(p[at]) << 8 | p[at + 1];
    if (!(pairs_[pair >> 6] >> (pair & 63) & 1))
        return 0;
    return MatchesAt(line, at, starts_[p[at]] & ~found);
}

unsigned KeywordFinder::MatchesAt(std::string_view line, std::size_t at,
                                  unsigned candidates) const {
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

}  // namespace DUVAnalyse
