// A read-only rich text box showing plain text in one font, with one run of it that can be
// shown larger, bold and italic (a title).
#pragma once

#include "ui/forms/Controls.h"

#include <string>

namespace forms {

class RichText : public Control {
public:
    void Create(Form& form, int id, HWND parent = nullptr);
    void CreateDeclared(Form& form, int id, const std::string&, DWORD, HWND parent) override {
        Create(form, id, parent);
    }
    // Replaces the text, shown in the face and size given.
    void SetPlainText(const std::string& text, const std::string& face, int points);
    // The text as shown (paragraphs end with CR alone inside the control; this gives CR LF).
    std::string PlainText() const;
    // Characters [start, start + length) in points size, bold and italic.
    void MarkTitle(int start, int length, int points);
    // The point size of the character at position (for tests and printing).
    int PointSizeAt(int position) const;
    bool BoldAt(int position) const;
};

}  // namespace forms
