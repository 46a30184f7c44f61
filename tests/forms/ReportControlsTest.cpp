// The list view, rich text box, toolbar check groups, accelerators and the modal-window hook
// of the window layer, on real windows.
#include "ui/forms/Controls.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Form.h"
#include "ui/forms/ListView.h"
#include "ui/forms/RichText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Seams.h"

namespace {

class ListForm : public forms::Form {
public:
    ListForm() : Form("frmListTest", Style{}) {}
    forms::ListView list;
    forms::RichText text;
    forms::Toolbar bar;
    forms::MenuItem menuTop, menuCommand;
    std::vector<int> clicked;
    int commands = 0;

protected:
    void CreateControls() override {
        HMENU top = CreateMenu();
        HMENU popup = CreatePopupMenu();
        menuTop.CreatePopup(top, popup, "&View");
        menuCommand.Create(*this, popup, "&Summary\tF2");
        menuCommand.Click = [this] { ++commands; };
        SetMenu(hwnd(), top);
        SetAccelerators({{FVIRTKEY, VK_F2, static_cast<WORD>(menuCommand.id())}});
        bar.SetButtons({}, {{"A", "a", -1, true, true},
                            {"B", "b", -1, true, true},
                            {"", "", -1},
                            {"C", "c", -1, true, false}});
        // clang-format off
        forms::Declare<ListForm>(*this, {
            // control caption  left  top  width height
            {list,   "",      {0, 0, 5000, 2000}},
            {text,   "",      {0, 2100, 5000, 1500}},
            {bar,    "",      {}},
        });
        // clang-format on
        list.ColumnClick = [this](int column) { clicked.push_back(column); };
    }
};

TEST(ListViewControl, ColumnsRowsWidthsFontAndHeaderClicks) {
    ListForm form;
    form.Show();
    forms::ListView& list = form.list;
    list.AddColumn("#", 1, 0);
    list.AddColumn("Service", 0, 1440);
    list.AddColumn(" Notes", 0, 6000);
    EXPECT_EQ(list.ColumnCount(), 3);
    EXPECT_EQ(list.ColumnText(2), "Service");
    EXPECT_EQ(list.ColumnText(3), " Notes");
    EXPECT_EQ(list.ColumnText(4), "");
    EXPECT_EQ(list.ColumnWidth(1), 0);
    EXPECT_NEAR(list.ColumnWidth(2), 1440, 15);
    list.SetColumnWidth(1, 600);
    EXPECT_NEAR(list.ColumnWidth(1), 600, 15);

    list.AddRow({" 1", "0123456", "note"});
    list.AddRow({" 2", "0987654"});
    EXPECT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.RowText(0, 3), "note");
    EXPECT_EQ(list.RowText(1, 2), "0987654");
    EXPECT_EQ(list.RowText(1, 3), "");
    list.SelectRow(1);
    EXPECT_EQ(list.SelectedRow(), 1);
    list.SelectRow(7);
    EXPECT_EQ(list.SelectedRow(), 1) << "a row that is not there is not selected";

    list.SetFontSize(8.5);
    EXPECT_EQ(list.FontSize(), 8.5);
    list.SetFontSize(0);
    EXPECT_EQ(list.FontSize(), 0) << "a zero size is kept (the system's smallest font shows)";

    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list.hwnd();
    click.hdr.idFrom = static_cast<UINT_PTR>(list.id());
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 2;
    SendMessageA(form.hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(form.clicked, std::vector<int>{3});

    list.ClearRows();
    list.ClearColumns();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.ColumnCount(), 0);
    form.Unload();
}

TEST(RichTextControl, PlainTextWithATitleRun) {
    ListForm form;
    form.Show();
    const std::string report = " TITLE\r\n\r\n line one\r\n line two";
    form.text.SetPlainText(report, "Courier New", 10);
    EXPECT_EQ(form.text.PlainText(), report) << "line ends come back as CR LF";
    form.text.MarkTitle(1, 5, 14);
    EXPECT_EQ(form.text.PointSizeAt(1), 14);
    EXPECT_TRUE(form.text.BoldAt(3));
    EXPECT_EQ(form.text.PointSizeAt(0), 10);
    EXPECT_EQ(form.text.PointSizeAt(10), 10);
    EXPECT_FALSE(form.text.BoldAt(10));
    form.text.SetPlainText("", "Courier New", 10);
    EXPECT_EQ(form.text.PlainText(), "");
    form.Unload();
}

TEST(ToolbarControl, CheckGroupsKeepOneKeyDown) {
    ListForm form;
    form.Show();
    std::vector<std::string> keys;
    form.bar.ButtonClick = [&](const std::string& key) { keys.push_back(key); };
    form.bar.SetButtonChecked(1, true);
    EXPECT_TRUE(form.bar.ButtonChecked(1));
    form.bar.SetButtonChecked(2, true);
    EXPECT_TRUE(form.bar.ButtonChecked(2));
    EXPECT_FALSE(form.bar.ButtonChecked(1)) << "one key of a group is down";
    form.bar.SetButtonChecked(4, true);
    EXPECT_TRUE(form.bar.ButtonChecked(4));
    EXPECT_TRUE(form.bar.ButtonChecked(2)) << "a check key outside the group";
    form.bar.PerformClick(4);
    EXPECT_EQ(keys, std::vector<std::string>{"C"});
    form.Unload();
}

TEST(ModalWindows, HookSeesTheModalWindowAndAcceleratorsRunItsCommands) {
    ListForm form;
    int seen = 0;
    test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& shown) {
        ++seen;
        EXPECT_EQ(&shown, &form);
        EXPECT_TRUE(shown.IsModal());
        // A key press in the modal loop goes through the window's shortcuts.
        PostMessageA(shown.hwnd(), WM_KEYDOWN, VK_F2, 0);
        shown.Post([&shown] { shown.Unload(); });
    });
    form.ShowModal();
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(form.commands, 1);
    EXPECT_FALSE(form.IsLoaded());
}

}  // namespace
