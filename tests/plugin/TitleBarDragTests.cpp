// The stored shape as a title bar: presses inside it drag the host's main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/plugin/RegionTestSupport.h"

namespace OZKPELLMOR::standin {

namespace {

// Records the caption presses the main window receives and swallows them, so that no modal
// move loop starts.
struct DragRecorder {
    int presses = 0;
    WPARAM hitTest = 0;
    LPARAM position = -1;
};

LRESULT CALLBACK RecordDrag(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    if (message == WM_NCLBUTTONDOWN) {
        auto* recorder = reinterpret_cast<DragRecorder*>(data);
        ++recorder->presses;
        recorder->hitTest = wParam;
        recorder->position = lParam;
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

class TitleBarDrag : public ShapeTest {
protected:
    void SetUp() override {
        ShapeTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(SetWindowSubclass(host.MainWindow(), RecordDrag, 1,
                                      reinterpret_cast<DWORD_PTR>(&drags)));
    }

    void TearDown() override {
        RemoveWindowSubclass(host.MainWindow(), RecordDrag, 1);
        ShapeTest::TearDown();
    }

    // An ellipse 200 x 100 at the movie window's top-left corner, as the title bar.
    HostResult EllipseTitleBar(ScriptInstance* object) {
        EXPECT_EQ(
            Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(200, 100)}, object)
                .code,
            0);
        return host.Call(object, "OzkSetTitleBar").code;
    }

    // A left button press on the movie window at client point (x, y), taken off the queue the
    // way the host's message loop does.
    void Press(int x, int y) {
        PostMessageA(host.StageWindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
    }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    DragRecorder drags;
};

TEST_F(TitleBarDrag, PressInsideTheShapeDragsTheMainWindow) {
    ASSERT_EQ(EllipseTitleBar(me), 0);
    EXPECT_EQ(LastError(), 0);
    Press(100, 50);
    EXPECT_EQ(drags.presses, 1);
    EXPECT_EQ(drags.hitTest, WPARAM(HTCAPTION));
    EXPECT_EQ(drags.position, 0);
}

TEST_F(TitleBarDrag, PressOutsideTheShapeOrAnotherMessageDoesNot) {
    ASSERT_EQ(EllipseTitleBar(me), 0);
    Press(190, 90);  // inside the box, outside the ellipse
    Press(300, 50);
    PostMessageA(host.StageWindowHandle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 50));
    PostMessageA(host.StageWindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    PostMessageA(host.MainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    Pump();
    EXPECT_EQ(drags.presses, 0);
}

TEST_F(TitleBarDrag, OnePressDragsOnceWhateverTheNumberOfHooks) {
    ScriptInstance* second = NewObject();
    ASSERT_EQ(EllipseTitleBar(me), 0);
    ASSERT_EQ(EllipseTitleBar(second), 0);
    Press(100, 50);
    EXPECT_EQ(drags.presses, 1);

    // A look at the queue without removing the press does not drag; taking it off does.
    PostMessageA(host.StageWindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 51));
    MSG msg;
    ASSERT_TRUE(
        PeekMessageA(&msg, host.StageWindowHandle(), WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    EXPECT_EQ(drags.presses, 1);
    Pump();
    EXPECT_EQ(drags.presses, 2);
}

TEST_F(TitleBarDrag, ClearTitleBarStopsTheDrag) {
    ASSERT_EQ(EllipseTitleBar(me), 0);
    ASSERT_EQ(Build("ozkstar", "ozkor").code, kBadArgument);  // last error 4
    EXPECT_EQ(host.Call(me, "OzkClearTitleBar").code, 0);
    EXPECT_EQ(LastError(), 4) << "clearing leaves the last error";
    Press(100, 50);
    EXPECT_EQ(drags.presses, 0);
    EXPECT_EQ(host.Call(me, "OzkClearTitleBar").code, 0) << "clearing twice is harmless";
}

TEST_F(TitleBarDrag, DestroyingTheObjectRemovesItsTitleBar) {
    ScriptInstance* other = NewObject();
    ASSERT_EQ(EllipseTitleBar(other), 0);
    DeleteObject(other);
    Press(100, 50);
    EXPECT_EQ(drags.presses, 0);
}

TEST_F(TitleBarDrag, NeedsAStoredShape) {
    EXPECT_EQ(host.Call(me, "OzkSetTitleBar").code, kFailure);
    EXPECT_EQ(LastError(), 8);

    // The shape went to the window: it must be built again first.
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(200, 100)}).code, 0);
    ASSERT_EQ(SetShape().code, 0);
    EXPECT_EQ(host.Call(me, "OzkSetTitleBar").code, kFailure);
    EXPECT_EQ(LastError(), 8);

    // The title bar takes the shape: a second title bar needs a new one.
    ASSERT_EQ(EllipseTitleBar(me), 0);
    EXPECT_EQ(host.Call(me, "OzkSetTitleBar").code, kFailure);
    EXPECT_EQ(LastError(), 8);
    Press(100, 50);
    EXPECT_EQ(drags.presses, 1);
}

TEST_F(TitleBarDrag, FifteenTitleBarsAtMostAndTheSixteenthIsRefused) {
    std::vector<ScriptInstance*> objects{me};
    for (int i = 1; i < 16; ++i)
        objects.push_back(NewObject());
    for (int i = 0; i < 15; ++i)
        ASSERT_EQ(EllipseTitleBar(objects[i]), 0) << "title bar " << i + 1;
    EXPECT_EQ(EllipseTitleBar(objects[15]), kFailure);
    EXPECT_EQ(LastError(objects[15]), 9);

    // The refused shape stays with its object and goes in once a slot is free.
    EXPECT_EQ(host.Call(objects[3], "OzkClearTitleBar").code, 0);
    EXPECT_EQ(host.Call(objects[15], "OzkSetTitleBar").code, 0);
    EXPECT_EQ(LastError(objects[15]), 0);
}

TEST_F(TitleBarDrag, SettingTwiceOnOneObjectReusesItsSlot) {
    std::vector<ScriptInstance*> objects{me};
    for (int i = 1; i < 15; ++i)
        objects.push_back(NewObject());
    ASSERT_EQ(EllipseTitleBar(me), 0);
    ASSERT_EQ(EllipseTitleBar(me), 0);
    for (int i = 1; i < 15; ++i)
        EXPECT_EQ(EllipseTitleBar(objects[i]), 0) << "title bar " << i + 1;
    Press(100, 50);
    EXPECT_EQ(drags.presses, 1);
}

TEST_F(TitleBarDrag, NoMovieWindowIsRefusedAndKeepsTheShape) {
    ASSERT_EQ(Build("ozkellipse", "ozkreplace", {host.Point(0, 0), host.Point(200, 100)}).code, 0);
    host.stage.kind = 2;
    EXPECT_EQ(host.Call(me, "OzkSetTitleBar").code, kFailure);
    EXPECT_EQ(LastError(), 2);
    host.stage.kind = 1;
    ASSERT_EQ(host.Call(me, "OzkSetTitleBar").code, 0);
    Press(100, 50);
    EXPECT_EQ(drags.presses, 1);
}

}  // namespace

}  // namespace OZKPELLMOR::standin
