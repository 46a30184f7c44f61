// A list view in report style with whole-row selection: column headers addressed from 1,
// rows with sub-items, a font size that may have a fraction, and header clicks. Selecting a
// row raises Click, a double click DblClick.
#pragma once

#include "ui/forms/Controls.h"

#include <string>
#include <vector>

namespace forms {

class ListView : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;

    // Column headers, 1 the first. alignment: 0 left, 1 right, 2 centre.
    void ClearColumns();
    void AddColumn(const std::string& title, int alignment, int widthTwips);
    int ColumnCount() const;
    std::string ColumnText(int column) const;
    // Twips; a width set and not changed since reads back as it was set.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int widthTwips);

    // Rows, 0 the first; texts[0] is the row's text, texts[n] sub-item n.
    void ClearRows();
    void AddRow(const std::vector<std::string>& texts);
    int RowCount() const;
    std::string RowText(int row, int column) const;  // column 1 the row's text
    void SelectRow(int row);
    int SelectedRow() const;

    // The list's font size in points (decimals allowed).
    void SetFontSize(double points);
    double FontSize() const { return fontSize_; }

    // Raised with the 1-based column of a clicked header.
    std::function<void(int column)> ColumnClick;

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    OwnedFont font_;
    double fontSize_ = 8;
    std::vector<KeptTwips> widths_;  // per column, 0 the first
};

}  // namespace forms
