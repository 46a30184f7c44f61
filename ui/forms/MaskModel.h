// The editing rules of a masked edit box, apart from the window: '#' (or '9') takes a digit,
// 'A' (or 'a') a letter or digit, '?' a letter; every other mask character is a literal shown
// in place; empty places show the prompt character.
#pragma once

#include <cstddef>
#include <string>

namespace forms {

class EditMask {
public:
    // The box's text and its selection.
    struct State {
        std::string text;
        int selStart = 0;
        int selLength = 0;
    };
    enum class Typed {
        Changed,  // the character went into its place
        Skipped,  // the character was the literal at the caret (the caret moved past it)
                  // or the literal just before it (nothing changed)
        Refused,  // the place takes no such character (the box beeps)
    };

    explicit EditMask(std::string mask = {}, char prompt = '_');

    const std::string& Mask() const { return mask_; }
    char Prompt() const { return prompt_; }
    bool Empty() const { return mask_.empty(); }
    bool IsPlace(std::size_t pos) const;
    bool Accepts(std::size_t pos, char c) const;

    // The characters of text that fit the mask, place by place (a literal in the text where
    // the mask has it, or a prompt character, is passed over).
    std::string Conform(const std::string& text) const;
    // The characters typed into the places, without literals and prompts.
    std::string ClipText(const std::string& text) const;

    // A character typed at the caret (a selection is erased first, by Erase).
    Typed Type(State& state, char c) const;
    // Backspace (backwards) or Delete: empties the selected places, or the place before or at
    // the caret. False when nothing changed (Backspace at the start).
    bool Erase(State& state, bool backwards) const;
    // A pasted text replaces the selection: its places are emptied, then the text fills the
    // places from the selection's start on, overwriting as typing does. The mask's literals
    // may be in the text, each where the mask has it, or left out; a prompt character leaves
    // its place empty; blanks and line ends around the text are ignored. A text that does not
    // fit as a whole (a character a place does not take, a literal out of place, more than
    // the places left) is refused: false, and the state stays as it was.
    bool Paste(State& state, const std::string& text) const;

private:
    std::string mask_;
    char prompt_;
};

}  // namespace forms
