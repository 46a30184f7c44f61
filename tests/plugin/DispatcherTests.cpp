// The script method dispatcher: argument counts, "new", errors and properties, called by
// name through the stand-in host.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/plugin/StandInFixture.h"

namespace OZKPELLMOR::standin {
namespace {

constexpr HostResult TooFewArguments = static_cast<HostResult>(0x800407E5);
constexpr HostResult BadArgument = static_cast<HostResult>(0x800407EF);
constexpr HostResult Failure = static_cast<HostResult>(0x800407D2);

class Dispatcher : public StandInTest {
protected:
    void SetUp() override {
        StandInTest::SetUp();
        object = NewObject();
        ASSERT_NE(object, nullptr);
    }

    int32_t LastError() { return Call("OzkGetLastError").integer; }

    CallResult Call(const std::string& method, std::vector<HostValue> args = {}) {
        return host.Call(object, method, std::move(args));
    }

    // A value of no known type: reading it is recorded as a fault.
    static HostValue Bogus() { return {0xBAD, 0}; }

    ScriptInstance* object = nullptr;
};

using ErrorTexts = Dispatcher;

TEST_F(ErrorTexts, EveryNumberAndItsText) {
    const std::pair<int32_t, const char*> texts[] = {
        {0, "No error"},
        {2, "Could not access the needed function"},
        {3, "Could not allocate needed memory"},
        {4, "Unknown type or too many or few parameters"},
        {6, "A parameter's data type was incorrect"},
        {7, "The specied window was unable to be created"},
        {8, "No shape has been defined yet"},
        {9, "Internal Table is Filled"},
        {10, "Could not set the titlebar, system failure"},
        {11, "Value of variable can not be used"},
        {1, "Need to specify a valid error code"},
        {5, "Need to specify a valid error code"},
        {12, "Need to specify a valid error code"},
        {-1, "Need to specify a valid error code"},
        {-2147483647 - 1, "Need to specify a valid error code"},
    };
    for (const auto& [code, text] : texts) {
        const CallResult result = Call("OzkGetErrorString", {host.Int(code)});
        EXPECT_EQ(result.code, HostOk);
        EXPECT_EQ(result.type, HostTypeString);
        EXPECT_EQ(result.text, text) << code;
    }
}

TEST_F(ErrorTexts, CodeIsUsedOnlyWithExactlyOneArgument) {
    EXPECT_EQ(Call("OzkGetErrorString").text, "Need to specify a valid error code");
    EXPECT_EQ(Call("OzkGetErrorString", {host.Int(0), host.Int(0)}).text,
              "Need to specify a valid error code");
    EXPECT_EQ(Call("OzkGetErrorString", {host.Int(7)}).text,
              "The specied window was unable to be created");
    // Getting a text does not change the last error.
    EXPECT_EQ(LastError(), 0);
}

using ArgumentCounts = Dispatcher;

TEST_F(ArgumentCounts, TooFewArgumentsAnswerBeforeAnyArgumentIsRead) {
    const std::pair<const char*, int32_t> minimums[] = {
        {"OzkBuildShape", 3},      {"OzkAddToolTip", 5},      {"OzkChangeToolTipText", 3},
        {"OzkMoveToolTip", 3},     {"OzkSetToolTipProp", 10}, {"OzkRemoveToolTip", 2},
        {"OzkHideFromTaskBar", 2}, {"OzkGetProp", 2},         {"OzkSetProp", 2},
    };
    for (const auto& [method, minimum] : minimums) {
        // Clear the last error through a method that sets it to 0.
        ASSERT_EQ(Call("new").code, HostOk);
        ASSERT_EQ(LastError(), 0);
        std::vector<HostValue> args(static_cast<size_t>(minimum - 2), Bogus());
        const CallResult result = Call(method, std::move(args));
        EXPECT_EQ(result.code, TooFewArguments) << method;
        EXPECT_EQ(result.type, HostTypeVoid) << method;
        EXPECT_EQ(LastError(), 4) << method;
    }
    EXPECT_TRUE(host.Faults().empty()) << Faults();
}

TEST_F(ArgumentCounts, CallWithoutMeIsRefused) {
    const CallResult result = host.CallRaw(object, host.MethodNumber("OzkGetLastError"), {});
    EXPECT_EQ(result.code, HostOk);  // "me" alone is enough
    HostCallRecord record{host.MethodNumber("OzkGetLastError"), 0, nullptr, {HostTypeVoid, 0}};
    EXPECT_EQ(object->methods->CallHandler(&record), TooFewArguments);
    EXPECT_EQ(record.result.kind, static_cast<uint32_t>(HostTypeVoid));
    EXPECT_EQ(LastError(), 4);
}

TEST_F(ArgumentCounts, UnknownMethodNumberIsRefusedWithoutChangingTheLastError) {
    EXPECT_EQ(host.CallRaw(object, 16, {}).code, BadArgument);
    EXPECT_EQ(host.CallRaw(object, -1, {}).code, BadArgument);
    EXPECT_EQ(LastError(), 0);
}

using NewMethod = StandInTest;

struct HostKind {
    const char* name;
    const char* version;
    int32_t major;
    bool authoring;
};

TEST_F(NewMethod, HostVersionAndAuthoringFlag) {
    const HostKind kinds[] = {
        {"Authoring", "6.5", 6, true},
        {"Author", "7.0.2", 7, true},
        {"AUTHORING", "8.5", 0, true},
        {"Projector", "6.0", 6, false},
        {"Projector", "7", 7, false},
        {"Projector", "10.1", 0, false},
        {"Auth", "5.0", 0, false},
        {"Projector", "", 0, false},
        {"Projector Authoring", "7.0", 7, false},
    };
    for (const HostKind& kind : kinds) {
        host.appInfo.name = kind.name;
        host.appInfo.version = kind.version;
        ScriptInstance* object = NewObject();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(State(object).hostMajorVersion, kind.major) << kind.name << " " << kind.version;
        EXPECT_EQ(State(object).authoring != 0, kind.authoring) << kind.name << " " << kind.version;
        DeleteObject(object);
    }
}

TEST_F(NewMethod, HostWithoutApplicationInformation) {
    host.appInfo.name = "Authoring";
    host.appInfo.version = "7.0";
    host.appInfo.fail = true;
    ScriptInstance* failing = NewObject();
    ASSERT_NE(failing, nullptr);
    EXPECT_EQ(State(failing).hostMajorVersion, 0);
    EXPECT_EQ(State(failing).authoring, 0);

    host.appInfo.fail = false;
    host.SetMissing(Host::AppInfoId, true);
    ScriptInstance* missing = NewObject();
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(State(missing).hostMajorVersion, 0);
    EXPECT_EQ(State(missing).authoring, 0);
    EXPECT_EQ(host.appInfo.ExtraRefs(), 0);
}

TEST_F(NewMethod, NewClearsTheLastError) {
    ScriptInstance* object = NewObject();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(host.Call(object, "OzkGetProp").code, TooFewArguments);
    EXPECT_EQ(host.Call(object, "OzkGetLastError").integer, 4);
    EXPECT_EQ(host.Call(object, "new").code, HostOk);
    EXPECT_EQ(host.Call(object, "OzkGetLastError").integer, 0);
}

using LastErrors = Dispatcher;

TEST_F(LastErrors, EachObjectKeepsItsOwnAndSuccessLeavesItAlone) {
    ScriptInstance* other = NewObject();
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Call("OzkSetProp", {host.Sym("ozkrtl"), host.Str("yes")}).code, BadArgument);
    EXPECT_EQ(LastError(), 6);
    EXPECT_EQ(host.Call(other, "OzkGetLastError").integer, 0);
    EXPECT_EQ(Call("OzkGetProp", {host.Sym("ozkrtl")}).code, HostOk);
    EXPECT_EQ(Call("OzkSetProp", {host.Sym("ozkrtl"), host.Int(1)}).code, HostOk);
    EXPECT_EQ(LastError(), 6);
    const CallResult last = Call("OzkGetLastError");
    EXPECT_EQ(last.type, HostTypeInteger);
    EXPECT_EQ(last.integer, 6);
}

TEST_F(LastErrors, MissingValueInterfaceAnswersNoFunction) {
    host.SetMissing(Host::ValuesId, true);
    ScriptInstance* blind = NewObject();
    ASSERT_NE(blind, nullptr);
    EXPECT_EQ(State(blind).lastError, 0);
    for (const char* method :
         {"OzkGetLastError", "OzkGetErrorString", "OzkClearWindow", "OzkSetTitleBar"}) {
        EXPECT_EQ(host.Call(blind, method).code, Failure) << method;
        EXPECT_EQ(State(blind).lastError, 2) << method;
    }
    EXPECT_EQ(host.Call(blind, "OzkGetProp", {host.Sym("ozkrtl")}).code, Failure);
    EXPECT_EQ(host.Call(blind, "new").code, HostOk);
    EXPECT_EQ(State(blind).lastError, 0);
}

using Properties = Dispatcher;

TEST_F(Properties, FillModeSetAndGet) {
    CallResult get = Call("OzkGetProp", {host.Sym("ozkpolyfillmode")});
    EXPECT_EQ(get.type, HostTypeSymbol);
    EXPECT_EQ(get.SymbolName(), "ozkalternate");

    CallResult set = Call("OzkSetProp", {host.Sym("ozkpolyfillmode"), host.Sym("ozkwinding")});
    EXPECT_EQ(set.code, HostOk);
    EXPECT_EQ(set.type, HostTypeInteger);
    EXPECT_EQ(set.integer, 1);
    EXPECT_EQ(State(object).polyFillMode, 2);
    EXPECT_EQ(Call("OzkGetProp", {host.Sym("OZKPOLYFILLMODE")}).SymbolName(), "ozkwinding");

    set = Call("OzkSetProp", {host.Sym("ozkpolyfillmode"), host.Sym("foo")});
    EXPECT_EQ(set.code, HostOk);
    EXPECT_EQ(set.integer, 0);
    EXPECT_EQ(Call("OzkGetProp", {host.Sym("ozkpolyfillmode")}).SymbolName(), "ozkwinding");

    set = Call("OzkSetProp", {host.Sym("ozkpolyfillmode"), host.Sym("ozkalternate")});
    EXPECT_EQ(set.integer, 1);
    EXPECT_EQ(State(object).polyFillMode, 1);
    EXPECT_EQ(LastError(), 0);
}

TEST_F(Properties, FillModeOfTheWrongTypeOrWithoutValue) {
    CallResult set = Call("OzkSetProp", {host.Sym("ozkpolyfillmode"), host.Int(2)});
    EXPECT_EQ(set.code, BadArgument);
    EXPECT_EQ(set.type, HostTypeVoid);
    EXPECT_EQ(LastError(), 6);
    EXPECT_EQ(State(object).polyFillMode, 1);

    set = Call("OzkSetProp", {host.Sym("ozkpolyfillmode")});
    EXPECT_EQ(set.code, TooFewArguments);
    EXPECT_EQ(LastError(), 4);
}

TEST_F(Properties, FlagsTakeAnyNonZeroInteger) {
    for (const char* flag : {"ozknoprefix", "ozkrtl"}) {
        CallResult set = Call("OzkSetProp", {host.Sym(flag), host.Int(5)});
        EXPECT_EQ(set.code, HostOk);
        EXPECT_EQ(set.integer, 1) << flag;
        EXPECT_EQ(Call("OzkGetProp", {host.Sym(flag)}).integer, 1) << flag;
        set = Call("OzkSetProp", {host.Sym(flag), host.Int(-1)});
        EXPECT_EQ(set.integer, 1) << flag;
        set = Call("OzkSetProp", {host.Sym(flag), host.Int(0)});
        EXPECT_EQ(set.integer, 0) << flag;
        CallResult get = Call("OzkGetProp", {host.Sym(flag)});
        EXPECT_EQ(get.type, HostTypeInteger);
        EXPECT_EQ(get.integer, 0) << flag;
    }
    EXPECT_EQ(State(object).noPrefix, 0);
    EXPECT_EQ(Call("OzkSetProp", {host.Sym("ozknoprefix"), host.Int(1)}).integer, 1);
    EXPECT_EQ(State(object).noPrefix, 1);
    EXPECT_EQ(State(object).rightToLeft, 0);
}

TEST_F(Properties, FlagOfTheWrongTypeOrWithoutValue) {
    for (const char* flag : {"ozknoprefix", "ozkrtl"}) {
        ASSERT_EQ(Call("new").code, HostOk);
        CallResult set = Call("OzkSetProp", {host.Sym(flag), host.Str("1")});
        EXPECT_EQ(set.code, BadArgument) << flag;
        EXPECT_EQ(set.type, HostTypeVoid);
        EXPECT_EQ(LastError(), 6);
        set = Call("OzkSetProp", {host.Sym(flag), host.Sym("TRUE")});
        EXPECT_EQ(set.code, BadArgument) << flag;
        set = Call("OzkSetProp", {host.Sym(flag)});
        EXPECT_EQ(set.code, TooFewArguments) << flag;
        EXPECT_EQ(LastError(), 4);
    }
    EXPECT_EQ(Call("OzkGetProp", {host.Sym("ozknoprefix")}).integer, 0);
}

TEST_F(Properties, UnknownPropertiesAnswerNothing) {
    ASSERT_EQ(Call("OzkSetProp", {host.Sym("ozkrtl"), host.Str("bad")}).code, BadArgument);
    ASSERT_EQ(LastError(), 6);
    for (const HostValue& property : {host.Sym("ozkcolour"), host.Sym("ozkpellmorversion")}) {
        // Read-only and unknown properties cannot be set; without a value that is no error.
        CallResult set = Call("OzkSetProp", {property});
        EXPECT_EQ(set.code, HostOk);
        EXPECT_EQ(set.type, HostTypeVoid);
    }
    CallResult get = Call("OzkGetProp", {host.Sym("ozkcolour")});
    EXPECT_EQ(get.code, HostOk);
    EXPECT_EQ(get.type, HostTypeVoid);
    get = Call("OzkGetProp", {host.Str("ozkrtl")});
    EXPECT_EQ(get.code, HostOk);
    EXPECT_EQ(get.type, HostTypeVoid);
    CallResult set = Call("OzkSetProp", {host.Int(3), host.Int(1)});
    EXPECT_EQ(set.code, HostOk);
    EXPECT_EQ(set.type, HostTypeVoid);
    EXPECT_EQ(LastError(), 6);
}

TEST_F(Properties, PlugInVersion) {
    const CallResult get = Call("OzkGetProp", {host.Sym("ozkpellmorversion")});
    EXPECT_EQ(get.code, HostOk);
    EXPECT_EQ(get.type, HostTypeString);
    EXPECT_EQ(get.text, "1.00");
}

TEST_F(Properties, CommonControlsVersionAsTheLibraryReportsIt) {
    struct Version {
        DWORD size, major, minor, build, platform;
    };
    using GetVersion = HRESULT(CALLBACK*)(Version*);
    HMODULE library = LoadLibraryA("comctl32.dll");
    ASSERT_NE(library, nullptr);
    auto getVersion = reinterpret_cast<GetVersion>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    std::string expected = "4.0";
    if (getVersion) {
        Version version{sizeof(Version), 0, 0, 0, 0};
        ASSERT_EQ(getVersion(&version), S_OK);
        expected = std::to_string(version.major) + "." + std::to_string(version.minor);
    }
    FreeLibrary(library);

    const CallResult get = Call("OzkGetProp", {host.Sym("ozkcommctrlversion")});
    EXPECT_EQ(get.code, HostOk);
    EXPECT_EQ(get.type, HostTypeString);
    EXPECT_EQ(get.text, expected);
}

}  // namespace
}  // namespace OZKPELLMOR::standin
