// Tool tips over the movie window, read back from the tip windows.
#include <gtest/gtest.h>

#include <string>

#include <windows.h>

#include <commctrl.h>

#include "tests/plugin/RegionTestSupport.h"

namespace OZKPELLMOR::standin {

namespace {

// What a tip window holds about its one tool.
struct ToolRead {
    bool found = false;
    UINT flags = 0;
    HWND owner = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    std::string text;
};

ToolRead ReadTool(HWND tip) {
    ToolRead read;
    char text[512] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.lpszText = text;
    read.found = SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    read.flags = tool.uFlags;
    read.owner = tool.hwnd;
    read.id = tool.uId;
    read.rect = tool.rect;
    read.text = text;
    return read;
}

class ToolTips : public ShapeTest {
protected:
    // Adds a tip over (10, 20)-(110, 60) and answers its window.
    HWND AddTip(const std::string& text = "Close", int32_t center = 1, int32_t lineLength = 200) {
        auto r = host.Call(
            me, "OzkAddToolTip",
            {host.Rect(10, 20, 110, 60), host.Str(text), host.Int(center), host.Int(lineLength)});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.type, HostTypeInteger);
        return static_cast<HWND>(LongToHandle(r.integer));
    }

    static std::string ClassOf(HWND window) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        return name;
    }
};

TEST_F(ToolTips, AddMakesATipWindowWithOneToolOverTheMovieWindow) {
    HWND tip = AddTip("Close the window");
    ASSERT_TRUE(IsWindow(tip));
    EXPECT_STRCASEEQ(ClassOf(tip).c_str(), "tooltips_class32");
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_FALSE(GetWindowLongA(tip, GWL_STYLE) & TTS_NOPREFIX);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    const ToolRead tool = ReadTool(tip);
    ASSERT_TRUE(tool.found);
    EXPECT_EQ(tool.flags & (TTF_SUBCLASS | TTF_CENTERTIP | TTF_RTLREADING),
              UINT(TTF_SUBCLASS | TTF_CENTERTIP));
    EXPECT_EQ(tool.owner, host.StageWindowHandle());
    EXPECT_EQ(tool.id, reinterpret_cast<UINT_PTR>(tip));
    EXPECT_EQ(tool.rect.left, 10);
    EXPECT_EQ(tool.rect.top, 20);
    EXPECT_EQ(tool.rect.right, 110);
    EXPECT_EQ(tool.rect.bottom, 60);
    EXPECT_EQ(tool.text, "Close the window");
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 200);
}

TEST_F(ToolTips, FlagsFollowTheObjectsProperties) {
    ASSERT_EQ(host.Call(me, "OzkSetProp", {host.Sym("ozknoprefix"), host.Int(1)}).integer, 1);
    ASSERT_EQ(host.Call(me, "OzkSetProp", {host.Sym("ozkrtl"), host.Int(1)}).integer, 1);
    HWND tip = AddTip("A & B", 0, 0);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_NOPREFIX);
    const ToolRead tool = ReadTool(tip);
    EXPECT_EQ(tool.flags & (TTF_SUBCLASS | TTF_CENTERTIP | TTF_RTLREADING),
              UINT(TTF_SUBCLASS | TTF_RTLREADING));
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), -1) << "line length 0: no limit";
}

TEST_F(ToolTips, HotAreaMustBeARect) {
    auto r = host.Call(me, "OzkAddToolTip",
                       {host.Point(10, 20), host.Str("x"), host.Int(0), host.Int(0)});
    EXPECT_EQ(r.code, kBadArgument);
    EXPECT_EQ(LastError(), 6);
}

TEST_F(ToolTips, SuccessLeavesTheLastError) {
    ASSERT_EQ(Build("ozkstar", "ozkor").code, kBadArgument);
    ASSERT_EQ(LastError(), 4);
    HWND tip = AddTip();
    ASSERT_TRUE(IsWindow(tip));
    const int32_t number = HandleToLong(tip);
    host.Call(me, "OzkChangeToolTipText", {host.Int(number), host.Str("Other")});
    host.Call(me, "OzkSetToolTipProp",
              {host.Int(number), host.Int(1), host.Int(2), host.Int(3), host.Int(4), host.Int(5),
               host.Int(6), host.Int(100), host.Int(100)});
    host.Call(me, "OzkRemoveToolTip", {host.Int(number)});
    EXPECT_EQ(LastError(), 4);
}

TEST_F(ToolTips, PropertiesSetColoursAndDelays) {
    HWND tip = AddTip();
    const int32_t number = HandleToLong(tip);
    const LRESULT initial = SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0);
    auto r = host.Call(me, "OzkSetToolTipProp",
                       {host.Int(number), host.Int(255), host.Int(0), host.Int(0), host.Int(-2),
                        host.Int(16), host.Int(288), host.Int(10), host.Int(-1)});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(COLORREF(SendMessageA(tip, TTM_GETTIPTEXTCOLOR, 0, 0)), RGB(255, 0, 0));
    // Components are bytes: -2 is 254 and 288 is 32.
    EXPECT_EQ(COLORREF(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(254, 16, 32));
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 25) << "10 ms becomes 25";
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), initial) << "-1 leaves it";

    // A colour with a -1 component is left alone.
    r = host.Call(me, "OzkSetToolTipProp",
                  {host.Int(number), host.Int(-1), host.Int(255), host.Int(255), host.Int(0),
                   host.Int(0), host.Int(-1), host.Int(3000), host.Int(700)});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(COLORREF(SendMessageA(tip, TTM_GETTIPTEXTCOLOR, 0, 0)), RGB(255, 0, 0));
    EXPECT_EQ(COLORREF(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(254, 16, 32));
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 3000);
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 700);
}

TEST_F(ToolTips, TextChangesAndEmptyTextIsIgnored) {
    HWND tip = AddTip("First");
    const int32_t number = HandleToLong(tip);
    EXPECT_EQ(host.Call(me, "OzkChangeToolTipText", {host.Int(number), host.Str("Second")}).code,
              0);
    EXPECT_EQ(ReadTool(tip).text, "Second");
    EXPECT_EQ(host.Call(me, "OzkChangeToolTipText", {host.Int(number), host.Str("")}).code, 0);
    EXPECT_EQ(ReadTool(tip).text, "Second");
}

TEST_F(ToolTips, MoveTakesANewRectangleButNotAnEmptyOne) {
    HWND tip = AddTip();
    const int32_t number = HandleToLong(tip);
    EXPECT_EQ(
        host.Call(me, "OzkMoveToolTip", {host.Int(number), host.Rect(200, 100, 260, 140)}).code, 0);
    RECT rect = ReadTool(tip).rect;
    EXPECT_EQ(rect.left, 200);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 260);
    EXPECT_EQ(rect.bottom, 140);

    EXPECT_EQ(host.Call(me, "OzkMoveToolTip", {host.Int(number), host.Rect(10, 10, 10, 40)}).code,
              kFailure);
    EXPECT_EQ(LastError(), 11);
    rect = ReadTool(tip).rect;
    EXPECT_EQ(rect.left, 200);

    EXPECT_EQ(host.Call(me, "OzkMoveToolTip", {host.Int(number), host.Int(5)}).code, kBadArgument);
    EXPECT_EQ(LastError(), 6);
}

TEST_F(ToolTips, RemoveDestroysTheTipWindow) {
    HWND tip = AddTip();
    const int32_t number = HandleToLong(tip);
    EXPECT_EQ(host.Call(me, "OzkRemoveToolTip", {host.Int(number)}).code, 0);
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(host.Call(me, "OzkRemoveToolTip", {host.Int(number)}).code, kBadArgument)
        << "no longer a window";
    EXPECT_EQ(LastError(), 6);
}

TEST_F(ToolTips, OnlyTipsMadeHereAreTouched) {
    // A tool-tip window the plug-in did not make, the host's own windows and 0.
    HWND foreign = CreateWindowExA(0, "tooltips_class32", nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   host.MainWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(IsWindow(foreign));
    for (HWND window : {foreign, host.StageWindowHandle(), host.MainWindow(), HWND(nullptr)}) {
        const int32_t number = HandleToLong(window);
        EXPECT_EQ(host.Call(me, "OzkRemoveToolTip", {host.Int(number)}).code, kBadArgument);
        EXPECT_EQ(LastError(), 6);
        EXPECT_EQ(host.Call(me, "OzkChangeToolTipText", {host.Int(number), host.Str("x")}).code,
                  kBadArgument);
        EXPECT_EQ(host.Call(me, "OzkMoveToolTip", {host.Int(number), host.Rect(0, 0, 9, 9)}).code,
                  kBadArgument);
        EXPECT_EQ(host.Call(me, "OzkSetToolTipProp",
                            {host.Int(number), host.Int(1), host.Int(2), host.Int(3), host.Int(4),
                             host.Int(5), host.Int(6), host.Int(100), host.Int(100)})
                      .code,
                  kBadArgument);
    }
    EXPECT_TRUE(IsWindow(foreign));
    EXPECT_TRUE(IsWindow(host.StageWindowHandle()));
    EXPECT_EQ(SendMessageA(foreign, TTM_GETTOOLCOUNT, 0, 0), 0);
    DestroyWindow(foreign);
}

TEST_F(ToolTips, NoMovieWindowMakesNoTip) {
    host.stage.kind = 2;
    auto r = host.Call(me, "OzkAddToolTip",
                       {host.Rect(10, 20, 110, 60), host.Str("x"), host.Int(0), host.Int(0)});
    EXPECT_EQ(r.code, kFailure);
    EXPECT_EQ(LastError(), 2);
}

}  // namespace

}  // namespace OZKPELLMOR::standin
