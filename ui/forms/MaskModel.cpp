#include "ui/forms/MaskModel.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace forms {

EditMask::EditMask(std::string mask, char prompt) : mask_(std::move(mask)), prompt_(prompt) {}

bool EditMask::IsPlace(std::size_t pos) const {
    if (pos >= mask_.size())
        return false;
    char m = mask_[pos];
    return m == '#' || m == 'A' || m == '?' || m == '9' || m == 'a';
}

bool EditMask::Accepts(std::size_t pos, char c) const {
    if (pos >= mask_.size())
        return false;
    unsigned char u = static_cast<unsigned char>(c);
    switch (mask_[pos]) {
    case '#':
    case '9':
        return std::isdigit(u) != 0;
    case 'A':
    case 'a':
        return std::isalnum(u) != 0;
    case '?':
        return std::isalpha(u) != 0;
    default:
        return false;
    }
}

std::string EditMask::Conform(const std::string& text) const {
    std::string out;
    std::size_t src = 0;
    for (std::size_t pos = 0; pos < mask_.size(); ++pos) {
        if (!IsPlace(pos)) {
            out += mask_[pos];
            if (src < text.size() && text[src] == mask_[pos])
                ++src;
            continue;
        }
        if (src < text.size() && Accepts(pos, text[src])) {
            out += text[src++];
        } else {
            if (src < text.size() && text[src] == prompt_)
                ++src;
            out += prompt_;
        }
    }
    return out;
}

std::string EditMask::ClipText(const std::string& text) const {
    std::string out;
    for (std::size_t pos = 0; pos < text.size() && pos < mask_.size(); ++pos) {
        if (IsPlace(pos) && text[pos] != prompt_)
            out += text[pos];
    }
    return out;
}

EditMask::Typed EditMask::Type(State& state, char c) const {
    if (state.text.size() != mask_.size())
        state.text = Conform(state.text);
    std::size_t pos = state.selStart < 0 ? 0 : static_cast<std::size_t>(state.selStart);
    while (pos < mask_.size() && !IsPlace(pos)) {
        if (mask_[pos] == c) {  // typing the literal moves past it
            state.selStart = static_cast<int>(pos + 1);
            return Typed::Skipped;
        }
        ++pos;
    }
    if (pos >= mask_.size() || !Accepts(pos, c)) {
        // A place fills and the caret moves on past the literal after it, so the user who
        // types that literal too ("12/31") has already been taken past it.
        for (std::size_t back = pos; back > 0 && !IsPlace(back - 1); --back) {
            if (mask_[back - 1] == c)
                return Typed::Skipped;
        }
        return Typed::Refused;
    }
    state.text[pos] = c;
    ++pos;
    while (pos < mask_.size() && !IsPlace(pos))
        ++pos;
    state.selStart = static_cast<int>(pos);
    return Typed::Changed;
}

bool EditMask::Erase(State& state, bool backwards) const {
    if (state.text.size() != mask_.size())
        state.text = Conform(state.text);
    int start = state.selStart < 0 ? 0 : state.selStart;
    int length = state.selLength;
    if (length == 0) {
        if (backwards) {
            if (start == 0)
                return false;
            --start;
            while (start > 0 && !IsPlace(static_cast<std::size_t>(start)))
                --start;
        }
        length = 1;
    }
    for (int i = start; i < start + length && i < static_cast<int>(mask_.size()); ++i) {
        if (IsPlace(static_cast<std::size_t>(i)))
            state.text[static_cast<std::size_t>(i)] = prompt_;
    }
    state.selStart = start;
    state.selLength = 0;
    return true;
}

bool EditMask::Paste(State& state, const std::string& text) const {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return false;
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    State pasted = state;
    if (pasted.text.size() != mask_.size())
        pasted.text = Conform(pasted.text);
    if (pasted.selLength > 0)
        Erase(pasted, false);
    std::size_t pos = std::min<std::size_t>(
        mask_.size(), pasted.selStart < 0 ? 0 : static_cast<std::size_t>(pasted.selStart));
    for (std::size_t i = first; i <= last; ++i) {
        const char c = text[i];
        while (pos < mask_.size() && !IsPlace(pos) && mask_[pos] != c)
            ++pos;
        if (pos >= mask_.size())
            return false;
        if (IsPlace(pos)) {
            if (!Accepts(pos, c) && c != prompt_)
                return false;
            pasted.text[pos] = c;
        }
        ++pos;
    }
    while (pos < mask_.size() && !IsPlace(pos))
        ++pos;
    pasted.selStart = static_cast<int>(pos);
    pasted.selLength = 0;
    state = std::move(pasted);
    return true;
}

}  // namespace forms
