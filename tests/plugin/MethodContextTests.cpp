// How a method reads its arguments and reaches the host: the method context over the
// stand-in host's services, with a script object laid out in test memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/MethodContext.h"
#include "plugin/host/StandInHost.h"

namespace OZKPELLMOR::standin {
namespace {

class MethodContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&object, 0xCD, sizeof(object));
        object.values = &host.values;
        object.lists = &host.lists;
        object.player = &host.player;
        object.windowHandles = &host.handles;
        object.lastError = 0;
        object.activeMovie = nullptr;
    }

    void TearDown() override {
        for (HostValue& value : args)
            host.ReleaseValue(value);
        host.ReleaseValue(record.result);
        EXPECT_EQ(host.LiveValues(), 0u);
        EXPECT_EQ(host.ExtraServiceRefs(), 0) << host.ServiceRefReport();
        for (const std::string& fault : host.Faults())
            ADD_FAILURE() << fault;
    }

    // A call record with "me" and the given arguments.
    HostCallRecord& Record(std::vector<HostValue> values) {
        args = {HostValue{HostTypeVoid, 0}};
        args.insert(args.end(), values.begin(), values.end());
        record = {1, static_cast<int32_t>(args.size()), args.data(), {HostTypeVoid, 0}};
        return record;
    }

    Host host;
    ScriptObject object;
    std::vector<HostValue> args;
    HostCallRecord record{};
};

TEST_F(MethodContextTest, ArgumentsAreNumberedAfterMe) {
    MethodContext call(object, Record({host.Int(42), host.Sym("ozkor")}));
    EXPECT_EQ(call.ArgCount(), 3);
    EXPECT_FALSE(call.HasArg(0));
    EXPECT_TRUE(call.HasArg(1));
    EXPECT_TRUE(call.HasArg(2));
    EXPECT_FALSE(call.HasArg(3));
    int32_t number = -1;
    EXPECT_TRUE(call.ReadInteger(1, number));
    EXPECT_EQ(number, 42);
    HostSymbol symbol = 0;
    EXPECT_TRUE(call.ReadSymbol(2, symbol));
    EXPECT_EQ(symbol, host.Intern("ozkor"));
    EXPECT_EQ(call.ArgType(3), HostTypeVoid);
    EXPECT_FALSE(call.ReadInteger(3, number));
    EXPECT_EQ(number, 0);
}

TEST_F(MethodContextTest, TypedReadsRefuseOtherTypesAndZeroTheOutput) {
    MethodContext call(
        object, Record({host.Int(7), host.Str("text"), host.Point(3, 4), host.Rect(1, 2, 3, 4)}));
    HostSymbol symbol = 99;
    EXPECT_FALSE(call.ReadSymbol(1, symbol));
    EXPECT_EQ(symbol, 0);
    HostPoint point{9, 9};
    EXPECT_FALSE(call.ReadPoint(2, point));
    EXPECT_EQ(point.h, 0);
    EXPECT_EQ(point.v, 0);
    HostRect rect{9, 9, 9, 9};
    EXPECT_FALSE(call.ReadRect(3, rect));
    EXPECT_EQ(rect.left, 0);
    char text[8] = "xxxxxxx";
    EXPECT_FALSE(call.ReadString(4, text, sizeof(text)));
    EXPECT_EQ(text[0], '\0');
    int32_t count = 5;
    EXPECT_FALSE(call.ReadListCount(1, count));
    EXPECT_EQ(count, 0);

    EXPECT_TRUE(call.ReadPoint(3, point));
    EXPECT_EQ(point.h, 3);
    EXPECT_EQ(point.v, 4);
    EXPECT_TRUE(call.ReadRect(4, rect));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 3);
    EXPECT_EQ(rect.bottom, 4);
}

TEST_F(MethodContextTest, StringsAreCutToTheBufferAndTerminated) {
    MethodContext call(object, Record({host.Str("abcdefghij"), host.Str("")}));
    char buffer[6];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_TRUE(call.ReadString(1, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_TRUE(call.ReadString(2, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(call.ReadString(1, buffer, 0));
}

TEST_F(MethodContextTest, ListItemsAreReadAndTheirCopiesReleased) {
    MethodContext call(
        object, Record({host.List({host.Point(1, 2), host.Point(30, 40), host.Str("no point")})}));
    int32_t count = 0;
    ASSERT_TRUE(call.ReadListCount(1, count));
    EXPECT_EQ(count, 3);
    const size_t live = host.LiveValues();
    HostPoint point{};
    ASSERT_TRUE(call.ReadListPoint(1, 2, point));
    EXPECT_EQ(point.h, 30);
    EXPECT_EQ(point.v, 40);
    EXPECT_FALSE(call.ReadListPoint(1, 3, point));
    EXPECT_FALSE(call.ReadListPoint(1, 4, point));
    EXPECT_FALSE(call.ReadListPoint(1, 0, point));
    int32_t type = 0;
    ASSERT_TRUE(call.ListItemType(1, 3, type));
    EXPECT_EQ(type, HostTypeString);
    EXPECT_EQ(host.LiveValues(), live);
}

TEST_F(MethodContextTest, ListsWithoutTheListInterfaceCannotBeRead) {
    object.lists = nullptr;
    MethodContext call(object, Record({host.List({host.Point(1, 2)})}));
    int32_t count = 7;
    EXPECT_FALSE(call.ReadListCount(1, count));
    EXPECT_EQ(count, 0);
    HostPoint point{};
    EXPECT_FALSE(call.ReadListPoint(1, 1, point));
}

TEST_F(MethodContextTest, ResultsAndLastError) {
    {
        MethodContext call(object, Record({}));
        call.SetStringResult("done");
        EXPECT_EQ(call.Fail(ResultBadArgument, ErrWrongType), ResultBadArgument);
        EXPECT_EQ(object.lastError, 6);
        EXPECT_EQ(call.SucceedClearingError(), ResultSuccess);
        EXPECT_EQ(object.lastError, 0);
    }
    ASSERT_EQ(record.result.kind, static_cast<uint32_t>(HostTypeString));
    char text[16];
    ASSERT_EQ(host.values.ValueToString(&record.result, text, sizeof(text)), HostOk);
    EXPECT_STREQ(text, "done");
}

TEST_F(MethodContextTest, MovieWindowThroughPlayerMovieAndStage) {
    {
        MethodContext call(object, Record({}));
        HWND window = nullptr;
        ASSERT_TRUE(call.MovieWindow(window));
        EXPECT_EQ(window, host.StageWindowHandle());
        ASSERT_TRUE(call.MovieWindow(window));
        // The movie is fetched once per call and held until the call ends.
        EXPECT_EQ(host.movie.ExtraRefs(), 1);
        EXPECT_EQ(object.activeMovie, &host.movie);
        EXPECT_EQ(host.stage.ExtraRefs(), 0);
    }
    EXPECT_EQ(host.movie.ExtraRefs(), 0);
    EXPECT_EQ(object.activeMovie, nullptr);
}

TEST_F(MethodContextTest, NoMovieWindowWhenAnyHostStepFails) {
    HWND window = reinterpret_cast<HWND>(1);
    host.stage.kind = 2;
    {
        MethodContext call(object, Record({}));
        EXPECT_FALSE(call.MovieWindow(window));
        EXPECT_EQ(window, nullptr);
    }
    host.stage.kind = 1;
    host.movie.noStage = true;
    {
        MethodContext call(object, Record({}));
        EXPECT_FALSE(call.MovieWindow(window));
    }
    host.player.noMovie = true;
    {
        MethodContext call(object, Record({}));
        EXPECT_FALSE(call.MovieWindow(window));
        EXPECT_EQ(call.ActiveMovie(), nullptr);
    }
    object.player = nullptr;
    {
        MethodContext call(object, Record({}));
        EXPECT_FALSE(call.MovieWindow(window));
    }
}

TEST_F(MethodContextTest, HostHandles) {
    MethodContext call(object, Record({}));
    HINSTANCE instance = nullptr;
    HWND main = nullptr;
    ASSERT_TRUE(call.HostHandles(instance, main));
    EXPECT_EQ(instance, GetModuleHandleA(nullptr));
    EXPECT_EQ(main, host.MainWindow());
    host.handles.fail = true;
    EXPECT_FALSE(call.HostHandles(instance, main));
    EXPECT_EQ(main, nullptr);
    object.windowHandles = nullptr;
    EXPECT_FALSE(call.HostHandles(instance, main));
}

}  // namespace
}  // namespace OZKPELLMOR::standin
