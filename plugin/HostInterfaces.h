// The binary interface between the host and the plug-in, as both sides use it: identifiers,
// host values, the host object header, the host's interfaces (by slot, QueryInterface = 0)
// and the plug-in's own interfaces. Shared by the plug-in and the stand-in host.
//
// Every interface is a table of operations called with the object as first argument
// (__stdcall on 32-bit). Results are 32-bit codes, 0 meaning success. Slots the plug-in does
// not use are declared as ReservedN so the slot numbers stay right.
#pragma once

#include <windows.h>

#include <cstdint>

#define OZK_HOSTCALL __stdcall

namespace OZKPELLMOR {

using HostResult = int32_t;
using HostSymbol = int32_t;

// Result codes of the registration and class exports.
inline constexpr HostResult HostOk = 0;
inline constexpr HostResult HostOutOfMemory = static_cast<HostResult>(0x80040002);
inline constexpr HostResult HostCannotUnload = static_cast<HostResult>(0x80040003);
inline constexpr HostResult HostNoInterface = static_cast<HostResult>(0x80040004);
inline constexpr HostResult HostNoClass = static_cast<HostResult>(0x80040005);

struct HostGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
    bool operator==(const HostGuid&) const = default;
};
static_assert(sizeof(HostGuid) == 16);

// Identifiers of the host's interfaces the plug-in asks for.
inline constexpr HostGuid IID_HostValues{
    0x151A5780, 0x32BD, 0x11D0, {0x81, 0x51, 0x00, 0xAA, 0x00, 0x5F, 0x3C, 0x08}};
inline constexpr HostGuid IID_HostLists{
    0xAC96CF98, 0x0045, 0x5C0B, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};
inline constexpr HostGuid IID_HostWindowHandles{
    0xD9088161, 0x32BF, 0x11D0, {0x81, 0x51, 0x00, 0xAA, 0x00, 0x5F, 0x3C, 0x08}};
inline constexpr HostGuid IID_HostPlayer{
    0xAC401B78, 0x0000, 0xFA7D, {0x00, 0x00, 0x08, 0x00, 0x07, 0x2C, 0x63, 0x26}};
inline constexpr HostGuid IID_HostMediaAccess{
    0xAC96CFC0, 0x0045, 0x6597, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};
inline constexpr HostGuid IID_HostSymbols{
    0xAC96CF89, 0x0045, 0x5879, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};
inline constexpr HostGuid IID_HostAppInfo{
    0xACC7E2B8, 0x000A, 0xB4D0, {0x00, 0x00, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
// Interfaces the plug-in implements, and the two registration-entry identifiers.
inline constexpr HostGuid IID_ScriptRegistration{
    0xAC3E7803, 0x0002, 0x8FE5, {0x00, 0x00, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
inline constexpr HostGuid IID_ScriptMethods{
    0xAC401FB6, 0x0001, 0xF9B0, {0x00, 0x00, 0x08, 0x00, 0x07, 0x2C, 0x63, 0x26}};
inline constexpr HostGuid IID_LoadControl{
    0x70D7CCF4, 0x615F, 0x11CF, {0xB4, 0x8D, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
inline constexpr HostGuid IID_ClassObject{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// The plug-in's two classes.
inline constexpr HostGuid CLSID_Registration{
    0xE75672E1, 0x53C9, 0x11D2, {0x98, 0x30, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr HostGuid CLSID_Script{
    0xE75672E5, 0x53C9, 0x11D2, {0x98, 0x30, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// An opaque 8-byte host value (integer, symbol, string, list, point, rect, ...). Only the
// host's value and list interfaces look inside.
struct HostValue {
    uint32_t kind;
    uint32_t data;
};
static_assert(sizeof(HostValue) == 8);

// Types answered by IHostValues::ValueType.
enum HostValueType : int32_t {
    HostTypeVoid = 0,
    HostTypeInteger = 1,
    HostTypeSymbol = 2,
    HostTypeString = 3,
    HostTypeList = 7,
    HostTypePoint = 8,
    HostTypeRect = 9,
};

struct HostPoint {
    int32_t v;  // vertical (y)
    int32_t h;  // horizontal (x)
};

struct HostRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

// Dictionary value types used by the registration.
inline constexpr int32_t HostDictInteger = 3;
inline constexpr int32_t HostDictText = 9;

// ---- Host interfaces ----------------------------------------------------------------------

struct IHostUnknown {
    virtual HostResult OZK_HOSTCALL QueryInterface(const HostGuid* iid, void** out) = 0;
    virtual uint32_t OZK_HOSTCALL AddRef() = 0;
    virtual uint32_t OZK_HOSTCALL Release() = 0;
};

// Given with every object: slot 0 finds another host interface (0 = found, AddRef'd).
struct IHostCallback : IHostUnknown {};

struct IHostAllocator : IHostUnknown {
    virtual void* OZK_HOSTCALL Allocate(uint32_t size) = 0;  // null on failure
    virtual void OZK_HOSTCALL Free(void* block) = 0;
};

struct IHostValues : IHostUnknown {
    virtual HostResult OZK_HOSTCALL StringToSymbol(const char* text, HostSymbol* symbol) = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual int32_t OZK_HOSTCALL ValueType(const HostValue* value) = 0;
    virtual HostResult OZK_HOSTCALL Reserved6() = 0;
    virtual HostResult OZK_HOSTCALL ReleaseValue(HostValue* value) = 0;
    virtual HostResult OZK_HOSTCALL ValueToInteger(const HostValue* value, int32_t* out) = 0;
    virtual HostResult OZK_HOSTCALL ValueToSymbol(const HostValue* value, HostSymbol* out) = 0;
    virtual HostResult OZK_HOSTCALL Reserved10() = 0;
    virtual HostResult OZK_HOSTCALL Reserved11() = 0;
    // Copies at most size - 1 characters and a terminating zero.
    virtual HostResult OZK_HOSTCALL ValueToString(const HostValue* value, char* buffer,
                                                  int32_t size) = 0;
    virtual HostResult OZK_HOSTCALL Reserved13() = 0;
    virtual HostResult OZK_HOSTCALL Reserved14() = 0;
    virtual HostResult OZK_HOSTCALL ValueToPoint(const HostValue* value, HostPoint* out) = 0;
    virtual HostResult OZK_HOSTCALL ValueToRect(const HostValue* value, HostRect* out) = 0;
    virtual HostResult OZK_HOSTCALL IntegerToValue(int32_t number, HostValue* out) = 0;
    virtual HostResult OZK_HOSTCALL SymbolToValue(HostSymbol symbol, HostValue* out) = 0;
    virtual HostResult OZK_HOSTCALL Reserved19() = 0;
    virtual HostResult OZK_HOSTCALL StringToValue(const char* text, HostValue* out) = 0;
};

struct IHostLists : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual int32_t OZK_HOSTCALL ListCount(const HostValue* list) = 0;
    // 1-based; the item is a new value the caller releases.
    virtual HostResult OZK_HOSTCALL ListItem(const HostValue* list, int32_t index,
                                             HostValue* item) = 0;
};

struct IHostWindowHandles : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL GetHandles(HINSTANCE* instance, HWND* mainWindow) = 0;
};

// A window object of the host: {kind, handle}, kind 1 = a window handle.
struct HostWindowRef {
    int32_t kind;
    void* handle;
};

struct IHostStageWindow : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL GetWindow(HostWindowRef* out) = 0;
};

struct HostMemberRef {
    int32_t castLib;
    int32_t member;
};

// A media request prepared by IHostMediaAccess and filled by IHostMember::GetMedia; the
// media arrives as a global memory handle.
struct HostMediaRequest {
    HostSymbol label;
    HostSymbol format;
    HGLOBAL data;
};

struct IHostMember : IHostUnknown {
    virtual HostResult OZK_HOSTCALL GetProp(HostSymbol property, HostValue* out) = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL GetMedia(HostMediaRequest* request) = 0;
};

struct IHostMovie : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL Reserved5() = 0;
    virtual HostResult OZK_HOSTCALL Reserved6() = 0;
    virtual HostResult OZK_HOSTCALL Reserved7() = 0;
    virtual HostResult OZK_HOSTCALL Reserved8() = 0;
    virtual HostResult OZK_HOSTCALL Reserved9() = 0;
    virtual HostResult OZK_HOSTCALL Reserved10() = 0;
    virtual HostResult OZK_HOSTCALL Reserved11() = 0;
    virtual HostResult OZK_HOSTCALL Reserved12() = 0;
    virtual HostResult OZK_HOSTCALL Reserved13() = 0;
    virtual HostResult OZK_HOSTCALL Reserved14() = 0;
    virtual HostResult OZK_HOSTCALL Reserved15() = 0;
    virtual HostResult OZK_HOSTCALL MemberRefByName(const char* name, HostMemberRef* out) = 0;
    // The member is AddRef'd; the caller releases it.
    virtual HostResult OZK_HOSTCALL MemberFromRef(const HostMemberRef* ref, IHostMember** out) = 0;
    virtual HostResult OZK_HOSTCALL Reserved18() = 0;
    // The stage window object is AddRef'd; the caller releases it.
    virtual HostResult OZK_HOSTCALL StageWindow(IHostStageWindow** out) = 0;
};

struct IHostPlayer : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL Reserved5() = 0;
    // The movie is AddRef'd; the caller releases it.
    virtual HostResult OZK_HOSTCALL ActiveMovie(IHostMovie** out) = 0;
};

struct IHostMediaAccess : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL PrepareRequest(HostMediaRequest* request, HostSymbol label,
                                                   HostSymbol format, int32_t a, int32_t b,
                                                   int32_t c) = 0;
    virtual HostResult OZK_HOSTCALL ReleaseRequest(HostMediaRequest* request) = 0;
};

struct IHostSymbols : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL Reserved5() = 0;
    virtual HostResult OZK_HOSTCALL Reserved6() = 0;
    virtual HostResult OZK_HOSTCALL Reserved7() = 0;
    virtual HostResult OZK_HOSTCALL StringToSymbol(const char* text, HostSymbol* symbol) = 0;
};

// String properties of the host application (1 = application name, 6 = version).
inline constexpr int32_t HostAppName = 1;
inline constexpr int32_t HostAppVersion = 6;

struct IHostAppInfo : IHostUnknown {
    virtual HostResult OZK_HOSTCALL GetStringProp(int32_t index, char* buffer, int32_t size) = 0;
};

struct IHostDictionary : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL Reserved5() = 0;
    virtual HostResult OZK_HOSTCALL Put(int32_t type, const void* value, int32_t size,
                                        const char* key) = 0;
};

struct IHostRegistrationCache : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Reserved3() = 0;
    virtual HostResult OZK_HOSTCALL Reserved4() = 0;
    virtual HostResult OZK_HOSTCALL Reserved5() = 0;
    virtual HostResult OZK_HOSTCALL Reserved6() = 0;
    // The entry's dictionary stays owned by the cache.
    virtual HostResult OZK_HOSTCALL AddEntry(IHostDictionary* extension, const HostGuid* classId,
                                             const HostGuid* interfaceId,
                                             IHostDictionary** entry) = 0;
};

// ---- Objects -----------------------------------------------------------------------------

struct HostObjectHeader;

// The host's own operations on an object it created (slots 0 to 2).
struct HostObjectOps {
    HostResult(OZK_HOSTCALL* QueryInterface)(HostObjectHeader* self, const HostGuid* iid,
                                             void** out);
    uint32_t(OZK_HOSTCALL* AddRef)(HostObjectHeader* self);
    uint32_t(OZK_HOSTCALL* Release)(HostObjectHeader* self);
};

// The start of every instance the host creates for a plug-in class.
struct HostObjectHeader {
    const HostObjectOps* ops;
    uint32_t refs;
    IHostCallback* callback;
    IHostAllocator* allocator;
    void* hostReserved[2];
};
#ifndef _WIN64
static_assert(sizeof(HostObjectHeader) == 24);
#endif

using CreateInstanceProc = HostResult(OZK_HOSTCALL*)(HostObjectHeader* instance);
using DestroyInstanceProc = void(OZK_HOSTCALL*)(HostObjectHeader* instance);

// One record of the class information handed to the host (40 bytes, no padding).
#pragma pack(push, 4)
struct ClassInfoRecord {
    HostGuid classId;
    uint32_t classVersion;
    HostGuid interfaceId;
    uint32_t interfaceVersion;
};
#pragma pack(pop)
static_assert(sizeof(ClassInfoRecord) == 40);

// ---- Plug-in interfaces ------------------------------------------------------------------

// Slot 3 of the registration interface.
struct IScriptRegistration : IHostUnknown {
    virtual HostResult OZK_HOSTCALL Register(IHostRegistrationCache* cache,
                                             IHostDictionary* extension) = 0;
};

// One script method call. Argument 0 is "me"; the result starts void and is released by the
// host after the call.
struct HostCallRecord {
    int32_t methodNumber;  // position in the method table, "new" = 0
    int32_t argCount;      // including "me"
    HostValue* args;
    HostValue result;
};

// Slot 3 of the scripting interface.
struct IScriptMethods : IHostUnknown {
    virtual HostResult OZK_HOSTCALL CallHandler(HostCallRecord* call) = 0;
};

// Exports of the plug-in library.
using DllGetClassObjectProc = HostResult(OZK_HOSTCALL*)(const HostGuid*, const HostGuid*, void**);
using DllCanUnloadNowProc = HostResult(OZK_HOSTCALL*)();
using DllGetClassFormProc = HostResult(OZK_HOSTCALL*)(const HostGuid* classId,
                                                      uint32_t* instanceSize,
                                                      CreateInstanceProc* create,
                                                      DestroyInstanceProc* destroy);
using DllGetClassInfoProc = HostResult(OZK_HOSTCALL*)(IHostAllocator* allocator,
                                                      ClassInfoRecord** records);
using DllGetInterfaceProc = HostResult(OZK_HOSTCALL*)(HostObjectHeader* owner,
                                                      const HostGuid* classId,
                                                      const HostGuid* interfaceId, void** out);

}  // namespace OZKPELLMOR
