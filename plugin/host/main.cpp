// The stand-in host as a program: loads the plug-in, registers it, creates one script object
// and runs a script of method calls on the stage window, one call per line, e.g.
//     OzkBuildShape #ozkellipse, #ozkreplace, point(0, 0), point(300, 200)
//     OzkSetWindowShape
//     OzkGetErrorString 7
// Values: integers, #symbols, "strings", point(x, y), rect(left, top, right, bottom) and
// [lists]. Lines starting with "--" are comments. Each call prints its result code and value.
// Usage: OzkStandInHost [--projector|--authoring] [--keep] [script file]   (stdin by default)
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "plugin/host/StandInHost.h"

using namespace OZKPELLMOR;
using namespace OZKPELLMOR::standin;

namespace {

class LineParser {
public:
    LineParser(Host& host, const std::string& text) : host_(host), text_(text) {}

    bool Values(std::vector<HostValue>& out, char end) {
        Skip();
        if (Peek() == end || (end == '\0' && AtEnd()))
            return true;
        for (;;) {
            HostValue value{};
            if (!Value(value))
                return false;
            out.push_back(value);
            Skip();
            if (Peek() != ',')
                return true;
            ++pos_;
        }
    }

    std::string Word() {
        Skip();
        const size_t start = pos_;
        while (!AtEnd() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    bool Expect(char c) {
        Skip();
        if (Peek() != c)
            return false;
        ++pos_;
        return true;
    }

    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Skip() {
        while (!AtEnd() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
    }

    bool Numbers(std::vector<int32_t>& numbers, size_t count) {
        if (!Expect('('))
            return false;
        for (size_t i = 0; i < count; ++i) {
            if (i && !Expect(','))
                return false;
            Skip();
            char* end = nullptr;
            const long n = std::strtol(text_.c_str() + pos_, &end, 10);
            if (end == text_.c_str() + pos_)
                return false;
            pos_ = static_cast<size_t>(end - text_.c_str());
            numbers.push_back(static_cast<int32_t>(n));
        }
        return Expect(')');
    }

    bool Value(HostValue& value) {
        Skip();
        const char c = Peek();
        if (c == '#') {
            ++pos_;
            value = host_.Sym(Word());
            return true;
        }
        if (c == '"') {
            const size_t close = text_.find('"', pos_ + 1);
            if (close == std::string::npos)
                return false;
            value = host_.Str(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return true;
        }
        if (c == '[') {
            ++pos_;
            std::vector<HostValue> items;
            if (!Values(items, ']') || !Expect(']'))
                return false;
            value = host_.List(items);
            return true;
        }
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            char* end = nullptr;
            const long n = std::strtol(text_.c_str() + pos_, &end, 10);
            pos_ = static_cast<size_t>(end - text_.c_str());
            value = host_.Int(static_cast<int32_t>(n));
            return true;
        }
        const std::string word = Word();
        std::vector<int32_t> n;
        if (word == "point" && Numbers(n, 2)) {
            value = host_.Point(n[0], n[1]);
            return true;
        }
        if (word == "rect" && Numbers(n, 4)) {
            value = host_.Rect(n[0], n[1], n[2], n[3]);
            return true;
        }
        return false;
    }

    Host& host_;
    const std::string& text_;
    size_t pos_ = 0;
};

void PrintResult(const std::string& method, const CallResult& result) {
    std::printf("%s -> 0x%08X", method.c_str(), static_cast<unsigned>(result.code));
    switch (result.type) {
    case HostTypeInteger:
        std::printf(" %d", result.integer);
        break;
    case HostTypeSymbol:
        std::printf(" #%s", result.SymbolName().c_str());
        break;
    case HostTypeString:
        std::printf(" \"%s\"", result.text.c_str());
        break;
    default:
        break;
    }
    std::printf("\n");
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool keepOpen = false;
    const char* scriptPath = nullptr;
    Host host;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--projector") == 0)
            host.appInfo.name = "Projector";
        else if (std::strcmp(argv[i], "--authoring") == 0)
            host.appInfo.name = "Authoring";
        else if (std::strcmp(argv[i], "--keep") == 0)
            keepOpen = true;
        else
            scriptPath = argv[i];
    }
    if (!host.Load() || host.Register() != HostOk) {
        for (const std::string& fault : host.Faults())
            std::fprintf(stderr, "%s\n", fault.c_str());
        std::fprintf(stderr, "the plug-in could not be loaded and registered\n");
        return 2;
    }
    ScriptInstance* object = host.NewObject();
    if (!object)
        return 2;

    std::ifstream file;
    if (scriptPath) {
        file.open(scriptPath);
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", scriptPath);
            return 2;
        }
    }
    std::istream& in = scriptPath ? file : std::cin;
    std::string line;
    int status = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line.rfind("--", 0) == 0)
            continue;
        LineParser parser(host, line);
        const std::string method = parser.Word();
        std::vector<HostValue> args;
        if (method.empty() || !parser.Values(args, '\0') || !parser.AtEnd()) {
            std::fprintf(stderr, "cannot read: %s\n", line.c_str());
            for (HostValue& value : args)
                host.ReleaseValue(value);
            status = 1;
            continue;
        }
        PrintResult(method, host.Call(object, method, std::move(args)));
        PumpMessages();
    }
    if (keepOpen) {
        MSG msg;
        while (IsWindow(host.MainWindow()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    host.DeleteObject(object);
    for (const std::string& fault : host.Faults()) {
        std::fprintf(stderr, "host: %s\n", fault.c_str());
        status = 1;
    }
    return status;
}
