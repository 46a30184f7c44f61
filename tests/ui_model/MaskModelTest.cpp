// The masked edit box's editing rules: typing, literals, refusals, erasing, conforming text.
#include "ui/forms/MaskModel.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using forms::EditMask;

EditMask::State At(const std::string& text, int start, int length = 0) {
    return {text, start, length};
}

TEST(EditMaskTyping, DigitsFillThePlacesAndTheCaretSkipsLiterals) {
    EditMask mask("##/##/####");
    EditMask::State state = At(mask.Conform(""), 0);
    EXPECT_EQ(state.text, "__/__/____");
    for (char c : std::string("1231"))
        EXPECT_EQ(mask.Type(state, c), EditMask::Typed::Changed);
    EXPECT_EQ(state.text, "12/31/____");
    EXPECT_EQ(state.selStart, 6) << "past the literal after a place";
    EXPECT_EQ(mask.Type(state, 'a'), EditMask::Typed::Refused);
    EXPECT_EQ(state.text, "12/31/____");

    // Typing the literal at the caret moves past it without a change.
    EditMask::State literal = At("1_/__/____", 2);
    EXPECT_EQ(mask.Type(literal, '/'), EditMask::Typed::Skipped);
    EXPECT_EQ(literal.selStart, 3);
    EXPECT_EQ(literal.text, "1_/__/____");

    // At the end nothing more is taken; a text of the wrong length is conformed first.
    EditMask::State full = At("12/31/2026", 10);
    EXPECT_EQ(mask.Type(full, '5'), EditMask::Typed::Refused);
    EditMask::State shortText = At("3", 1);
    EXPECT_EQ(mask.Type(shortText, '4'), EditMask::Typed::Changed);
    EXPECT_EQ(shortText.text, "34/__/____");
}

TEST(EditMaskTyping, ADateTypedWithItsSeparatorsIsTakenWithoutARefusal) {
    // After a place fills, the caret is already past the literal that follows it: the
    // separator the user types next is that literal, taken without a change.
    for (const auto& [maskText, typed] :
         {std::pair<std::string, std::string>{"##/##/####", "12/31/2026"},
          {"##:##:##", "01:30:00"},
          {"##.##.####", "31.12.2026"}}) {
        EditMask mask(maskText);
        EditMask::State state = At(mask.Conform(""), 0);
        for (char c : typed) {
            const EditMask::Typed result = mask.Type(state, c);
            EXPECT_NE(result, EditMask::Typed::Refused) << typed << " at '" << c << "'";
            EXPECT_EQ(result == EditMask::Typed::Skipped, c == typed[2] || c == typed[5]);
        }
        EXPECT_EQ(state.text, typed);
    }
    // Only the literal just before the caret: another one, or a separator after a place
    // still open, is refused.
    EditMask mask("##/##/####");
    EditMask::State state = At("12/__/____", 3);
    EXPECT_EQ(mask.Type(state, ':'), EditMask::Typed::Refused);
    EditMask::State open = At("1_/__/____", 1);
    EXPECT_EQ(mask.Type(open, '/'), EditMask::Typed::Refused);
    EXPECT_EQ(open.selStart, 1);
}

TEST(EditMaskTyping, PlaceKindsTakeTheirCharacters) {
    EditMask mask("?A#-9a");
    EXPECT_TRUE(mask.Accepts(0, 'x'));
    EXPECT_FALSE(mask.Accepts(0, '1'));
    EXPECT_TRUE(mask.Accepts(1, '1'));
    EXPECT_TRUE(mask.Accepts(1, 'z'));
    EXPECT_FALSE(mask.Accepts(1, '-'));
    EXPECT_FALSE(mask.Accepts(2, 'z'));
    EXPECT_FALSE(mask.IsPlace(3));
    EXPECT_TRUE(mask.Accepts(4, '0'));
    EXPECT_TRUE(mask.Accepts(5, 'Q'));
    EXPECT_FALSE(mask.Accepts(6, '1')) << "beyond the mask";
    EXPECT_FALSE(mask.Accepts(0, static_cast<char>(0xE9)))
        << "a byte above 127 is no letter in the C locale";
}

TEST(EditMaskErasing, BackspaceDeleteAndSelection) {
    EditMask mask("##/##/####");
    EditMask::State back = At("12/31/2026", 6);
    EXPECT_TRUE(mask.Erase(back, true));
    EXPECT_EQ(back.text, "12/3_/2026") << "backspace over a literal empties the place before it";
    EXPECT_EQ(back.selStart, 4);

    EditMask::State atStart = At("12/31/2026", 0);
    EXPECT_FALSE(mask.Erase(atStart, true));
    EXPECT_EQ(atStart.text, "12/31/2026");

    EditMask::State del = At("12/31/2026", 2);
    EXPECT_TRUE(mask.Erase(del, false));
    EXPECT_EQ(del.text, "12/31/2026") << "delete on a literal changes nothing but counts";

    EditMask::State selected = At("12/31/2026", 1, 5);
    EXPECT_TRUE(mask.Erase(selected, true));
    EXPECT_EQ(selected.text, "1_/__/2026") << "literals stay, places empty";
    EXPECT_EQ(selected.selStart, 1);
    EXPECT_EQ(selected.selLength, 0);
}

TEST(EditMaskPasting, APasteReplacesTheSelectionAsOneTextOrIsRefusedWhole) {
    EditMask mask("##/##/####");
    // Over the whole text: with the literals in place, without them, or copied with a line end.
    for (const char* text : {"03/12/2024", "03122024", " 03/12/2024\r\n"}) {
        EditMask::State state = At("11/02/2026", 0, 10);
        EXPECT_TRUE(mask.Paste(state, text)) << text;
        EXPECT_EQ(state.text, "03/12/2024") << text;
        EXPECT_EQ(state.selStart, 10);
        EXPECT_EQ(state.selLength, 0);
    }
    // The selected places the text does not reach are emptied; the caret goes past the
    // literal after the last place filled.
    EditMask::State shorter = At("11/02/2026", 0, 10);
    EXPECT_TRUE(mask.Paste(shorter, "0312"));
    EXPECT_EQ(shorter.text, "03/12/____");
    EXPECT_EQ(shorter.selStart, 6);
    // Over a part, and at a caret without a selection (overwriting, as typing does); a prompt
    // character leaves its place empty.
    EditMask::State part = At("11/02/2026", 3, 2);
    EXPECT_TRUE(mask.Paste(part, "15"));
    EXPECT_EQ(part.text, "11/15/2026");
    EditMask::State caret = At("11/02/2026", 5);
    EXPECT_TRUE(mask.Paste(caret, "/2030"));
    EXPECT_EQ(caret.text, "11/02/2030");
    EditMask::State prompts = At("11/02/2026", 0, 10);
    EXPECT_TRUE(mask.Paste(prompts, "12/__/2026"));
    EXPECT_EQ(prompts.text, "12/__/2026");

    // Refused whole: a literal out of place, another separator, too long, a letter, nothing.
    for (const std::string text :
         {"3/12/2024", "03-12-2024", "03/12/20245", "0312202", "031a", "", " \r\n"}) {
        EditMask::State state = At("11/02/2026", text == "0312202" ? 3 : 0, 7);
        const EditMask::State before = state;
        EXPECT_FALSE(mask.Paste(state, text)) << text;
        EXPECT_EQ(state.text, before.text) << text;
        EXPECT_EQ(state.selStart, before.selStart) << text;
        EXPECT_EQ(state.selLength, before.selLength) << text;
    }
}

TEST(EditMaskText, ConformAndClipText) {
    EditMask mask("##/##/####");
    EXPECT_EQ(mask.Conform("3/5/1999"), "3_/5_/1999") << "characters fit place by place";
    EXPECT_EQ(mask.Conform("03/05/1999"), "03/05/1999");
    EXPECT_EQ(mask.Conform("__/05/1999"), "__/05/1999") << "prompts are passed over";
    EXPECT_EQ(mask.Conform("ab"), "__/__/____");
    EXPECT_EQ(mask.Conform("123456789012"), "12/34/5678");
    EXPECT_EQ(mask.ClipText("12/3_/20__"), "12320");
    EXPECT_EQ(mask.ClipText(""), "");
    EditMask none;
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(none.Conform("anything"), "");
}

}  // namespace
