// The library's entry points: the two classes the host reads, the interface objects it is
// handed, the registration of the method table, and the life of a script object.
#include <windows.h>

#include <cstring>
#include <new>

#include "plugin/Dispatcher.h"
#include "plugin/HostInterfaces.h"
#include "plugin/ScriptObject.h"
#include "plugin/WindowMethods.h"

namespace OZKPELLMOR {

const char* const SymbolNames[SymbolCount] = {
    "ozkcurrent",
    "ozkclear",
    "ozkroundrect",
    "ozkellipse",
    "ozkpolygon",
    "ozktext",
    "ozkpolyspline",
    "ozkbitmapmask",
    "ozkxor",
    "ozkor",
    "ozkand",
    "ozkdiff",
    "ozkreplace",
    "ozkmiaw",
    "ozknetscapegold",
    "ozkprojector",
    "ozkwinding",
    "ozkalternate",
    "ozkpellmorversion",
    "ozkpolyfillmode",
    "ozknoprefix",
    "ozkrtl",
    "ozkcommctrlversion",
    "ozkleft",
    "ozkcenter",
    "ozkright",
    "TRUE",
    "FALSE",
};

namespace {

constexpr uint32_t ClassVersion = 0x01000043;

HINSTANCE moduleInstance = nullptr;  // recorded at load; the hook and windows use the host's
uint32_t liveInterfaces = 0;         // interface objects alive in the process
bool firstObjectCreated = false;

// Memory for an interface object from the owner's allocator; when it fails the runtime's
// out-of-memory handler may free some and the allocation is tried again.
void* AllocateInterface(IHostAllocator* allocator, uint32_t size) noexcept {
    if (!allocator)
        return nullptr;
    for (;;) {
        if (void* block = allocator->Allocate(size))
            return block;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            return nullptr;
        try {
            handler();
        } catch (...) {
            return nullptr;
        }
    }
}

// An interface handed to the host: operation table, owning object, reference count. Each
// reference on the interface also holds one on the owner, and the interface itself two.
template <class Interface>
class InterfaceObject : public Interface {
public:
    explicit InterfaceObject(HostObjectHeader* owner) : owner_(owner), refs_(1) {
        owner_->ops->AddRef(owner_);
        owner_->ops->AddRef(owner_);
        ++liveInterfaces;
    }

    HostResult OZK_HOSTCALL QueryInterface(const HostGuid* iid, void** out) override {
        return owner_->ops->QueryInterface(owner_, iid, out);
    }

    uint32_t OZK_HOSTCALL AddRef() override {
        owner_->ops->AddRef(owner_);
        return ++refs_;
    }

    uint32_t OZK_HOSTCALL Release() override {
        HostObjectHeader* owner = owner_;
        const uint32_t refs = --refs_;
        if (refs == 0) {
            owner->allocator->Free(this);
            --liveInterfaces;
            owner->ops->Release(owner);
        }
        owner->ops->Release(owner);
        return refs;
    }

protected:
    HostObjectHeader* owner_;
    uint32_t refs_;
};

class RegistrationInterface final : public InterfaceObject<IScriptRegistration> {
public:
    using InterfaceObject::InterfaceObject;
    HostResult OZK_HOSTCALL Register(IHostRegistrationCache* cache,
                                     IHostDictionary* extension) override;
};

class ScriptMethodsInterface final : public InterfaceObject<IScriptMethods> {
public:
    using InterfaceObject::InterfaceObject;
    HostResult OZK_HOSTCALL CallHandler(HostCallRecord* call) override {
        return OZKPELLMOR::CallHandler(*reinterpret_cast<ScriptObject*>(owner_), call);
    }
};

#ifndef _WIN64
static_assert(sizeof(RegistrationInterface) == 12);
static_assert(sizeof(ScriptMethodsInterface) == 12);
#endif

template <class Object>
HostResult ConstructInterface(HostObjectHeader* owner, void** out) noexcept {
    *out = nullptr;
    void* block = AllocateInterface(owner->allocator, sizeof(Object));
    if (!block)
        return HostOutOfMemory;
    Object* object = new (block) Object(owner);
    *out = static_cast<IHostUnknown*>(object);
    return HostOk;
}

HostResult OZK_HOSTCALL CreateRegistrationObject(HostObjectHeader*) { return HostOk; }

void OZK_HOSTCALL DestroyRegistrationObject(HostObjectHeader*) {}

struct ClassEntry {
    HostGuid classId;
    uint32_t instanceSize;
    CreateInstanceProc create;
    DestroyInstanceProc destroy;
    HostGuid interfaceId;
    HostResult (*construct)(HostObjectHeader* owner, void** out) noexcept;
};

const ClassEntry Classes[] = {
    {CLSID_Registration, sizeof(HostObjectHeader), CreateRegistrationObject,
     DestroyRegistrationObject, IID_ScriptRegistration, ConstructInterface<RegistrationInterface>},
    {CLSID_Script, ScriptInstanceSize, CreateScriptObject, DestroyScriptObject, IID_ScriptMethods,
     ConstructInterface<ScriptMethodsInterface>},
};

template <class T>
void ReleaseAndClear(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

template <class T>
T* QueryHost(IHostCallback* callback, const HostGuid& iid) {
    void* found = nullptr;
    if (!callback || callback->QueryInterface(&iid, &found) != HostOk)
        return nullptr;
    return static_cast<T*>(found);
}

}  // namespace

HostResult RegisterXtra(IHostRegistrationCache* cache, IHostDictionary* extension) noexcept {
    if (!cache)
        return HostNoInterface;
    IHostDictionary* entry = nullptr;
    if (cache->AddEntry(extension, &CLSID_Script, &IID_LoadControl, &entry) == HostOk && entry) {
        const int32_t options = 3;
        entry->Put(HostDictInteger, &options, sizeof(options), "XtraLoadControlOptions");
    }
    entry = nullptr;
    const HostResult added = cache->AddEntry(extension, &CLSID_Script, &IID_ScriptMethods, &entry);
    if (added != HostOk)
        return added;
    if (!entry)
        return HostNoInterface;
    const char* table = MethodTableText();
    return entry->Put(HostDictText, table, static_cast<int32_t>(std::strlen(table) + 1),
                      "msgTable");
}

HostResult OZK_HOSTCALL RegistrationInterface::Register(IHostRegistrationCache* cache,
                                                        IHostDictionary* extension) {
    return RegisterXtra(cache, extension);
}

HostResult OZK_HOSTCALL CreateScriptObject(HostObjectHeader* instance) noexcept {
    ScriptObject& object = *reinterpret_cast<ScriptObject*>(instance);
    IHostCallback* callback = instance->callback;
    object.symbolLookup = QueryHost<IHostSymbols>(callback, IID_HostSymbols);
    object.mediaAccess = QueryHost<IHostMediaAccess>(callback, IID_HostMediaAccess);
    object.values = QueryHost<IHostValues>(callback, IID_HostValues);
    object.windowHandles = QueryHost<IHostWindowHandles>(callback, IID_HostWindowHandles);
    object.player = QueryHost<IHostPlayer>(callback, IID_HostPlayer);
    object.lists = QueryHost<IHostLists>(callback, IID_HostLists);

    for (size_t i = 0; i < SymbolCount; ++i) {
        HostSymbol symbol = 0;
        if (!object.values || object.values->StringToSymbol(SymbolNames[i], &symbol) != HostOk)
            symbol = 0;
        object.symbols[i] = symbol;
    }

    object.authoring = 0;
    object.polyFillMode = FillAlternate;
    object.noPrefix = 0;
    object.rightToLeft = 0;
    object.hostMajorVersion = 0;
    object.maskPaletteIndex = 0;
    object.maskColour = {0, 0, 0};
    object.outlineMultiplier = 5;
    object.lastError = 0;
    object.titleBarHook = nullptr;
    object.storedShape = nullptr;
    object.activeMovie = nullptr;

    if (!firstObjectCreated) {
        ResetTitleBarSlots();
        firstObjectCreated = true;
    }
    return HostOk;
}

void OZK_HOSTCALL DestroyScriptObject(HostObjectHeader* instance) noexcept {
    ScriptObject& object = *reinterpret_cast<ScriptObject*>(instance);
    ReleaseAndClear(object.values);
    if (object.storedShape) {
        DeleteObject(object.storedShape);
        object.storedShape = nullptr;
    }
    ReleaseAndClear(object.windowHandles);
    ReleaseAndClear(object.player);
    ReleaseAndClear(object.lists);
    ReleaseAndClear(object.symbolLookup);
    ReleaseAndClear(object.mediaAccess);
    ClearTitleBarSlot(object);
}

}  // namespace OZKPELLMOR

using namespace OZKPELLMOR;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    moduleInstance = instance;
    return TRUE;
}

HostResult OZK_HOSTCALL DllGetClassObject(const HostGuid*, const HostGuid*, void**) noexcept {
    return HostNoClass;
}

HostResult OZK_HOSTCALL DllCanUnloadNow() noexcept {
    return liveInterfaces == 0 ? HostOk : HostCannotUnload;
}

HostResult OZK_HOSTCALL DllGetClassForm(const HostGuid* classId, uint32_t* instanceSize,
                                        CreateInstanceProc* create,
                                        DestroyInstanceProc* destroy) noexcept {
    if (!classId)
        return HostNoClass;
    for (const ClassEntry& entry : Classes) {
        if (entry.classId == *classId) {
            if (instanceSize)
                *instanceSize = entry.instanceSize;
            if (create)
                *create = entry.create;
            if (destroy)
                *destroy = entry.destroy;
            return HostOk;
        }
    }
    return HostNoClass;
}

HostResult OZK_HOSTCALL DllGetClassInfo(IHostAllocator* allocator,
                                        ClassInfoRecord** records) noexcept {
    if (!records)
        return HostOutOfMemory;
    *records = nullptr;
    const size_t count = 2 * (sizeof(Classes) / sizeof(Classes[0]));
    const uint32_t size =
        static_cast<uint32_t>(count * sizeof(ClassInfoRecord) + sizeof(ClassInfoRecord));
    void* block = allocator ? allocator->Allocate(size) : nullptr;
    if (!block)
        return HostOutOfMemory;
    ClassInfoRecord* record = static_cast<ClassInfoRecord*>(block);
    for (const ClassEntry& entry : Classes) {
        *record++ = {entry.classId, ClassVersion, IID_ClassObject, 1};
        *record++ = {entry.classId, ClassVersion, entry.interfaceId, ClassVersion};
    }
    *record = {};
    *records = static_cast<ClassInfoRecord*>(block);
    return HostOk;
}

HostResult OZK_HOSTCALL DllGetInterface(HostObjectHeader* owner, const HostGuid* classId,
                                        const HostGuid* interfaceId, void** out) noexcept {
    if (!out)
        return HostNoInterface;
    *out = nullptr;
    if (!owner || !interfaceId)
        return HostNoInterface;
    for (const ClassEntry& entry : Classes) {
        if (classId && !(entry.classId == *classId))
            continue;
        if (entry.interfaceId == *interfaceId)
            return entry.construct(owner, out);
    }
    return HostNoInterface;
}

}  // extern "C"
