// Registry export files read into the in-memory registry.
#include <gtest/gtest.h>

#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "core/RegistryStore.h"
#include "tools/duvreport/RegFile.h"

namespace {

using registry::kLocalMachine;

struct Value {
    long result = 0;
    std::uint32_t type = 0;
    std::vector<unsigned char> bytes;
};

Value Read(registry::MemoryRegistry& store, const std::string& key, const std::string& name) {
    Value v;
    registry::RegKey k = 0;
    v.result = store.OpenKey(kLocalMachine, key, registry::kKeyAllAccess, k);
    if (v.result != registry::kSuccess)
        return v;
    std::uint32_t size = 0;
    v.result = store.QueryValue(k, name, &v.type, nullptr, &size);
    if (v.result == registry::kSuccess) {
        v.bytes.resize(size);
        v.result = store.QueryValue(k, name, &v.type, v.bytes.data(), &size);
    }
    store.CloseKey(k);
    return v;
}

std::string Text(const Value& v) {
    std::string s(v.bytes.begin(), v.bytes.end());
    if (!s.empty() && s.back() == '\0')
        s.pop_back();
    return s;
}

TEST(RegistryExportFile, ReadsTextNumbersAndBytesOfBothFormats) {
    registry::MemoryRegistry store;
    const std::string file =
        "REGEDIT4\r\n\r\n"
        "; settings\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\General]\r\n"
        "\"ModemLogDir\"=\"C:\\\\WINDOWS\\\\\"\r\n"
        "\"Quoted\"=\"say \\\"hi\\\"\"\r\n"
        "\"MaxServices\"=dword:0000000a\r\n"
        "\"Logging\"=hex:01,\\\r\n"
        "  ff\r\n"
        "@=\"default\"\r\n";
    regfile::LoadResult r = regfile::Load(file, store);
    ASSERT_TRUE(r.ok) << r.line << ": " << r.message;
    EXPECT_EQ(Text(Read(store, "SOFTWARE\\DUV\\General", "ModemLogDir")), "C:\\WINDOWS\\");
    EXPECT_EQ(Text(Read(store, "SOFTWARE\\DUV\\General", "Quoted")), "say \"hi\"");
    Value n = Read(store, "SOFTWARE\\DUV\\General", "MaxServices");
    EXPECT_EQ(n.type, registry::kRegDword);
    EXPECT_EQ(n.bytes, (std::vector<unsigned char>{10, 0, 0, 0}));
    Value b = Read(store, "software\\duv\\general", "logging");
    EXPECT_EQ(b.type, registry::kRegBinary);
    EXPECT_EQ(b.bytes, (std::vector<unsigned char>{1, 0xff}));
    EXPECT_EQ(Text(Read(store, "SOFTWARE\\DUV\\General", "")), "default");
}

TEST(RegistryExportFile, ReadsUnicodeExports) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\Modem]\r\n"
        "\"ModemReads\"=\"Lus\xE9\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) {
        utf16.push_back(c);
        utf16.push_back('\0');
    }
    registry::MemoryRegistry store;
    ASSERT_TRUE(regfile::Load(utf16, store).ok);
    EXPECT_EQ(Text(Read(store, "SOFTWARE\\DUV\\Modem", "ModemReads")), "Lus\xE9");

    registry::MemoryRegistry store8;
    ASSERT_TRUE(regfile::Load("\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\Modem]\n"
                              "\"ModemReads\"=\"Lus\xC3\xA9\"\n",
                              store8)
                    .ok);
    EXPECT_EQ(Text(Read(store8, "SOFTWARE\\DUV\\Modem", "ModemReads")), "Lus\xE9");
}

TEST(RegistryExportFile, NamesTheLineOfTheFirstProblem) {
    struct Case {
        std::string file;
        int line;
        std::string message;
    };
    const std::vector<Case> cases{
        {"hello\n", 1, "not a registry export"},
        {"", 1, "empty file"},
        {"REGEDIT4\n\"A\"=\"x\"\n", 2, "value before the first [key] line"},
        {"REGEDIT4\n[HKEY_NOWHERE\\X]\n", 2, "unknown root key"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X\n", 2, "without a closing ]"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=dword:123456789\n", 3, "1 to 8 hex digits"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\n\"A\"=\"open\n", 4, "malformed text value"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=hex:0g\n", 3, "malformed hex bytes"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\"=-\n", 3, "deletion"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\X]\n", 2, "deletion"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"A\" \"x\"\n", 3, "missing ="},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\nA=1\n", 3, "expected"},
    };
    for (const Case& c : cases) {
        registry::MemoryRegistry store;
        regfile::LoadResult r = regfile::Load(c.file, store);
        EXPECT_FALSE(r.ok) << c.file;
        EXPECT_EQ(r.line, c.line) << c.file;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.file << " -> " << r.message;
    }
}

// The first bytes of a large file: refused when its first line cannot be an export's header.
TEST(RegistryExportFile, StartIsCheckedByItsFirstLine) {
    std::string unicode = "\xFF\xFE";
    for (char c : std::string("Windows Registry Editor Version 5.00\r\n[HKEY"))
        unicode += {c, '\0'};
    for (const std::string& start :
         {std::string("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"A\"=\"cut"), unicode,
          std::string("\r\n \r\n"), std::string(4090, '\n') + "REGED"}) {
        EXPECT_TRUE(regfile::CheckStart(start).ok) << start;
    }
    const std::vector<std::pair<std::string, int>> refused{
        {"\r\nhello\r\nREGEDIT4\r\n", 2},
        {std::string(4096, 'x'), 1},
        {"\n\nREGEDIT5", 3},
    };
    for (const auto& [start, line] : refused) {
        const regfile::LoadResult r = regfile::CheckStart(start);
        EXPECT_FALSE(r.ok) << start;
        EXPECT_EQ(r.line, line) << start;
        EXPECT_NE(r.message.find("not a registry export"), std::string::npos) << r.message;
    }
}

// A stream that starts with the given text and runs on with one byte for ever after, counting
// what it hands out.
class EndlessFile : public std::streambuf {
public:
    EndlessFile(std::string start, char fill) : start_(std::move(start)), block_(4096, fill) {}
    std::uint64_t handedOut = 0;

protected:
    int_type underflow() override {
        std::string& next = first_ ? start_ : block_;
        first_ = false;
        handedOut += next.size();
        setg(next.data(), next.data(), next.data() + next.size());
        return traits_type::to_int_type(next[0]);
    }

private:
    std::string start_, block_;
    bool first_ = true;
};

// Read from a stream, a file is refused at its first bad line however long it runs on, with
// what came before it stored; a comment or a continued line is read on as it should be.
TEST(RegistryExportFile, AStreamIsRefusedAtItsFirstBadLineWithoutBeingReadOn) {
    struct Case {
        std::string start;
        char fill;
        int line;
        std::string message;
    };
    const std::vector<Case> cases{
        {"REGEDIT4\r\n\r\n", '\0', 3, "value before the first [key] line"},
        {"\r\n\r\n", 'R', 3, "not a registry export"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"A\"=dword:1\r\n", 'x', 4, "expected"},
        // The comment takes the next line with it; two backslashes and a blank line give way
        // to the line after them.
        {"REGEDIT4\n[HKLM\\X]\n\"A\"=dword:1\n; a comment \\\n\"B\"=\"b\"\n\\\\\n\n@=\"v\"\n", 'y', 9,
         "expected"},
    };
    for (const Case& c : cases) {
        EndlessFile file(c.start, c.fill);
        std::istream in(&file);
        registry::MemoryRegistry store;
        const regfile::LoadResult r = regfile::Load(in, store);
        EXPECT_FALSE(r.ok) << c.start;
        EXPECT_EQ(r.line, c.line) << c.start;
        EXPECT_NE(r.message.find(c.message), std::string::npos) << c.start << " -> " << r.message;
        EXPECT_LT(file.handedOut, 1u << 20) << c.start;
        if (c.fill == 'y') {
            EXPECT_EQ(Read(store, "X", "A").bytes, (std::vector<unsigned char>{1, 0, 0, 0}));
            EXPECT_NE(Read(store, "X", "B").result, registry::kSuccess);
            EXPECT_EQ(Text(Read(store, "X", "")), "v");
        }
    }
}

TEST(RegistryExportFile, TypedHexValuesKeepTheirType) {
    registry::MemoryRegistry store;
    ASSERT_TRUE(regfile::Load("REGEDIT4\n[HKEY_LOCAL_MACHINE\\X]\n\"E\"=hex(2):41,00\n", store).ok);
    Value v = Read(store, "X", "E");
    EXPECT_EQ(v.type, 2u);
    EXPECT_EQ(v.bytes, (std::vector<unsigned char>{0x41, 0}));
}

}  // namespace
