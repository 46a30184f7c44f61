#include "tools/duvreport/RegFile.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace regfile {
namespace {

// UTF-16 little-endian (after its byte-order mark) to the ANSI code page: characters above
// 255 become "?".
std::string FromUtf16(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned c = static_cast<unsigned char>(bytes[i]) |
                     (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8);
        out.push_back(c < 256 ? static_cast<char>(c) : '?');
    }
    return out;
}

// UTF-8 to the ANSI code page (Latin-1 range kept, others "?").
std::string FromUtf8(const std::string& bytes) {
    std::string out;
    for (std::size_t i = 3; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < bytes.size()) {
            unsigned v = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(bytes[i + 1]) & 0x3Fu);
            out.push_back(v < 256 ? static_cast<char>(v) : '?');
            i += 2;
        } else {
            out.push_back('?');
            ++i;
            while (i < bytes.size() && (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80)
                ++i;
        }
    }
    return out;
}

std::string Trimmed(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos)
        return {};
    std::size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

bool EqualsNoCase(const std::string& a, const char* b) {
    std::size_t n = 0;
    for (; b[n]; ++n) {
        if (n >= a.size() || std::toupper(static_cast<unsigned char>(a[n])) !=
                                 std::toupper(static_cast<unsigned char>(b[n])))
            return false;
    }
    return n == a.size();
}

registry::RegKey RootByName(const std::string& name) {
    if (EqualsNoCase(name, "HKEY_LOCAL_MACHINE") || EqualsNoCase(name, "HKLM"))
        return registry::kLocalMachine;
    if (EqualsNoCase(name, "HKEY_CURRENT_USER") || EqualsNoCase(name, "HKCU"))
        return registry::kCurrentUser;
    if (EqualsNoCase(name, "HKEY_CLASSES_ROOT") || EqualsNoCase(name, "HKCR"))
        return registry::kClassesRoot;
    if (EqualsNoCase(name, "HKEY_USERS") || EqualsNoCase(name, "HKU"))
        return registry::kUsers;
    return 0;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A quoted text starting at s[i] == '"'; i ends after the closing quote.
bool ParseQuoted(const std::string& s, std::size_t& i, std::string& out) {
    out.clear();
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out.push_back(s[++i]);
        } else if (s[i] == '"') {
            ++i;
            return true;
        } else {
            out.push_back(s[i]);
        }
    }
    return false;
}

// "hh,hh,..." byte list.
bool ParseHexBytes(const std::string& s, std::vector<unsigned char>& out) {
    out.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i >= s.size())
            break;
        int hi = HexDigit(s[i]);
        int lo = i + 1 < s.size() ? HexDigit(s[i + 1]) : -1;
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<unsigned char>(hi * 16 + lo));
        i += 2;
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        if (i < s.size()) {
            if (s[i] != ',')
                return false;
            ++i;
        }
    }
    return true;
}

class Loader {
public:
    explicit Loader(registry::RegistryStore& store) : store_(store) {}
    ~Loader() { CloseKey(); }

    LoadResult Run(const std::string& text) {
        std::vector<std::string> lines = SplitLines(text);
        std::size_t first = 0;
        LoadResult header = CheckHeader(lines, first);
        if (!header.ok)
            return header;
        for (std::size_t n = first + 1; n < lines.size(); ++n) {
            const int lineNo = static_cast<int>(n) + 1;
            std::string line = Trimmed(lines[n]);
            // A trailing backslash continues a hex list on the next line.
            while (!line.empty() && line.back() == '\\' && n + 1 < lines.size()) {
                line.pop_back();
                line += Trimmed(lines[++n]);
            }
            if (line.empty() || line[0] == ';')
                continue;
            LoadResult r = line[0] == '[' ? KeyLine(line, lineNo) : ValueLine(line, lineNo);
            if (!r.ok)
                return r;
        }
        return {};
    }

    // The first non-blank line must be the header; first ends at it.
    static LoadResult CheckHeader(const std::vector<std::string>& lines, std::size_t& first) {
        first = 0;
        while (first < lines.size() && Trimmed(lines[first]).empty())
            ++first;
        if (first >= lines.size())
            return Fail(1, "empty file: expected REGEDIT4 or Windows Registry Editor Version 5.00");
        const std::string header = Trimmed(lines[first]);
        if (header != "REGEDIT4" && header != "Windows Registry Editor Version 5.00")
            return Fail(
                static_cast<int>(first) + 1,
                "not a registry export: expected REGEDIT4 or Windows Registry Editor Version 5.00");
        return {};
    }

    static std::vector<std::string> SplitLines(const std::string& text) {
        std::vector<std::string> lines;
        std::string current;
        for (std::size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c == '\r' || c == '\n') {
                lines.push_back(current);
                current.clear();
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            } else {
                current.push_back(c);
            }
        }
        if (!current.empty())
            lines.push_back(current);
        return lines;
    }

private:
    static LoadResult Fail(int line, std::string message) {
        LoadResult r;
        r.ok = false;
        r.line = line;
        r.message = std::move(message);
        return r;
    }

    void CloseKey() {
        if (key_) {
            store_.CloseKey(key_);
            key_ = 0;
        }
    }

    LoadResult KeyLine(const std::string& line, int lineNo) {
        CloseKey();
        if (line.back() != ']')
            return Fail(lineNo, "key line without a closing ]");
        std::string path = line.substr(1, line.size() - 2);
        if (!path.empty() && path[0] == '-')
            return Fail(lineNo, "key deletion is not supported");
        std::size_t slash = path.find('\\');
        std::string rootName = path.substr(0, slash);
        registry::RegKey root = RootByName(rootName);
        if (!root)
            return Fail(lineNo, "unknown root key \"" + rootName + "\"");
        std::string sub = slash == std::string::npos ? std::string() : path.substr(slash + 1);
        registry::RegKey key = 0;
        if (store_.CreateKey(root, sub, registry::kKeyAllAccess, key) != registry::kSuccess)
            return Fail(lineNo, "cannot create key \"" + path + "\"");
        key_ = key;
        return {};
    }

    LoadResult ValueLine(const std::string& line, int lineNo) {
        if (!key_)
            return Fail(lineNo, "value before the first [key] line");
        std::string name;
        std::size_t i = 0;
        if (line[0] == '@') {
            i = 1;
        } else if (line[0] == '"') {
            if (!ParseQuoted(line, i, name))
                return Fail(lineNo, "value name without its closing quote");
        } else {
            return Fail(lineNo, "expected \"name\"=value or @=value");
        }
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] != '=')
            return Fail(lineNo, "missing = after the value name");
        std::string data = Trimmed(line.substr(i + 1));
        std::vector<unsigned char> bytes;
        std::uint32_t type = 0;
        if (!data.empty() && data[0] == '"') {
            std::size_t j = 0;
            std::string text;
            if (!ParseQuoted(data, j, text) || !Trimmed(data.substr(j)).empty())
                return Fail(lineNo, "malformed text value");
            type = registry::kRegSz;
            bytes.assign(text.begin(), text.end());
            bytes.push_back(0);
        } else if (data.rfind("dword:", 0) == 0) {
            std::string digits = data.substr(6);
            if (digits.empty() || digits.size() > 8)
                return Fail(lineNo, "dword value needs 1 to 8 hex digits");
            std::uint32_t v = 0;
            for (char c : digits) {
                int d = HexDigit(c);
                if (d < 0)
                    return Fail(lineNo, "dword value needs 1 to 8 hex digits");
                v = v * 16 + static_cast<std::uint32_t>(d);
            }
            type = registry::kRegDword;
            for (int k = 0; k < 4; ++k)
                bytes.push_back(static_cast<unsigned char>(v >> (8 * k)));
        } else if (data.rfind("hex", 0) == 0) {
            std::size_t colon = data.find(':');
            if (colon == std::string::npos)
                return Fail(lineNo, "hex value without ':'");
            std::string kind = data.substr(3, colon - 3);
            if (kind.empty()) {
                type = registry::kRegBinary;
            } else if (kind.size() >= 3 && kind.front() == '(' && kind.back() == ')') {
                type = 0;
                for (std::size_t k = 1; k + 1 < kind.size(); ++k) {
                    int d = HexDigit(kind[k]);
                    if (d < 0)
                        return Fail(lineNo, "bad value type in " + kind);
                    type = type * 16 + static_cast<std::uint32_t>(d);
                }
            } else {
                return Fail(lineNo, "bad hex value type");
            }
            if (!ParseHexBytes(data.substr(colon + 1), bytes))
                return Fail(lineNo, "malformed hex bytes");
        } else if (data == "-") {
            return Fail(lineNo, "value deletion is not supported");
        } else {
            return Fail(lineNo, "unknown value format");
        }
        if (store_.SetValue(key_, name, type, bytes.data(),
                            static_cast<std::uint32_t>(bytes.size())) != registry::kSuccess)
            return Fail(lineNo, "cannot store value \"" + name + "\"");
        return {};
    }

    registry::RegistryStore& store_;
    registry::RegKey key_ = 0;
};

}  // namespace

namespace {

// The text of an export file in the ANSI code page, by its byte-order mark.
std::string Decoded(const std::string& fileBytes) {
    if (fileBytes.size() >= 2 && static_cast<unsigned char>(fileBytes[0]) == 0xFF &&
        static_cast<unsigned char>(fileBytes[1]) == 0xFE)
        return FromUtf16(fileBytes);
    if (fileBytes.size() >= 3 && static_cast<unsigned char>(fileBytes[0]) == 0xEF &&
        static_cast<unsigned char>(fileBytes[1]) == 0xBB &&
        static_cast<unsigned char>(fileBytes[2]) == 0xBF)
        return FromUtf8(fileBytes);
    return fileBytes;
}

}  // namespace

LoadResult CheckStart(const std::string& firstBytes) {
    const std::string text = Decoded(firstBytes);
    // Whole lines are checked as Load checks them. When they are all blank, the first line
    // runs on past the bytes given: it can still be a header only while it begins as one.
    const std::size_t end = text.find_last_of("\r\n");
    std::vector<std::string> lines =
        Loader::SplitLines(end == std::string::npos ? std::string() : text.substr(0, end + 1));
    std::size_t first = 0;
    LoadResult header = Loader::CheckHeader(lines, first);
    if (!header.ok && first >= lines.size()) {
        const std::string rest = Trimmed(text.substr(end == std::string::npos ? 0 : end + 1));
        if (std::string("REGEDIT4").starts_with(rest) ||
            std::string("Windows Registry Editor Version 5.00").starts_with(rest))
            return {};
        header.line = static_cast<int>(lines.size()) + 1;
        header.message =
            "not a registry export: expected REGEDIT4 or Windows Registry Editor Version 5.00";
    }
    return header;
}

LoadResult Load(const std::string& fileBytes, registry::RegistryStore& store) {
    return Loader(store).Run(Decoded(fileBytes));
}

}  // namespace regfile
