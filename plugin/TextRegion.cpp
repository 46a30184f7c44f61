#include "plugin/TextRegion.h"

#include <cstring>

namespace OZKPELLMOR {

uint32_t TextAlignment(TextAlign align, int32_t extra, bool rightToLeft) {
    if (rightToLeft)
        return TA_RTLREADING;
    uint32_t value = 0;
    if (align == TextAlign::Center)
        value = TA_CENTER;
    else if (align == TextAlign::Right)
        value = TA_RIGHT;
    if (extra == 2)
        value += 6;
    else if (extra == 3)
        value += 2;
    return value;
}

HRGN TextToRegion(const TextShape& shape) {
    const size_t length = std::strlen(shape.text);
    if (length == 0)
        return nullptr;

    LOGFONTA font{};
    font.lfHeight = shape.charHeight;
    font.lfWidth = shape.charWidth;
    font.lfWeight = shape.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = shape.italic ? TRUE : FALSE;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = PROOF_QUALITY;
    std::strncpy(font.lfFaceName, shape.face, LF_FACESIZE - 1);
    font.lfFaceName[LF_FACESIZE - 1] = '\0';

    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return nullptr;
    HFONT handle = CreateFontIndirectA(&font);
    if (handle == nullptr) {
        DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ previous = SelectObject(dc, handle);
    SetBkMode(dc, TRANSPARENT);
    if (shape.alignment != 0)
        SetTextAlign(dc, shape.alignment);

    HRGN region = nullptr;
    if (BeginPath(dc)) {
        ExtTextOutA(dc, shape.x, shape.y, 0, nullptr, shape.text, UINT(length), nullptr);
        if (EndPath(dc))
            region = PathToRegion(dc);
        else
            AbortPath(dc);
    }
    SelectObject(dc, previous);
    DeleteObject(handle);
    DeleteDC(dc);
    return region;
}

}  // namespace OZKPELLMOR
