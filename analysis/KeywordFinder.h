// The analysis run's keyword search: which of the seven keywords a line of the log holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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
#endif

namespace DUVAnalyse {

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
    void Set(const std::array<std::string, kKeywordCount>& keywords);

    // Picks, for every keyword, the two neighbouring letters that are fewest in a sample of
    // the text to come, so that the sixteen-byte filter stops seldom where no keyword is.
    void Tune(std::string_view sample);

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
                                          [[maybe_unused]] std::uint64_t start);

    const std::string& Word(Keyword k) const {
        return words_[static_cast<std::size_t>(__builtin_ctz(k))];
    }

    // The line upper-cased, as the procedures of a line read it.
    void UpperCase(std::string_view line, std::string& out) const;

private:
    static constexpr std::size_t kFoldedMax = 8;

    // Every two bytes that upper-case to the keyword's letters j and j + 1, with the case bit
    // set, as one number.
    template <class F>
    void ForEachFold(const std::string& word, std::size_t j, F&& f) const;

    // The filter's byte pairs: each keyword's letters at at_[k] and the next, folded; the
    // vector filter is off where a keyword is one letter or the pairs are too many.
    void SetFilter();

#ifdef DUV_WIDE_KEYWORD_SCAN
public:
    // Where the processor has AVX2 the filter runs over each block of the file as it is
    // read, and Find() takes the pairs it found.
    bool ScansBlocks() const { return wide_; }

    // Notes the offsets of the filter's pairs in a block read at offset at, forgetting those
    // before keepFrom (the lines there were handed out).
    __attribute__((target("avx2"))) void ScanBlock(std::string_view block, std::uint64_t at,
                                                   std::uint64_t keepFrom);

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
    // Sixteen positions at a time, for count folded pairs (see the definition).
    template <std::size_t count>
    std::size_t Scan(std::string_view line, unsigned& found) const;
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
    unsigned MatchesFilterPair(std::string_view line, std::size_t pos, unsigned found) const;

    // The keywords whose filter pair the two bytes are.
    unsigned KeywordsOfPair(unsigned char first, unsigned char second) const;

    // Those of the candidate keywords that occur where their filter pair would be at pos.
    unsigned MatchesWhereTheyBegin(std::string_view line, std::size_t pos,
                                   unsigned candidates) const;

    // The keywords found at position at (not counting those already found), where a keyword
    // begins with the two bytes there.
    unsigned MatchesPair(std::string_view line, std::size_t at, unsigned found) const;

    // Those of the candidate keywords that occur at position at.
    unsigned MatchesAt(std::string_view line, std::size_t at, unsigned candidates) const;

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

}  // namespace DUVAnalyse
