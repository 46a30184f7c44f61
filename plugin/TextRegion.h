// The outline of a text as a region.
#pragma once

#include <windows.h>

#include <cstdint>

namespace OZKPELLMOR {

enum class TextAlign { Left, Center, Right };

// The text alignment flags: left/top 0, centre 6, right 2; the extra value adds 6 when it is 2
// and 2 when it is 3; right-to-left reading replaces all of it with TA_RTLREADING alone.
uint32_t TextAlignment(TextAlign align, int32_t extra, bool rightToLeft);

struct TextShape {
    const char* text = "";
    const char* face = "";  // at most 31 characters are used
    int32_t x = 0;          // origin of the text
    int32_t y = 0;
    int32_t charWidth = 0;
    int32_t charHeight = 0;
    bool bold = false;
    bool italic = false;
    uint32_t alignment = 0;
};

// Draws the text into a path on a screen-compatible memory context and turns the path into a
// region. Null for an empty text or when no region can be made.
HRGN TextToRegion(const TextShape& shape);

}  // namespace OZKPELLMOR
