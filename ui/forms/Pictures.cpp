#include "ui/forms/Pictures.h"

#include <cmath>

#include "ui/forms/Gdi.h"

namespace Pictures {
namespace {

// A device context drawing into a new bitmap; Finish hands the bitmap over.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background)
        : width_(width), height_(height), canvas_(width, height) {
        Fill(0, 0, width, height, background);
        SetBkMode(dc(), TRANSPARENT);
    }

    HDC dc() const { return canvas_.dc(); }
    int width() const { return width_; }
    int height() const { return height_; }

    void Fill(int x, int y, int w, int h, COLORREF colour) {
        RECT r = {x, y, x + w, y + h};
        forms::OwnedBrush brush(CreateSolidBrush(colour));
        FillRect(dc(), &r, brush.Get());
    }
    void Ellipse(int x, int y, int w, int h, COLORREF fill, COLORREF line) {
        Pens pens(dc(), fill, line);
        ::Ellipse(dc(), x, y, x + w, y + h);
    }
    void Box(int x, int y, int w, int h, COLORREF fill, COLORREF line) {
        Pens pens(dc(), fill, line);
        Rectangle(dc(), x, y, x + w, y + h);
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF colour, int width = 1) {
        forms::OwnedPen pen(CreatePen(PS_SOLID, width, colour));
        forms::Selection use(dc(), pen.Get());
        MoveToEx(dc(), x1, y1, nullptr);
        LineTo(dc(), x2, y2);
    }
    void Polygon(const POINT* points, int count, COLORREF fill, COLORREF line) {
        Pens pens(dc(), fill, line);
        ::Polygon(dc(), points, count);
    }
    void Text(int x, int y, const char* text, int height, bool bold, COLORREF colour,
              const char* face = "Arial") {
        forms::OwnedFont font(CreateFontA(
            -height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, face));
        forms::Selection use(dc(), font.Get());
        SetTextColor(dc(), colour);
        TextOutA(dc(), x, y, text, lstrlenA(text));
    }
    // A wave across the picture, as a telephone line carrying data.
    void Wave(int baseline, int amplitude, double periods, double phase, COLORREF colour,
              int width) {
        forms::OwnedPen pen(CreatePen(PS_SOLID, width, colour));
        forms::Selection use(dc(), pen.Get());
        for (int x = 0; x < width_; ++x) {
            int y = baseline + static_cast<int>(amplitude *
                                                std::sin(phase + periods * 6.2831853 * x / width_));
            if (x == 0)
                MoveToEx(dc(), x, y, nullptr);
            else
                LineTo(dc(), x, y);
        }
    }
    HBITMAP Finish() { return canvas_.Finish(); }

private:
    // A solid brush and a one-pixel pen selected while a shape is drawn.
    struct Pens {
        Pens(HDC dc, COLORREF fill, COLORREF line)
            : brush(CreateSolidBrush(fill)),
              pen(CreatePen(PS_SOLID, 1, line)),
              useBrush(dc, brush.Get()),
              usePen(dc, pen.Get()) {}
        forms::OwnedBrush brush;
        forms::OwnedPen pen;
        forms::Selection useBrush;
        forms::Selection usePen;
    };

    int width_;
    int height_;
    forms::BitmapCanvas canvas_;
};

const COLORREF kNavy = RGB(16, 40, 96);
const COLORREF kSky = RGB(88, 150, 220);
const COLORREF kGold = RGB(250, 196, 40);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kFace = RGB(212, 208, 200);

void DrawModem(Canvas& c, int x, int y, int w, int h, bool lit) {
    c.Box(x, y, w, h, RGB(70, 70, 80), RGB(20, 20, 30));
    c.Box(x + 2, y + h - 5, w - 4, 3, RGB(40, 40, 50), RGB(40, 40, 50));
    for (int i = 0; i < 3; ++i) {
        COLORREF led = lit && i == 1 ? RGB(80, 255, 80) : RGB(40, 120, 40);
        c.Fill(x + 4 + i * 5, y + 3, 3, 2, led);
    }
}

}  // namespace

HBITMAP SplashPicture() {
    Canvas c(420, 260, kNavy);
    for (int band = 0; band < 26; ++band) {
        int shade = 40 + band * 4;
        c.Fill(0, band * 10, 420, 10, RGB(16, shade / 2, shade + 40));
    }
    c.Wave(190, 14, 3.0, 0.0, kSky, 2);
    c.Wave(196, 10, 5.0, 1.0, RGB(60, 110, 190), 1);
    for (int i = 0; i < 9; ++i)
        c.Ellipse(20 + i * 44, 185 + (i % 2 ? 6 : -8), 8, 8, kGold, kGold);
    c.Text(34, 42, "Duvelo", 64, true, kWhite, "Times New Roman");
    c.Text(38, 118, "Dial-up time and cost, from your modem log", 16, false, RGB(220, 230, 255));
    DrawModem(c, 330, 60, 56, 24, true);
    return c.Finish();
}

HBITMAP MainPicture() {
    Canvas c(112, 84, kFace);
    c.Box(6, 10, 70, 50, RGB(235, 240, 250), RGB(60, 60, 90));
    for (int i = 0; i < 6; ++i)
        c.Line(12, 18 + i * 7, 70, 18 + i * 7, RGB(170, 180, 210));
    c.Box(52, 28, 50, 40, kWhite, RGB(60, 60, 90));
    c.Text(58, 32, "$", 30, true, RGB(20, 120, 40));
    DrawModem(c, 10, 64, 40, 14, true);
    return c.Finish();
}

HBITMAP ArrowPicture() {
    Canvas c(12, 12, kFace);
    POINT arrow[] = {{1, 3}, {6, 3}, {6, 0}, {11, 6}, {6, 11}, {6, 8}, {1, 8}};
    c.Polygon(arrow, 7, RGB(200, 30, 30), RGB(120, 0, 0));
    return c.Finish();
}

HBITMAP RegionalPicture() {
    Canvas c(32, 32, kFace);
    c.Ellipse(2, 2, 28, 28, kSky, kNavy);
    c.Line(2, 16, 30, 16, kNavy);
    c.Line(16, 2, 16, 30, kNavy);
    c.Ellipse(9, 2, 14, 28, kSky, kNavy);
    c.Text(18, 14, "$", 16, true, RGB(20, 120, 40));
    return c.Finish();
}

HBITMAP ModemPicture() {
    Canvas c(32, 32, kFace);
    DrawModem(c, 2, 10, 28, 14, true);
    return c.Finish();
}

forms::OwnedImageList AnimationFrames() {
    forms::OwnedImageList list(ImageList_Create(kAnimWidth, kAnimHeight, ILC_COLOR24, 20, 0));
    for (int frame = 1; frame <= 20; ++frame) {
        Canvas c(kAnimWidth, kAnimHeight, kFace);
        DrawModem(c, 1, 8, 18, 12, frame != 20);
        DrawModem(c, 49, 8, 18, 12, frame != 20);
        c.Line(19, 14, 49, 14, RGB(90, 90, 100));
        if (frame != 20) {
            // A packet travelling along the line.
            int x = 19 + (frame - 1) * 28 / 18;
            c.Ellipse(x - 3, 11, 7, 7, kGold, RGB(160, 110, 0));
        }
        forms::OwnedBitmap bitmap(c.Finish());
        ImageList_Add(list.Get(), bitmap.Get(), nullptr);
    }
    return list;
}

forms::OwnedImageList ToolbarImages() {
    forms::OwnedImageList list(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, ImageCount, 0));
    const COLORREF key = RGB(255, 0, 255);
    for (int image = 0; image < ImageCount; ++image) {
        Canvas c(16, 16, key);
        switch (image) {
        case ImageOpen: {
            POINT folder[] = {{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 13}, {1, 13}};
            c.Polygon(folder, 6, kGold, RGB(120, 90, 0));
            break;
        }
        case ImageSetup:
            c.Ellipse(2, 2, 12, 12, RGB(150, 150, 160), RGB(60, 60, 70));
            c.Ellipse(6, 6, 4, 4, key, RGB(60, 60, 70));
            break;
        case ImageExit:
            c.Box(3, 1, 9, 14, RGB(150, 90, 40), RGB(80, 40, 10));
            c.Fill(9, 8, 2, 2, kGold);
            break;
        case ImageView:
        case ImageText:
            c.Box(3, 1, 10, 14, kWhite, RGB(60, 60, 90));
            for (int i = 0; i < 4; ++i)
                c.Line(5, 4 + i * 3, 11, 4 + i * 3, RGB(90, 90, 140));
            break;
        case ImageClear:
            c.Line(3, 3, 13, 13, RGB(200, 20, 20), 3);
            c.Line(13, 3, 3, 13, RGB(200, 20, 20), 3);
            break;
        case ImageOptimize: {
            POINT arrow[] = {{2, 2}, {14, 2}, {8, 14}};
            c.Polygon(arrow, 3, RGB(40, 160, 60), RGB(10, 80, 20));
            break;
        }
        case ImageRepair:
            c.Line(3, 13, 11, 5, RGB(90, 90, 100), 3);
            c.Ellipse(9, 1, 6, 6, RGB(140, 140, 150), RGB(60, 60, 70));
            break;
        case ImageToday:
            c.Box(1, 2, 14, 13, kWhite, RGB(60, 60, 90));
            c.Fill(2, 3, 12, 3, RGB(200, 30, 30));
            c.Text(4, 6, "31", 9, true, RGB(20, 20, 20));
            break;
        case ImageFirst:
            c.Line(3, 2, 3, 14, kNavy, 2);
            {
                POINT p[] = {{13, 2}, {13, 14}, {5, 8}};
                c.Polygon(p, 3, kSky, kNavy);
            }
            break;
        case ImageLast:
            c.Line(13, 2, 13, 14, kNavy, 2);
            {
                POINT p[] = {{3, 2}, {3, 14}, {11, 8}};
                c.Polygon(p, 3, kSky, kNavy);
            }
            break;
        case ImageHelp:
            c.Ellipse(1, 1, 14, 14, kSky, kNavy);
            c.Text(5, 1, "?", 12, true, kWhite);
            break;
        case ImageSearch:
            c.Ellipse(1, 1, 10, 10, kWhite, kNavy);
            c.Line(9, 9, 14, 14, kNavy, 3);
            break;
        case ImageAbout:
            c.Ellipse(1, 1, 14, 14, RGB(40, 120, 200), kNavy);
            c.Text(6, 1, "i", 12, true, kWhite);
            break;
        case ImageSave:
            c.Box(2, 2, 12, 12, kNavy, kNavy);
            c.Fill(4, 3, 8, 4, kWhite);
            break;
        case ImagePrint:
            c.Box(1, 6, 14, 7, RGB(160, 160, 170), RGB(60, 60, 70));
            c.Box(4, 1, 8, 6, kWhite, RGB(60, 60, 70));
            break;
        case ImageFontUp:
            c.Text(1, 0, "A", 14, true, kNavy);
            c.Text(10, 0, "+", 10, true, RGB(20, 120, 40));
            break;
        case ImageFontDown:
            c.Text(2, 3, "A", 10, true, kNavy);
            c.Text(10, 0, "-", 12, true, RGB(200, 20, 20));
            break;
        case ImageSummary:
            c.Box(2, 2, 12, 12, kWhite, RGB(60, 60, 90));
            c.Text(4, 2, "S", 11, true, kNavy);
            break;
        case ImageDetails:
            c.Box(2, 2, 12, 12, kWhite, RGB(60, 60, 90));
            c.Text(4, 2, "D", 11, true, kNavy);
            break;
        case ImageList:
            for (int i = 0; i < 4; ++i) {
                c.Fill(2, 2 + i * 4, 3, 2, kNavy);
                c.Fill(6, 2 + i * 4, 8, 2, RGB(90, 90, 140));
            }
            break;
        default:
            break;
        }
        forms::OwnedBitmap bitmap(c.Finish());
        ImageList_AddMasked(list.Get(), bitmap.Get(), key);
    }
    return list;
}

}  // namespace Pictures
