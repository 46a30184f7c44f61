#include "ui/forms/ListView.h"

#include <cmath>
#include <utility>

namespace forms {

void ListView::CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) {
    CreateChild(form, id, WC_LISTVIEWA, "",
                LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP | WS_BORDER, 0, parent);
    if (hwnd()) {
        ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    }
    SetFontSize(8);
}

void ListView::ClearColumns() {
    if (!hwnd())
        return;
    while (ListView_DeleteColumn(hwnd(), 0)) {
    }
    widths_.clear();
}

void ListView::AddColumn(const std::string& title, int alignment, int widthTwips) {
    if (!hwnd())
        return;
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = alignment == 1 ? LVCFMT_RIGHT : alignment == 2 ? LVCFMT_CENTER : LVCFMT_LEFT;
    int index = ColumnCount();
    widths_.resize(static_cast<size_t>(index), KeptTwips(KeptTwips::Horizontal));
    widths_.emplace_back(KeptTwips::Horizontal);
    column.cx = widths_.back().ToPixels(widthTwips);
    column.pszText = const_cast<char*>(title.c_str());
    SendMessageA(hwnd(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&column));
}

int ListView::ColumnCount() const {
    if (!hwnd())
        return 0;
    HWND header = ListView_GetHeader(hwnd());
    return header ? Header_GetItemCount(header) : 0;
}

std::string ListView::ColumnText(int column) const {
    if (!hwnd() || column < 1 || column > ColumnCount())
        return {};
    char text[260] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof(text);
    SendMessageA(hwnd(), LVM_GETCOLUMNA, static_cast<WPARAM>(column - 1),
                 reinterpret_cast<LPARAM>(&info));
    return text;
}

int ListView::ColumnWidth(int column) const {
    if (!hwnd())
        return 0;
    int pixels = ListView_GetColumnWidth(hwnd(), column - 1);
    if (column < 1 || column > static_cast<int>(widths_.size()))
        return PixelsToTwipsX(pixels);
    return widths_[static_cast<size_t>(column - 1)].FromPixels(pixels);
}

void ListView::SetColumnWidth(int column, int widthTwips) {
    if (!hwnd() || column < 1 || column > ColumnCount())
        return;
    if (column > static_cast<int>(widths_.size()))
        widths_.resize(static_cast<size_t>(column), KeptTwips(KeptTwips::Horizontal));
    ListView_SetColumnWidth(hwnd(), column - 1,
                            widths_[static_cast<size_t>(column - 1)].ToPixels(widthTwips));
}

void ListView::ClearRows() {
    if (hwnd())
        ListView_DeleteAllItems(hwnd());
}

void ListView::AddRow(const std::vector<std::string>& texts) {
    if (!hwnd())
        return;
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    std::string first = texts.empty() ? std::string() : texts[0];
    item.pszText = const_cast<char*>(first.c_str());
    int row =
        static_cast<int>(SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 1; i < texts.size(); ++i) {
        LVITEMA sub = {};
        sub.iSubItem = static_cast<int>(i);
        sub.pszText = const_cast<char*>(texts[i].c_str());
        SendMessageA(hwnd(), LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&sub));
    }
}

int ListView::RowCount() const { return hwnd() ? ListView_GetItemCount(hwnd()) : 0; }

std::string ListView::RowText(int row, int column) const {
    if (!hwnd())
        return {};
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column - 1;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(hwnd(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

void ListView::SelectRow(int row) {
    if (!hwnd() || row < 0 || row >= RowCount())
        return;
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(hwnd(), row, FALSE);
}

int ListView::SelectedRow() const {
    return hwnd() ? ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED) : -1;
}

void ListView::SetFontSize(double points) {
    fontSize_ = points;
    if (!hwnd())
        return;
    int height = -static_cast<int>(
        std::lround(points * GetDeviceCaps(WindowDC(hwnd()).Get(), LOGPIXELSY) / 72.0));
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfHeight = height;
    lf.lfWidth = 0;
    OwnedFont font(CreateFontIndirectA(&lf));
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font);
}

bool ListView::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->code == LVN_COLUMNCLICK) {
        auto* view = reinterpret_cast<NMLISTVIEW*>(header);
        if (ColumnClick)
            ColumnClick(view->iSubItem + 1);
        result = 0;
        return true;
    }
    if (header->code == LVN_ITEMCHANGED) {
        // A row newly selected, by the user or from code: Click.
        auto* view = reinterpret_cast<NMLISTVIEW*>(header);
        if ((view->uChanged & LVIF_STATE) && (view->uNewState & LVIS_SELECTED) &&
            !(view->uOldState & LVIS_SELECTED))
            Raise(Click);
        return false;
    }
    if (header->code == NM_DBLCLK) {
        Raise(DblClick);
        return false;
    }
    return false;
}

}  // namespace forms
