// A rich text box showing plain text in one font, with one run of it that can be shown
// larger, bold and italic (a title). Read-only unless unlocked; any length of text (no limit
// of the control cuts it); Change is raised by the user's edits, not by text set from code.
#pragma once

#include "ui/forms/Controls.h"

#include <string>

namespace forms {

class RichText : public Control {
public:
    void CreateDeclared(Form& form, int id, const std::string& caption, DWORD style,
                        HWND parent) override;
    // Replaces the text, shown in the face and size given.
    void SetPlainText(const std::string& text, const std::string& face, int points);
    // The text as shown (paragraphs end with CR alone inside the control; this gives CR LF).
    std::string PlainText() const;
    // Characters [start, start + length) in points size, bold and italic.
    void MarkTitle(int start, int length, int points);
    // The point size of the character at position (for tests and printing).
    int PointSizeAt(int position) const;
    bool BoldAt(int position) const;

    // Editing: unlocked, the user may change the text.
    void SetLocked(bool locked);
    bool Locked() const;
    // Replaces the text without raising Change; the font stays. Nothing is left to undo.
    void SetText(const std::string& text) override;
    // The whole text in one face, size and style. A view setting, not an edit: it clears
    // what Undo could take back.
    void SetTextFont(const std::string& face, int points, bool bold, bool italic);
    // The text as the control counts it (a paragraph end is one CR), for positions.
    std::string ControlText() const;
    // Selection in characters (a CR LF paragraph end counts as one).
    long long SelStart() const;
    long long SelLength() const;
    void SetSel(long long start, long long length);
    std::string SelText() const;
    void Cut();
    void Copy();
    void Paste();

protected:
    void OnCommand(int code) override;

private:
    std::string TextOf(bool crlf) const;
};

}  // namespace forms
