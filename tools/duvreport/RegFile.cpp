#include "tools/duvreport/RegFile.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <istream>
#include <string_view>
#include <utility>
#include <vector>

namespace regfile {
namespace {

constexpr char kEmptyFile[] = "empty file: expected REGEDIT4 or Windows Registry Editor Version 5.00";
constexpr char kNotAnExport[] =
    "not a registry export: expected REGEDIT4 or Windows Registry Editor Version 5.00";

// Bytes from memory or from a stream, read a block at a time.
class ByteSource {
public:
    explicit ByteSource(std::string_view bytes) : data_(bytes.data()), size_(bytes.size()) {}
    explicit ByteSource(std::istream& in) : in_(&in), block_(64u << 10) {}

    int Next() { return at_ < size_ || Refill() ? static_cast<unsigned char>(data_[at_++]) : -1; }
    int Peek() { return at_ < size_ || Refill() ? static_cast<unsigned char>(data_[at_]) : -1; }

private:
    bool Refill() {
        if (!in_ || !*in_)
            return false;
        in_->read(block_.data(), static_cast<std::streamsize>(block_.size()));
        data_ = block_.data();
        size_ = static_cast<std::size_t>(in_->gcount());
        at_ = 0;
        return size_ > 0;
    }

    const char* data_ = nullptr;
    std::size_t size_ = 0, at_ = 0;
    std::istream* in_ = nullptr;
    std::vector<char> block_;
};

// The characters of an export file in the ANSI code page, by its byte-order mark: UTF-16
// little-endian and UTF-8 give characters above 255 as "?"; a file without a mark is ANSI.
class CharSource {
public:
    explicit CharSource(ByteSource& bytes) : bytes_(bytes) {
        for (int b; head_.size() < 3 && (b = bytes_.Next()) >= 0;)
            head_.push_back(static_cast<unsigned char>(b));
        if (head_.size() >= 2 && head_[0] == 0xFF && head_[1] == 0xFE) {
            coding_ = Coding::Utf16;
            headAt_ = 2;
        } else if (head_.size() >= 3 && head_[0] == 0xEF && head_[1] == 0xBB && head_[2] == 0xBF) {
            coding_ = Coding::Utf8;
            headAt_ = 3;
        }
    }

    // The next character (0-255), -1 at the end.
    int Next() {
        if (peeked_ == kNone)
            return Decode();
        return std::exchange(peeked_, kNone);
    }
    int Peek() {
        if (peeked_ == kNone)
            peeked_ = Decode();
        return peeked_;
    }

private:
    enum class Coding { Ansi, Utf16, Utf8 };
    static constexpr int kNone = -2;

    int NextByte() { return headAt_ < head_.size() ? head_[headAt_++] : bytes_.Next(); }
    int PeekByte() { return headAt_ < head_.size() ? head_[headAt_] : bytes_.Peek(); }

    int Decode() {
        const int c = NextByte();
        if (c < 0 || coding_ == Coding::Ansi)
            return c;
        if (coding_ == Coding::Utf16) {
            const int high = NextByte();
            if (high < 0)
                return -1;  // an odd last byte
            const int unit = c | (high << 8);
            return unit < 256 ? unit : '?';
        }
        if (c < 0x80)
            return c;
        if ((c & 0xE0) == 0xC0) {
            const int next = NextByte();
            if (next < 0)
                return '?';
            const int v = ((c & 0x1F) << 6) | (next & 0x3F);
            return v < 256 ? v : '?';
        }
        while (PeekByte() >= 0 && (PeekByte() & 0xC0) == 0x80)
            NextByte();
        return '?';
    }

    ByteSource& bytes_;
    std::vector<unsigned char> head_;
    std::size_t headAt_ = 0;
    Coding coding_ = Coding::Ansi;
    int peeked_ = kNone;
};

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

    // Reads the lines as they come and stops at the first malformed one. What is kept at a time
    // is one statement (with the lines it continues on); blank and comment lines, and a line
    // whose first character already rules it out, are not gathered.
    LoadResult Run(CharSource& source) {
        source_ = &source;
        std::string line;
        for (;;) {
            switch (ReadLine(Role::Header, line)) {
            case Got::End:
                return Fail(1, kEmptyFile);
            case Got::Refused:
                return refusal_;
            case Got::Line:
                break;
            }
            if (!line.empty())
                break;
        }
        if (line != "REGEDIT4" && line != "Windows Registry Editor Version 5.00")
            return Fail(lineNo_, kNotAnExport);
        for (;;) {
            Got got = ReadLine(Role::Statement, line);
            if (got == Got::End)
                return {};
            if (got == Got::Refused)
                return refusal_;
            const int lineNo = lineNo_;
            const bool comment = inComment_;
            // A trailing backslash continues a hex list on the next line.
            while (!line.empty() && line.back() == '\\') {
                std::string next;
                got = ReadLine(comment ? Role::Comment : Role::Joined, next);
                if (got == Got::End)
                    break;
                line.pop_back();
                line += next;
            }
            if (line.empty() || line[0] == ';')
                continue;
            LoadResult r = line[0] == '[' ? KeyLine(line, lineNo) : ValueLine(line, lineNo);
            if (!r.ok)
                return r;
        }
    }

    // The first non-blank line must be the header; first ends at it.
    static LoadResult CheckHeader(const std::vector<std::string>& lines, std::size_t& first) {
        first = 0;
        while (first < lines.size() && Trimmed(lines[first]).empty())
            ++first;
        if (first >= lines.size())
            return Fail(1, kEmptyFile);
        const std::string header = Trimmed(lines[first]);
        if (header != "REGEDIT4" && header != "Windows Registry Editor Version 5.00")
            return Fail(static_cast<int>(first) + 1, kNotAnExport);
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
    enum class Role { Header, Statement, Joined, Comment };
    enum class Got { Line, End, Refused };

    // The next line without its ending, trimmed of blanks and tabs at both ends. Of a comment
    // line, or a line that continues one, only what decides whether it continues is kept: its
    // first character and the backslashes it ends in. A header that cannot be one, or a
    // statement whose first character already makes it malformed, is refused as soon as that
    // is seen, before the rest of it is read.
    Got ReadLine(Role role, std::string& line) {
        line.clear();
        inComment_ = role == Role::Comment;
        std::string blanks;  // the blanks after the last character kept
        char first = 0;
        bool any = false, started = false;  // started at the first non-blank
        // Of a comment: the backslashes it ends in, and whether it holds nothing else.
        std::size_t backslashes = 0;
        bool onlyBackslashes = true;
        for (int c = source_->Next(); c >= 0; c = source_->Next()) {
            any = true;
            if (c == '\r' || c == '\n') {
                if (c == '\r' && source_->Peek() == '\n')
                    source_->Next();
                break;
            }
            const char ch = static_cast<char>(c);
            if (ch == ' ' || ch == '\t') {
                // A header holds single blanks; of a comment only their place counts.
                if (started && (inComment_ ? blanks.empty()
                                              : role != Role::Header || blanks.size() < 2))
                    blanks.push_back(ch);
                continue;
            }
            if (!started) {
                started = true;
                first = ch;
                if (role == Role::Statement && ch == ';')
                    inComment_ = true;
            }
            if (inComment_) {
                const bool joined = blanks.empty();
                blanks.clear();
                backslashes = ch != '\\' ? 0 : joined ? backslashes + 1 : 1;
                onlyBackslashes = onlyBackslashes && ch == '\\' && joined;
                continue;
            }
            // A statement begins "[", or "\"" or "@" after its key. A line of backslashes
            // alone can give way to the next line: the first character is known for good at
            // the first other one.
            if (role == Role::Statement && first != '[' &&
                (!key_ || (first != '"' && first != '@')) && (first != '\\' || ch != '\\'))
                return Refuse(lineNo_ + 1, key_ ? "expected \"name\"=value or @=value"
                                                 : "value before the first [key] line");
            line += blanks;
            blanks.clear();
            line.push_back(ch);
            if (role == Role::Header && !IsHeaderStart(line))
                return Refuse(lineNo_ + 1, kNotAnExport);
        }
        if (!any)
            return Got::End;
        if (lineNo_ < INT_MAX)
            ++lineNo_;
        if (inComment_ && started) {
            if (role == Role::Statement)
                line.push_back(first);
            if (role == Role::Statement || !onlyBackslashes)
                line.push_back('x');  // stands for what comes before the backslashes
            line.append(backslashes, '\\');
        }
        return Got::Line;
    }

    static bool IsHeaderStart(const std::string& text) {
        return std::string_view("REGEDIT4").starts_with(text) ||
               std::string_view("Windows Registry Editor Version 5.00").starts_with(text);
    }

    Got Refuse(int line, std::string message) {
        refusal_ = Fail(line, std::move(message));
        return Got::Refused;
    }

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
    CharSource* source_ = nullptr;
    int lineNo_ = 0;          // lines read so far
    bool inComment_ = false;  // the line being read is a comment
    LoadResult refusal_;
};

}  // namespace

namespace {

// The text of an export file in the ANSI code page.
std::string Decoded(const std::string& fileBytes) {
    ByteSource bytes{std::string_view(fileBytes)};
    CharSource chars(bytes);
    std::string text;
    for (int c; (c = chars.Next()) >= 0;)
        text.push_back(static_cast<char>(c));
    return text;
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
        header.message = kNotAnExport;
    }
    return header;
}

LoadResult Load(const std::string& fileBytes, registry::RegistryStore& store) {
    ByteSource bytes{std::string_view(fileBytes)};
    CharSource chars(bytes);
    return Loader(store).Run(chars);
}

LoadResult Load(std::istream& in, registry::RegistryStore& store) {
    ByteSource bytes(in);
    CharSource chars(bytes);
    return Loader(store).Run(chars);
}

}  // namespace regfile
