// A stand-in for the authoring host: it loads the plug-in library, reads its classes,
// registers it, creates script objects and calls their methods by name, and serves every
// host interface the plug-in asks for, on a real main window with a stage (movie) window.
//
// It counts what the plug-in holds: allocations, values, interface references, media
// requests. Anything the plug-in does wrong that the host can see (a call to a slot it does
// not serve, a double release, a value used after release, an unknown block freed) is
// recorded in Faults().
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plugin/HostInterfaces.h"

namespace OZKPELLMOR::standin {

class Host;

// Reference counting shared by the host's service objects; the host holds one reference.
template <class Interface>
class Service : public Interface {
public:
    Service(Host& host, const char* name) : host_(host), name_(name) {}
    virtual ~Service() = default;

    HostResult OZK_HOSTCALL QueryInterface(const HostGuid*, void** out) override;
    uint32_t OZK_HOSTCALL AddRef() override { return ++refs_; }
    uint32_t OZK_HOSTCALL Release() override;

    // References beyond the host's own.
    int32_t ExtraRefs() const { return refs_ - 1; }
    const char* Name() const { return name_; }

protected:
    HostResult Trap(int slot);
    Host& host_;
    const char* name_;
    int32_t refs_ = 1;
};

#define OZK_STANDIN_TRAP(n) \
    HostResult OZK_HOSTCALL Reserved##n() override { return Trap(n); }

class Allocator final : public Service<IHostAllocator> {
public:
    explicit Allocator(Host& host) : Service(host, "allocator") {}
    ~Allocator() override;
    void* OZK_HOSTCALL Allocate(uint32_t size) override;
    void OZK_HOSTCALL Free(void* block) override;

    size_t LiveBlocks() const { return blocks_.size(); }
    size_t Allocations() const { return allocations_; }
    // Allocation number `n` (1-based, counting from now) and every later one fail; 0 = never.
    void FailFrom(size_t n) { failFrom_ = n ? allocations_ + n : 0; }
    std::vector<uint32_t> sizes;  // every requested size, in order

private:
    std::map<void*, uint32_t> blocks_;
    size_t allocations_ = 0;
    size_t failFrom_ = 0;
};

class Values final : public Service<IHostValues> {
public:
    explicit Values(Host& host) : Service(host, "values") {}
    HostResult OZK_HOSTCALL StringToSymbol(const char* text, HostSymbol* symbol) override;
    OZK_STANDIN_TRAP(4)
    int32_t OZK_HOSTCALL ValueType(const HostValue* value) override;
    OZK_STANDIN_TRAP(6)
    HostResult OZK_HOSTCALL ReleaseValue(HostValue* value) override;
    HostResult OZK_HOSTCALL ValueToInteger(const HostValue* value, int32_t* out) override;
    HostResult OZK_HOSTCALL ValueToSymbol(const HostValue* value, HostSymbol* out) override;
    OZK_STANDIN_TRAP(10)
    OZK_STANDIN_TRAP(11)
    HostResult OZK_HOSTCALL ValueToString(const HostValue* value, char* buffer,
                                          int32_t size) override;
    OZK_STANDIN_TRAP(13)
    OZK_STANDIN_TRAP(14)
    HostResult OZK_HOSTCALL ValueToPoint(const HostValue* value, HostPoint* out) override;
    HostResult OZK_HOSTCALL ValueToRect(const HostValue* value, HostRect* out) override;
    HostResult OZK_HOSTCALL IntegerToValue(int32_t number, HostValue* out) override;
    HostResult OZK_HOSTCALL SymbolToValue(HostSymbol symbol, HostValue* out) override;
    OZK_STANDIN_TRAP(19)
    HostResult OZK_HOSTCALL StringToValue(const char* text, HostValue* out) override;
};

class Lists final : public Service<IHostLists> {
public:
    explicit Lists(Host& host) : Service(host, "lists") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    int32_t OZK_HOSTCALL ListCount(const HostValue* list) override;
    HostResult OZK_HOSTCALL ListItem(const HostValue* list, int32_t index,
                                     HostValue* item) override;
};

class WindowHandles final : public Service<IHostWindowHandles> {
public:
    explicit WindowHandles(Host& host) : Service(host, "window handles") {}
    OZK_STANDIN_TRAP(3)
    HostResult OZK_HOSTCALL GetHandles(HINSTANCE* instance, HWND* mainWindow) override;
    bool fail = false;
};

class StageWindow final : public Service<IHostStageWindow> {
public:
    explicit StageWindow(Host& host) : Service(host, "stage window") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    HostResult OZK_HOSTCALL GetWindow(HostWindowRef* out) override;
    int32_t kind = 1;  // what the stage window object reports
};

// A cast member of the movie: its "castType" and, for bitmaps, the "Image" media.
class Member final : public Service<IHostMember> {
public:
    Member(Host& host, std::string type, std::vector<uint8_t> dib);
    HostResult OZK_HOSTCALL GetProp(HostSymbol property, HostValue* out) override;
    OZK_STANDIN_TRAP(4)
    HostResult OZK_HOSTCALL GetMedia(HostMediaRequest* request) override;
    std::string castType;
    std::vector<uint8_t> image;
};

class Movie final : public Service<IHostMovie> {
public:
    explicit Movie(Host& host) : Service(host, "movie") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    OZK_STANDIN_TRAP(5)
    OZK_STANDIN_TRAP(6)
    OZK_STANDIN_TRAP(7)
    OZK_STANDIN_TRAP(8)
    OZK_STANDIN_TRAP(9)
    OZK_STANDIN_TRAP(10)
    OZK_STANDIN_TRAP(11)
    OZK_STANDIN_TRAP(12)
    OZK_STANDIN_TRAP(13)
    OZK_STANDIN_TRAP(14)
    OZK_STANDIN_TRAP(15)
    HostResult OZK_HOSTCALL MemberRefByName(const char* name, HostMemberRef* out) override;
    HostResult OZK_HOSTCALL MemberFromRef(const HostMemberRef* ref, IHostMember** out) override;
    OZK_STANDIN_TRAP(18)
    HostResult OZK_HOSTCALL StageWindow(IHostStageWindow** out) override;
    bool noStage = false;
};

class Player final : public Service<IHostPlayer> {
public:
    explicit Player(Host& host) : Service(host, "player") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    OZK_STANDIN_TRAP(5)
    HostResult OZK_HOSTCALL ActiveMovie(IHostMovie** out) override;
    bool noMovie = false;
};

class MediaAccess final : public Service<IHostMediaAccess> {
public:
    explicit MediaAccess(Host& host) : Service(host, "media access") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    HostResult OZK_HOSTCALL PrepareRequest(HostMediaRequest* request, HostSymbol label,
                                           HostSymbol format, int32_t a, int32_t b,
                                           int32_t c) override;
    HostResult OZK_HOSTCALL ReleaseRequest(HostMediaRequest* request) override;
    int32_t openRequests = 0;
};

class Symbols final : public Service<IHostSymbols> {
public:
    explicit Symbols(Host& host) : Service(host, "symbol lookup") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    OZK_STANDIN_TRAP(5)
    OZK_STANDIN_TRAP(6)
    OZK_STANDIN_TRAP(7)
    HostResult OZK_HOSTCALL StringToSymbol(const char* text, HostSymbol* symbol) override;
};

class AppInfo final : public Service<IHostAppInfo> {
public:
    explicit AppInfo(Host& host) : Service(host, "application information") {}
    HostResult OZK_HOSTCALL GetStringProp(int32_t index, char* buffer, int32_t size) override;
    std::string name = "Projector";
    std::string version = "7.0.2";
    bool fail = false;
};

// One value put into a dictionary, byte for byte.
struct DictionaryEntry {
    int32_t type;
    std::string key;
    std::vector<uint8_t> bytes;
};

class Dictionary final : public Service<IHostDictionary> {
public:
    explicit Dictionary(Host& host) : Service(host, "dictionary") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    OZK_STANDIN_TRAP(5)
    HostResult OZK_HOSTCALL Put(int32_t type, const void* value, int32_t size,
                                const char* key) override;
    std::vector<DictionaryEntry> entries;
    const DictionaryEntry* Find(const std::string& key) const;
};

// One registry entry added by the registration.
struct RegistryEntry {
    HostGuid classId;
    HostGuid interfaceId;
    IHostDictionary* extension;
    std::unique_ptr<Dictionary> dictionary;
};

class RegistrationCache final : public Service<IHostRegistrationCache> {
public:
    explicit RegistrationCache(Host& host) : Service(host, "registration cache") {}
    OZK_STANDIN_TRAP(3)
    OZK_STANDIN_TRAP(4)
    OZK_STANDIN_TRAP(5)
    OZK_STANDIN_TRAP(6)
    HostResult OZK_HOSTCALL AddEntry(IHostDictionary* extension, const HostGuid* classId,
                                     const HostGuid* interfaceId, IHostDictionary** entry) override;
    std::vector<RegistryEntry> entries;
    HostResult failEntry = 0;  // this result for the entry numbered failEntryNumber (1-based)
    size_t failEntryNumber = 0;
};

class Callback final : public Service<IHostCallback> {
public:
    explicit Callback(Host& host) : Service(host, "callback") {}
    HostResult OZK_HOSTCALL QueryInterface(const HostGuid* iid, void** out) override;
    std::vector<HostGuid> requests;  // every identifier asked for, in order
};

// An object of a plug-in class, created by the host.
struct Instance {
    HostObjectHeader* header = nullptr;
    HostGuid classId{};
    uint32_t size = 0;
    DestroyInstanceProc destroy = nullptr;
};

// What a method call answered; the result value is read and released by the host.
struct CallResult {
    HostResult code = 0;
    int32_t type = HostTypeVoid;
    int32_t integer = 0;
    HostSymbol symbol = 0;
    std::string text;
    std::string SymbolName() const;
    const Host* host = nullptr;
};

// A script object with its scripting interface.
struct ScriptInstance {
    Instance instance;
    IScriptMethods* methods = nullptr;
    HostObjectHeader* Header() const { return instance.header; }
};

class Host {
public:
    // Services "missing" from the callback.
    enum ServiceId {
        ValuesId,
        ListsId,
        HandlesId,
        PlayerId,
        MediaId,
        SymbolsId,
        AppInfoId,
        ServiceCount
    };

    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Loads the library (by LoadLibraryA) and finds its exports. False with Faults() filled.
    bool Load(const char* path = "OZKPELLMOR.dll");
    HMODULE Library() const { return library_; }

    DllGetClassObjectProc dllGetClassObject = nullptr;
    DllCanUnloadNowProc dllCanUnloadNow = nullptr;
    DllGetClassFormProc dllGetClassForm = nullptr;
    DllGetClassInfoProc dllGetClassInfo = nullptr;
    DllGetInterfaceProc dllGetInterface = nullptr;
    FARPROC ozkMProc = nullptr;

    // Reads the class records; empty on failure.
    std::vector<ClassInfoRecord> ClassRecords();
    // Creates the registration object, registers, releases it; then knows the method table.
    HostResult Register();
    const std::vector<std::string>& MethodNames() const { return methodNames_; }
    int32_t MethodNumber(const std::string& name) const;  // -1 when unknown

    // Creates an instance of a class (header filled, body poisoned) and runs its create.
    bool CreateInstance(const HostGuid& classId, Instance& out, HostResult* created = nullptr);
    // Runs destroy and frees the instance; a fault when the host's own is not the only reference.
    void DestroyInstance(Instance& instance);

    // A script object: instance, scripting interface, and "new" called.
    ScriptInstance* NewObject();
    void DeleteObject(ScriptInstance* object);
    // A method call by name with the arguments after "me"; the argument values are released.
    CallResult Call(ScriptInstance* object, const std::string& method,
                    std::vector<HostValue> args = {});
    // A call with an explicit argument count (including "me"), for count checks.
    CallResult CallRaw(ScriptInstance* object, int32_t methodNumber, std::vector<HostValue> args);

    // Values for arguments.
    HostValue Int(int32_t number);
    HostValue Sym(const std::string& name);
    HostValue Str(const std::string& text);
    HostValue Point(int32_t x, int32_t y);
    HostValue Rect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    HostValue List(const std::vector<HostValue>& items);
    void ReleaseValue(HostValue& value);

    HostSymbol Intern(const std::string& name);
    std::string SymbolName(HostSymbol symbol) const;

    // The windows: a top-level main window and the stage (the movie's window) inside it.
    HWND MainWindow() const { return mainWindow_; }
    HWND StageWindowHandle() const { return stageWindow_; }

    void AddMember(const std::string& name, const std::string& castType,
                   std::vector<uint8_t> dib = {});
    Member* FindMember(const std::string& name, int32_t* number = nullptr);
    Member* MemberByNumber(int32_t number);

    void SetMissing(ServiceId id, bool missing) { missing_[id] = missing; }
    bool IsMissing(ServiceId id) const { return missing_[id]; }

    // Counters for leak checks.
    size_t LiveValues() const;
    int32_t ExtraServiceRefs() const;  // references the plug-in holds on the services
    std::string ServiceRefReport() const;

    void Fault(const std::string& text) { faults_.push_back(text); }
    const std::vector<std::string>& Faults() const { return faults_; }

    Allocator allocator{*this};
    Callback callback{*this};
    Values values{*this};
    Lists lists{*this};
    WindowHandles handles{*this};
    Player player{*this};
    Movie movie{*this};
    StageWindow stage{*this};
    MediaAccess media{*this};
    Symbols symbols{*this};
    AppInfo appInfo{*this};
    RegistrationCache cache{*this};
    Dictionary extension{*this};

    // The value table behind table-backed values (strings, lists, points, rects).
    struct ValueEntry {
        int32_t type = HostTypeVoid;
        bool alive = false;
        std::string text;
        HostPoint point{};
        HostRect rect{};
        std::vector<HostValue> items;
    };
    ValueEntry* Lookup(const HostValue* value, const char* use);
    bool Readable(const HostValue* value, const char* use);  // a fault for a value of no known type
    HostValue NewValue(ValueEntry entry);
    HostValue CopyValue(const HostValue& value);

private:
    void CreateWindows();
    void ParseMethodTable(const std::string& text);

    HMODULE library_ = nullptr;
    HWND mainWindow_ = nullptr;
    HWND stageWindow_ = nullptr;
    bool missing_[ServiceCount] = {};
    std::vector<std::string> faults_;
    std::vector<std::string> methodNames_;
    std::vector<ValueEntry> valueTable_;
    std::vector<std::string> symbolNames_;  // id = index + 1
    std::vector<std::pair<std::string, std::unique_ptr<Member>>> members_;
};

}  // namespace OZKPELLMOR::standin
