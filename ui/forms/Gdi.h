// Small owners of GDI handles: each frees what it holds when it goes, so no failure path can
// leak a font, brush, pen, bitmap, image list or device context.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <utility>

namespace forms {

struct DeleteGdiObject {
    void operator()(HGDIOBJ handle) const { DeleteObject(handle); }
};
struct DestroyImageList {
    void operator()(HIMAGELIST handle) const { ImageList_Destroy(handle); }
};

// A font, brush, pen, bitmap or image list, freed with its owner.
template <class Handle, class Free = DeleteGdiObject>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle Release() { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) {
        if (handle_ && handle_ != handle)
            Free()(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using OwnedFont = GdiObject<HFONT>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedPen = GdiObject<HPEN>;
using OwnedBitmap = GdiObject<HBITMAP>;
// Its bitmaps and device contexts go with it; a toolbar or list using one must go first.
using OwnedImageList = GdiObject<HIMAGELIST, DestroyImageList>;

// An object selected into a device context for a while; the previous one is put back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The device context of a window (or of the screen, for null), released with its owner.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// A memory (or printer) device context, deleted with its owner.
class OwnedDC {
public:
    explicit OwnedDC(HDC dc = nullptr) : dc_(dc) {}
    ~OwnedDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    OwnedDC(const OwnedDC&) = delete;
    OwnedDC& operator=(const OwnedDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A new bitmap drawn in a memory device context of its own, of the screen's format or with one
// bit a pixel (an icon's mask: white is 1, black 0): draw into dc(), then Finish() takes the
// bitmap out of the device context and hands it over.
class BitmapCanvas {
public:
    enum class Format { Screen, Monochrome };

    BitmapCanvas(int width, int height, Format format = Format::Screen)
        : dc_(CompatibleDC()), bitmap_(NewBitmap(width, height, format)) {
        selected_.emplace(dc_.Get(), bitmap_.Get());
    }
    BitmapCanvas(const BitmapCanvas&) = delete;
    BitmapCanvas& operator=(const BitmapCanvas&) = delete;

    HDC dc() const { return dc_.Get(); }
    HBITMAP Finish() {
        selected_.reset();
        return bitmap_.Release();
    }

private:
    static HDC CompatibleDC() {
        WindowDC screen(nullptr);
        return CreateCompatibleDC(screen.Get());
    }
    static HBITMAP NewBitmap(int width, int height, Format format) {
        if (format == Format::Monochrome)
            return CreateBitmap(width, height, 1, 1, nullptr);
        WindowDC screen(nullptr);
        return CreateCompatibleBitmap(screen.Get(), width, height);
    }

    OwnedDC dc_;
    OwnedBitmap bitmap_;
    std::optional<Selection> selected_;
};

// A small picture drawn once: a width x height bitmap that draw(dc) paints; the caller owns
// it (an OwnedBitmap, or a control that takes it).
template <class Draw>
HBITMAP DrawBitmap(int width, int height, BitmapCanvas::Format format, Draw&& draw) {
    BitmapCanvas canvas(width, height, format);
    draw(canvas.dc());
    return canvas.Finish();
}
template <class Draw>
HBITMAP DrawBitmap(int width, int height, Draw&& draw) {
    return DrawBitmap(width, height, BitmapCanvas::Format::Screen, std::forward<Draw>(draw));
}

}  // namespace forms
