// The state of one script object: the script class's instance, laid out after the host's
// object header in memory the host allocates. Created by CreateScriptObject, which sets
// every field below (the host does not zero the memory), and destroyed by
// DestroyScriptObject.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "plugin/HostInterfaces.h"

namespace OZKPELLMOR {

// The symbols interned when an object is created, in this order.
enum class Sym : int32_t {
    Current,          // ozkcurrent
    Clear,            // ozkclear
    RoundRect,        // ozkroundrect
    Ellipse,          // ozkellipse
    Polygon,          // ozkpolygon
    Text,             // ozktext
    PolySpline,       // ozkpolyspline
    BitmapMask,       // ozkbitmapmask
    Xor,              // ozkxor
    Or,               // ozkor
    And,              // ozkand
    Diff,             // ozkdiff
    Replace,          // ozkreplace
    Miaw,             // ozkmiaw
    NetscapeGold,     // ozknetscapegold
    Projector,        // ozkprojector
    Winding,          // ozkwinding
    Alternate,        // ozkalternate
    PellmorVersion,   // ozkpellmorversion
    PolyFillMode,     // ozkpolyfillmode
    NoPrefix,         // ozknoprefix
    Rtl,              // ozkrtl
    CommCtrlVersion,  // ozkcommctrlversion
    Left,             // ozkleft
    Center,           // ozkcenter
    Right,            // ozkright
    True,             // TRUE
    False,            // FALSE
    Count
};
inline constexpr size_t SymbolCount = static_cast<size_t>(Sym::Count);

// Names of the symbols above, in the same order.
extern const char* const SymbolNames[SymbolCount];

// Polygon fill modes.
inline constexpr int32_t FillAlternate = 1;
inline constexpr int32_t FillWinding = 2;

struct MaskColour {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
};

struct ScriptObject {
    HostObjectHeader header;  // the host's: callback and allocator

    int32_t authoring;          // non-zero in the authoring environment ("new")
    int32_t polyFillMode;       // FillAlternate or FillWinding
    int32_t noPrefix;           // tool tips show "&" literally when 0
    int32_t rightToLeft;        // text shapes and tool tips read right to left
    int32_t hostMajorVersion;   // 6, 7 or 0 ("new")
    int32_t maskPaletteIndex;   // bitmap mask value up to 8 bits
    MaskColour maskColour;      // bitmap mask value for 16 to 32 bits
    int32_t outlineMultiplier;  // mask outline capacity: 2 x height x this + 2 x width
    int32_t lastError;          // LastError number of the last method that set it
    IHostValues* values;
    HHOOK titleBarHook;  // this object's title-bar hook, or null
    HRGN storedShape;    // the shape being built, or null; owned by the object
    HostSymbol symbols[SymbolCount];
    IHostWindowHandles* windowHandles;
    IHostPlayer* player;
    IHostMediaAccess* mediaAccess;
    IHostLists* lists;
    IHostSymbols* symbolLookup;
    IHostMovie* activeMovie;  // only while a method runs (MethodContext::ActiveMovie)

    HostSymbol Symbol(Sym s) const { return symbols[static_cast<size_t>(s)]; }
};

static_assert(std::is_standard_layout_v<ScriptObject> &&
              std::is_trivially_copyable_v<ScriptObject>);

// The instance size the host is told; the fields take less on 32-bit.
inline constexpr uint32_t ScriptInstanceSize = sizeof(ScriptObject) > 220 ? sizeof(ScriptObject)
                                                                          : 220;
#ifndef _WIN64
static_assert(sizeof(ScriptObject) <= 220);
static_assert(offsetof(ScriptObject, authoring) == 24);
#endif

}  // namespace OZKPELLMOR
