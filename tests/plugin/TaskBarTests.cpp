// Taking the projector's main window out of the task bar and back, read from its styles.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "tests/plugin/RegionTestSupport.h"

namespace OZKPELLMOR::standin {

namespace {

LRESULT CALLBACK CountShows(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    if (message == WM_SHOWWINDOW)
        ++*reinterpret_cast<int*>(data);
    return DefSubclassProc(window, message, wParam, lParam);
}

class TaskBar : public ShapeTest {
protected:
    void SetUp() override {
        ShapeTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(SetWindowSubclass(host.MainWindow(), CountShows, 2,
                                      reinterpret_cast<DWORD_PTR>(&shows)));
    }

    void TearDown() override {
        RemoveWindowSubclass(host.MainWindow(), CountShows, 2);
        ShapeTest::TearDown();
    }

    HostResult Hide(const char* symbol, ScriptInstance* object = nullptr) {
        return host.Call(object ? object : me, "OzkHideFromTaskBar", {host.Sym(symbol)}).code;
    }

    LONG ExStyle() const { return GetWindowLongA(host.MainWindow(), GWL_EXSTYLE); }

    int shows = 0;
};

TEST_F(TaskBar, TrueMakesAToolWindowAndFalseBringsItBack) {
    ASSERT_TRUE(ExStyle() & WS_EX_APPWINDOW);
    EXPECT_EQ(Hide("TRUE"), 0);
    EXPECT_TRUE(ExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ExStyle() & WS_EX_APPWINDOW);
    EXPECT_EQ(shows, 2) << "hidden and shown again";
    EXPECT_TRUE(IsWindowVisible(host.MainWindow()));

    EXPECT_EQ(Hide("FALSE"), 0);
    EXPECT_FALSE(ExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(shows, 4);
    EXPECT_TRUE(IsWindowVisible(host.MainWindow()));
}

TEST_F(TaskBar, FalseOnAWindowNeverHiddenChangesNothing) {
    const LONG before = ExStyle();
    EXPECT_EQ(Hide("FALSE"), 0);
    EXPECT_EQ(ExStyle(), before);
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(Hide("maybe"), 0);
    EXPECT_EQ(ExStyle(), before);
    EXPECT_EQ(shows, 0);
}

TEST_F(TaskBar, AuthoringEnvironmentIsLeftAlone) {
    host.appInfo.name = "Authoring Tool";
    ScriptInstance* authoring = NewObject();
    const LONG before = ExStyle();
    EXPECT_EQ(Hide("TRUE", authoring), 0);
    EXPECT_EQ(ExStyle(), before);
    EXPECT_EQ(shows, 0);
}

TEST_F(TaskBar, NoWindowGivesErrorTwo) {
    host.stage.kind = 2;
    EXPECT_EQ(Hide("TRUE"), kFailure);
    EXPECT_EQ(LastError(), 2);
    EXPECT_TRUE(ExStyle() & WS_EX_APPWINDOW);
}

}  // namespace

}  // namespace OZKPELLMOR::standin
