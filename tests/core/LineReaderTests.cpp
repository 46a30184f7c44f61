#include "core/LineReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/core/ScratchFolder.h"

namespace {

std::vector<std::string> LinesOf(LineReader& reader) {
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}

std::vector<std::string> SplitText(const std::string& text) {
    LineReader reader{std::string_view(text)};
    return LinesOf(reader);
}

class TempFile {
public:
    explicit TempFile(const std::string& bytes) {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("duv_linereader_" + std::to_string(DUV_TEST_PID) + "_" +
                  std::to_string(++counter) + ".txt"))
                    .string();
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

using Lines = std::vector<std::string>;

// The lines of a text and where each starts, split one byte at a time.
std::pair<Lines, std::vector<std::uint64_t>> PlainSplit(const std::string& text) {
    Lines lines;
    std::vector<std::uint64_t> starts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        starts.push_back(start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
        starts.push_back(start);
    }
    return {lines, starts};
}

std::pair<Lines, std::vector<std::uint64_t>> ReadAll(LineReader& reader) {
    Lines lines;
    std::vector<std::uint64_t> starts;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
        starts.push_back(reader.LineStart());
    }
    return {lines, starts};
}

}  // namespace

TEST(LineReaderEndings, CarriageReturnCrLfAndLoneLineFeedEndLines) {
    EXPECT_EQ(SplitText("a\r\nb\rc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(SplitText("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitText("\r\n\r\n"), (Lines{"", ""}));
    // A log copied through a system that ends lines with a line feed alone.
    EXPECT_EQ(SplitText("a\nb\r\nc\n"), (Lines{"a", "b", "c"}));
    // A stray line feed after a CR LF is an empty line of its own; it hides nothing.
    EXPECT_EQ(SplitText("a\r\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitText("\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitText("x\n\ry"), (Lines{"x", "", "y"}));
}

TEST(LineReaderEndings, LastLineWithoutEndingCountsAndNoLineIsInvented) {
    EXPECT_EQ(SplitText("one\r\ntwo"), (Lines{"one", "two"}));
    EXPECT_EQ(SplitText("one\r\ntwo\r\n"), (Lines{"one", "two"}));
    EXPECT_EQ(SplitText("one\r"), (Lines{"one"}));
    EXPECT_EQ(SplitText(""), Lines{});
    EXPECT_EQ(SplitText("\r"), (Lines{""}));
}

TEST(LineReaderOffsets, OffsetsCountLineEndings) {
    std::string text = "ab\r\ncd\re\n\r\nf";  // "e", then an empty line
    LineReader reader{std::string_view(text)};
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.LineStart(), 0u);
    EXPECT_EQ(reader.Offset(), 4u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.LineStart(), 4u);
    EXPECT_EQ(reader.Offset(), 7u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "e");
    EXPECT_EQ(reader.Offset(), 9u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "");
    EXPECT_EQ(reader.LineStart(), 9u);
    EXPECT_EQ(reader.Offset(), 11u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "f");
    EXPECT_EQ(reader.Offset(), 12u);
    EXPECT_EQ(reader.Length(), 12u);
    EXPECT_FALSE(reader.Next(line));
}

TEST(LineReaderFiles, MissingFileDoesNotOpen) {
    LineReader reader;
    EXPECT_FALSE(
        reader.Open((std::filesystem::temp_directory_path() / "duv_no_such_file.txt").string()));
    EXPECT_EQ(
        FileLengthOf((std::filesystem::temp_directory_path() / "duv_no_such_file.txt").string()),
        -1);
}

TEST(LineReaderFiles, SplitsAtEveryBlockBoundaryAsInMemory) {
    // Endings placed so that CR, LF and the CR LF pair fall on every block boundary.
    std::string text =
        "01-02-1999 10:00:00.00 - RECV: ATDT123\r\n\r\nx\ny\rz\r\n\r\r\n"
        "a line that is longer than several small blocks together\r\nlast";
    TempFile file(text);
    EXPECT_EQ(FileLengthOf(file.path()), static_cast<std::int64_t>(text.size()));
    Lines expected = SplitText(text);
    ASSERT_EQ(expected.size(), 9u);
    for (std::size_t block = 4; block <= 70; ++block) {
        LineReader reader(block);
        ASSERT_TRUE(reader.Open(file.path()));
        std::vector<std::uint64_t> offsets;
        Lines lines;
        std::string_view line;
        while (reader.Next(line)) {
            lines.emplace_back(line);
            offsets.push_back(reader.Offset());
        }
        EXPECT_EQ(lines, expected) << "block size " << block;
        EXPECT_EQ(offsets.back(), text.size()) << "block size " << block;
    }
}

TEST(LineReaderFiles, RandomEndingsAgreeWithMemoryReading) {
    std::mt19937 rng(7);
    const char alphabet[] = {'a', 'b', '\r', '\n', ' '};
    for (int round = 0; round < 50; ++round) {
        std::string text;
        std::size_t size = rng() % 200;
        for (std::size_t i = 0; i < size; ++i)
            text += alphabet[rng() % 5];
        TempFile file(text);
        LineReader reader(4 + rng() % 13);
        ASSERT_TRUE(reader.Open(file.path()));
        EXPECT_EQ(LinesOf(reader), SplitText(text)) << "round " << round;
        EXPECT_EQ(reader.Offset(), text.size());
    }
}

TEST(LineReaderFiles, LongTextsSplitAsByteByByteAcrossWordsBatchesAndBlocks) {
    // Lines of every length up to a few kilobytes, so that ends, CR LF pairs and lines longer
    // than a block fall on 64-byte words, the look-ahead's batches and the blocks read.
    std::mt19937 rng(11);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        const std::size_t size = 1000 + rng() % 9000;
        const unsigned endEvery = 1 + rng() % (round < 20 ? 80 : 3000);
        while (text.size() < size) {
            if (rng() % endEvery == 0)
                text += std::string_view("\r\n\r\n").substr(rng() % 3, 1 + rng() % 2);
            else
                text += static_cast<char>('a' + rng() % 26);
        }
        const auto expected = PlainSplit(text);
        LineReader inMemory{std::string_view(text)};
        EXPECT_EQ(ReadAll(inMemory), expected) << "round " << round;
        TempFile file(text);
        for (std::size_t block : {63, 64, 65, 127, 2047, 2048, 2049, 4097}) {
            LineReader reader(block);
            ASSERT_TRUE(reader.Open(file.path()));
            EXPECT_EQ(ReadAll(reader), expected) << "round " << round << " block " << block;
            EXPECT_EQ(reader.Offset(), text.size());
        }
    }
}

// Only bytes 10 and 13 end lines: not those that share a half with them (such as 0x1A, 0x8D,
// 0xDA), nor any other byte value, at any place of a 64-byte word.
TEST(LineReaderEndings, OnlyLineFeedAndCarriageReturnEndLines) {
    std::mt19937 rng(5);
    const unsigned char alike[] = {0x0A, 0x0D, 0x1A, 0x1D, 0x2A, 0x2D, 0x8A, 0x8D,
                                   0xA0, 0xAD, 0xD0, 0xDA, 0xFA, 0xFD, 0x00, 0xFF};
    for (int round = 0; round < 20; ++round) {
        std::string text;
        while (text.size() < 3000) {
            const unsigned pick = rng() % 4;
            text += static_cast<char>(pick == 0   ? alike[rng() % 16]
                                      : pick == 1 ? rng() % 256
                                                  : 'a');
        }
        LineReader inMemory{std::string_view(text)};
        EXPECT_EQ(ReadAll(inMemory), PlainSplit(text)) << "round " << round;
    }
}

TEST(LineReaderFiles, FileThatShrinksWhileReadEndsWhereNothingMoreCanBeRead) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    TempFile file(text);
    LineReader reader(4096);
    ASSERT_TRUE(reader.Open(file.path()));
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "line 0");
    std::filesystem::resize_file(file.path(), 100);
    // What was read before the file shrank is still handed out; then the input ends.
    Lines rest = LinesOf(reader);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest[0], "line 1");
    EXPECT_LT(rest.size(), 1999u);
    EXPECT_LT(reader.Offset(), reader.Length());
}
