// The mask-coloured area of a bitmap cast member as a new shape.
#include <cstdint>
#include <memory>
#include <new>

#include "plugin/BitmapMask.h"
#include "plugin/Shapes.h"

namespace OZKPELLMOR {

namespace {

// Everything borrowed from the host for one mask, given back in reverse order.
class MaskMedia {
public:
    explicit MaskMedia(ScriptObject& object) : object_(object) {}
    ~MaskMedia() {
        if (locked_)
            GlobalUnlock(request_.data);
        if (prepared_)
            object_.mediaAccess->ReleaseRequest(&request_);
        if (member_)
            member_->Release();
    }
    MaskMedia(const MaskMedia&) = delete;
    MaskMedia& operator=(const MaskMedia&) = delete;

    // Finds the member by name, checks that it is a bitmap and fetches its image as a
    // device-independent bitmap, locked in memory.
    bool Fetch(IHostMovie* movie, const char* name) {
        HostSymbol castType = 0, bitmap = 0, image = 0, winDib = 0;
        IHostSymbols* symbols = object_.symbolLookup;
        if (symbols->StringToSymbol("castType", &castType) != HostOk ||
            symbols->StringToSymbol("bitmap", &bitmap) != HostOk ||
            symbols->StringToSymbol("Image", &image) != HostOk ||
            symbols->StringToSymbol("winDIB", &winDib) != HostOk)
            return false;

        HostMemberRef ref{};
        if (movie->MemberRefByName(name, &ref) != HostOk ||
            movie->MemberFromRef(&ref, &member_) != HostOk || !member_)
            return false;

        HostValue type{};
        if (member_->GetProp(castType, &type) != HostOk)
            return false;
        HostSymbol typeSymbol = 0;
        const bool isBitmap = object_.values->ValueType(&type) == HostTypeSymbol &&
                              object_.values->ValueToSymbol(&type, &typeSymbol) == HostOk &&
                              typeSymbol == bitmap;
        object_.values->ReleaseValue(&type);
        if (!isBitmap)
            return false;

        if (object_.mediaAccess->PrepareRequest(&request_, image, winDib, 0, 0, 0) != HostOk)
            return false;
        prepared_ = true;
        if (member_->GetMedia(&request_) != HostOk || !request_.data)
            return false;
        bytes_ = static_cast<const uint8_t*>(GlobalLock(request_.data));
        if (!bytes_)
            return false;
        locked_ = true;
        size_ = GlobalSize(request_.data);
        return true;
    }

    const uint8_t* Bytes() const { return bytes_; }
    size_t Size() const { return size_; }

private:
    ScriptObject& object_;
    IHostMember* member_ = nullptr;
    HostMediaRequest request_{};
    bool prepared_ = false;
    bool locked_ = false;
    const uint8_t* bytes_ = nullptr;
    size_t size_ = 0;
};

HRGN BitmapMaskToRegion(ScriptObject& object, const uint8_t* bytes, size_t size) {
    DibImage image;
    if (!ParseDib(bytes, size, image))
        return nullptr;
    const uint32_t mask =
        MaskPixelValue(image.bitCount, uint32_t(object.maskPaletteIndex), object.maskColour.blue,
                       object.maskColour.green, object.maskColour.red);
    ShapePoint start{};
    if (!FindMaskStart(image, mask, start))
        return nullptr;
    size_t capacity = 0;
    if (object.outlineMultiplier < 0 ||
        !MaskOutlineCapacity(image, uint32_t(object.outlineMultiplier), capacity))
        return nullptr;
    std::unique_ptr<ShapePoint[]> points(new (std::nothrow) ShapePoint[capacity]);
    if (!points)
        return nullptr;
    const size_t count = TraceMaskOutline(image, mask, start, points.get(), capacity);
    if (count > size_t(INT32_MAX))
        return nullptr;
    return CreatePolygonRgn(reinterpret_cast<const POINT*>(points.get()), int(count),
                            object.polyFillMode == FillWinding ? WINDING : ALTERNATE);
}

}  // namespace

HostResult BuildBitmapMaskShape(MethodContext& call, OwnedRegion& region) {
    ScriptObject& object = call.Object();
    char name[512];
    if (!call.ReadString(3, name, sizeof name))
        return call.Fail(ResultBadArgument, ErrWrongType);
    if (!object.player || !object.mediaAccess || !object.symbolLookup)
        return call.Fail(ResultFailure, ErrNoFunction);

    IHostMovie* movie = call.ActiveMovie();
    if (!movie)
        return call.Fail(ResultBadArgument, ErrNoRegion);
    MaskMedia media(object);
    if (!media.Fetch(movie, name))
        return call.Fail(ResultBadArgument, ErrNoRegion);
    HRGN made = BitmapMaskToRegion(object, media.Bytes(), media.Size());
    if (!made)
        return call.Fail(ResultBadArgument, ErrNoRegion);
    region.Reset(made);
    return ResultSuccess;
}

}  // namespace OZKPELLMOR
