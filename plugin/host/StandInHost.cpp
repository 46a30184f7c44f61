#include "plugin/host/StandInHost.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace OZKPELLMOR::standin {

namespace {

constexpr HostResult HostFailed = static_cast<HostResult>(0x80004005);
constexpr HostResult HostNotServed = static_cast<HostResult>(0x80004001);

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string GuidText(const HostGuid& g) {
    char text[40];
    std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.data1), g.data2, g.data3, g.data4[0], g.data4[1],
                  g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

bool IsTableType(uint32_t kind) {
    return kind == HostTypeString || kind == HostTypeList || kind == HostTypePoint ||
           kind == HostTypeRect;
}

bool IsKnownType(uint32_t kind) {
    return kind == HostTypeVoid || kind == HostTypeInteger || kind == HostTypeSymbol ||
           IsTableType(kind);
}

// The host's own operations on an instance: QueryInterface asks the library for the
// interface of the instance's class.
struct InstanceData {
    Host* host;
    HostGuid classId;
};

InstanceData* DataOf(HostObjectHeader* self) {
    return static_cast<InstanceData*>(self->hostReserved[0]);
}

HostResult OZK_HOSTCALL InstanceQueryInterface(HostObjectHeader* self, const HostGuid* iid,
                                               void** out) {
    InstanceData* data = DataOf(self);
    return data->host->dllGetInterface(self, &data->classId, iid, out);
}

uint32_t OZK_HOSTCALL InstanceAddRef(HostObjectHeader* self) { return ++self->refs; }

uint32_t OZK_HOSTCALL InstanceRelease(HostObjectHeader* self) {
    if (self->refs <= 1) {
        DataOf(self)->host->Fault("instance released below the host's own reference");
        return self->refs;
    }
    return --self->refs;
}

const HostObjectOps InstanceOps = {InstanceQueryInterface, InstanceAddRef, InstanceRelease};

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// ---- Services ------------------------------------------------------------------------------

template <class Interface>
HostResult OZK_HOSTCALL Service<Interface>::QueryInterface(const HostGuid*, void** out) {
    if (out)
        *out = nullptr;
    return Trap(0);
}

template <class Interface>
uint32_t OZK_HOSTCALL Service<Interface>::Release() {
    if (refs_ <= 1) {
        host_.Fault(std::string(name_) + ": released more often than referenced");
        return refs_;
    }
    return --refs_;
}

template <class Interface>
HostResult Service<Interface>::Trap(int slot) {
    host_.Fault(std::string(name_) + ": unserved slot " + std::to_string(slot) + " called");
    return HostNotServed;
}

Allocator::~Allocator() {
    for (auto& [block, size] : blocks_)
        std::free(block);
}

void* OZK_HOSTCALL Allocator::Allocate(uint32_t size) {
    ++allocations_;
    sizes.push_back(size);
    if (failFrom_ && allocations_ >= failFrom_)
        return nullptr;
    void* block = std::malloc(size ? size : 1);
    if (!block)
        return nullptr;
    std::memset(block, 0xCD, size);
    blocks_[block] = size;
    return block;
}

void OZK_HOSTCALL Allocator::Free(void* block) {
    auto it = blocks_.find(block);
    if (it == blocks_.end()) {
        host_.Fault("allocator: free of a block it did not allocate");
        return;
    }
    std::memset(block, 0xDD, it->second);
    std::free(block);
    blocks_.erase(it);
}

HostResult OZK_HOSTCALL Values::StringToSymbol(const char* text, HostSymbol* symbol) {
    if (!text || !symbol)
        return HostFailed;
    *symbol = host_.Intern(text);
    return HostOk;
}

int32_t OZK_HOSTCALL Values::ValueType(const HostValue* value) {
    if (!value || !host_.Readable(value, "type of"))
        return HostTypeVoid;
    if (IsTableType(value->kind) && !host_.Lookup(value, "type of"))
        return HostTypeVoid;
    return static_cast<int32_t>(value->kind);
}

HostResult OZK_HOSTCALL Values::ReleaseValue(HostValue* value) {
    if (!value)
        return HostFailed;
    host_.ReleaseValue(*value);
    return HostOk;
}

HostResult OZK_HOSTCALL Values::ValueToInteger(const HostValue* value, int32_t* out) {
    if (!value || !out || !host_.Readable(value, "integer of") || value->kind != HostTypeInteger)
        return HostFailed;
    *out = static_cast<int32_t>(value->data);
    return HostOk;
}

HostResult OZK_HOSTCALL Values::ValueToSymbol(const HostValue* value, HostSymbol* out) {
    if (!value || !out || !host_.Readable(value, "symbol of") || value->kind != HostTypeSymbol)
        return HostFailed;
    *out = static_cast<HostSymbol>(value->data);
    return HostOk;
}

HostResult OZK_HOSTCALL Values::ValueToString(const HostValue* value, char* buffer, int32_t size) {
    if (value && !host_.Readable(value, "conversion of"))
        return HostFailed;
    if (!value || !buffer || size <= 0 || value->kind != HostTypeString)
        return HostFailed;
    Host::ValueEntry* entry = host_.Lookup(value, "string of");
    if (!entry)
        return HostFailed;
    const size_t n = std::min(entry->text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, entry->text.data(), n);
    buffer[n] = '\0';
    return HostOk;
}

HostResult OZK_HOSTCALL Values::ValueToPoint(const HostValue* value, HostPoint* out) {
    if (value && !host_.Readable(value, "conversion of"))
        return HostFailed;
    if (!value || !out || value->kind != HostTypePoint)
        return HostFailed;
    Host::ValueEntry* entry = host_.Lookup(value, "point of");
    if (!entry)
        return HostFailed;
    *out = entry->point;
    return HostOk;
}

HostResult OZK_HOSTCALL Values::ValueToRect(const HostValue* value, HostRect* out) {
    if (value && !host_.Readable(value, "conversion of"))
        return HostFailed;
    if (!value || !out || value->kind != HostTypeRect)
        return HostFailed;
    Host::ValueEntry* entry = host_.Lookup(value, "rect of");
    if (!entry)
        return HostFailed;
    *out = entry->rect;
    return HostOk;
}

HostResult OZK_HOSTCALL Values::IntegerToValue(int32_t number, HostValue* out) {
    if (!out)
        return HostFailed;
    *out = host_.Int(number);
    return HostOk;
}

HostResult OZK_HOSTCALL Values::SymbolToValue(HostSymbol symbol, HostValue* out) {
    if (!out)
        return HostFailed;
    *out = {HostTypeSymbol, static_cast<uint32_t>(symbol)};
    return HostOk;
}

HostResult OZK_HOSTCALL Values::StringToValue(const char* text, HostValue* out) {
    if (!out || !text)
        return HostFailed;
    *out = host_.Str(text);
    return HostOk;
}

int32_t OZK_HOSTCALL Lists::ListCount(const HostValue* list) {
    if (list && !host_.Readable(list, "conversion of"))
        return 0;
    if (!list || list->kind != HostTypeList)
        return 0;
    Host::ValueEntry* entry = host_.Lookup(list, "count of");
    return entry ? static_cast<int32_t>(entry->items.size()) : 0;
}

HostResult OZK_HOSTCALL Lists::ListItem(const HostValue* list, int32_t index, HostValue* item) {
    if (!list || !item || list->kind != HostTypeList)
        return HostFailed;
    Host::ValueEntry* entry = host_.Lookup(list, "item of");
    if (!entry || index < 1 || index > static_cast<int32_t>(entry->items.size()))
        return HostFailed;
    const HostValue source = entry->items[index - 1];
    *item = host_.CopyValue(source);
    return HostOk;
}

HostResult OZK_HOSTCALL WindowHandles::GetHandles(HINSTANCE* instance, HWND* mainWindow) {
    if (fail || !instance || !mainWindow)
        return HostFailed;
    *instance = GetModuleHandleA(nullptr);
    *mainWindow = host_.MainWindow();
    return HostOk;
}

HostResult OZK_HOSTCALL StageWindow::GetWindow(HostWindowRef* out) {
    if (!out)
        return HostFailed;
    out->kind = kind;
    out->handle = host_.StageWindowHandle();
    return HostOk;
}

Member::Member(Host& host, std::string type, std::vector<uint8_t> dib)
    : Service(host, "cast member"), castType(std::move(type)), image(std::move(dib)) {}

HostResult OZK_HOSTCALL Member::GetProp(HostSymbol property, HostValue* out) {
    if (!out || property != host_.Intern("castType"))
        return HostFailed;
    *out = host_.Sym(castType);
    return HostOk;
}

HostResult OZK_HOSTCALL Member::GetMedia(HostMediaRequest* request) {
    if (!request || request->label != host_.Intern("Image") ||
        request->format != host_.Intern("winDIB") || image.empty())
        return HostFailed;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, image.size());
    if (!block)
        return HostFailed;
    std::memcpy(GlobalLock(block), image.data(), image.size());
    GlobalUnlock(block);
    request->data = block;
    return HostOk;
}

HostResult OZK_HOSTCALL Movie::MemberRefByName(const char* name, HostMemberRef* out) {
    int32_t number = 0;
    if (!name || !out || !host_.FindMember(name, &number))
        return HostFailed;
    *out = {1, number};
    return HostOk;
}

HostResult OZK_HOSTCALL Movie::MemberFromRef(const HostMemberRef* ref, IHostMember** out) {
    if (!out)
        return HostFailed;
    *out = nullptr;
    Member* member = ref && ref->castLib == 1 ? host_.MemberByNumber(ref->member) : nullptr;
    if (!member)
        return HostFailed;
    member->AddRef();
    *out = member;
    return HostOk;
}

HostResult OZK_HOSTCALL Movie::StageWindow(IHostStageWindow** out) {
    if (!out)
        return HostFailed;
    *out = nullptr;
    if (noStage)
        return HostFailed;
    host_.stage.AddRef();
    *out = &host_.stage;
    return HostOk;
}

HostResult OZK_HOSTCALL Player::ActiveMovie(IHostMovie** out) {
    if (!out)
        return HostFailed;
    *out = nullptr;
    if (noMovie)
        return HostFailed;
    host_.movie.AddRef();
    *out = &host_.movie;
    return HostOk;
}

HostResult OZK_HOSTCALL MediaAccess::PrepareRequest(HostMediaRequest* request, HostSymbol label,
                                                    HostSymbol format, int32_t a, int32_t b,
                                                    int32_t c) {
    if (!request)
        return HostFailed;
    if (a || b || c)
        host_.Fault("media access: prepare with non-zero reserved arguments");
    *request = {label, format, nullptr};
    ++openRequests;
    return HostOk;
}

HostResult OZK_HOSTCALL MediaAccess::ReleaseRequest(HostMediaRequest* request) {
    if (!request)
        return HostFailed;
    if (openRequests <= 0)
        host_.Fault("media access: release of a request that was not prepared");
    if (request->data)
        GlobalFree(request->data);
    request->data = nullptr;
    --openRequests;
    return HostOk;
}

HostResult OZK_HOSTCALL Symbols::StringToSymbol(const char* text, HostSymbol* symbol) {
    if (!text || !symbol)
        return HostFailed;
    *symbol = host_.Intern(text);
    return HostOk;
}

HostResult OZK_HOSTCALL AppInfo::GetStringProp(int32_t index, char* buffer, int32_t size) {
    if (fail || !buffer || size <= 0)
        return HostFailed;
    const std::string* text = index == HostAppName      ? &name
                              : index == HostAppVersion ? &version
                                                        : nullptr;
    if (!text)
        return HostFailed;
    const size_t n = std::min(text->size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text->data(), n);
    buffer[n] = '\0';
    return HostOk;
}

HostResult OZK_HOSTCALL Dictionary::Put(int32_t type, const void* value, int32_t size,
                                        const char* key) {
    if (!key || (size > 0 && !value) || size < 0)
        return HostFailed;
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    entries.push_back({type, key, std::vector<uint8_t>(bytes, bytes + size)});
    return HostOk;
}

const DictionaryEntry* Dictionary::Find(const std::string& key) const {
    for (const DictionaryEntry& entry : entries)
        if (entry.key == key)
            return &entry;
    return nullptr;
}

HostResult OZK_HOSTCALL RegistrationCache::AddEntry(IHostDictionary* extension,
                                                    const HostGuid* classId,
                                                    const HostGuid* interfaceId,
                                                    IHostDictionary** entry) {
    if (!classId || !interfaceId || !entry)
        return HostFailed;
    *entry = nullptr;
    if (failEntryNumber && entries.size() + 1 == failEntryNumber) {
        entries.push_back({*classId, *interfaceId, extension, nullptr});
        return failEntry;
    }
    entries.push_back({*classId, *interfaceId, extension, std::make_unique<Dictionary>(host_)});
    *entry = entries.back().dictionary.get();
    return HostOk;
}

HostResult OZK_HOSTCALL Callback::QueryInterface(const HostGuid* iid, void** out) {
    if (!out)
        return HostFailed;
    *out = nullptr;
    if (!iid)
        return HostNoInterface;
    requests.push_back(*iid);
    struct Entry {
        const HostGuid& iid;
        Host::ServiceId id;
        IHostUnknown* service;
    };
    const Entry served[] = {
        {IID_HostValues, Host::ValuesId, &host_.values},
        {IID_HostLists, Host::ListsId, &host_.lists},
        {IID_HostWindowHandles, Host::HandlesId, &host_.handles},
        {IID_HostPlayer, Host::PlayerId, &host_.player},
        {IID_HostMediaAccess, Host::MediaId, &host_.media},
        {IID_HostSymbols, Host::SymbolsId, &host_.symbols},
        {IID_HostAppInfo, Host::AppInfoId, &host_.appInfo},
    };
    for (const Entry& entry : served) {
        if (entry.iid == *iid) {
            if (host_.IsMissing(entry.id))
                return HostNoInterface;
            entry.service->AddRef();
            *out = entry.service;
            return HostOk;
        }
    }
    host_.Fault("callback: asked for unknown interface " + GuidText(*iid));
    return HostNoInterface;
}

// ---- Host ----------------------------------------------------------------------------------

std::string CallResult::SymbolName() const {
    return host ? host->SymbolName(symbol) : std::string();
}

Host::Host() { CreateWindows(); }

Host::~Host() {
    if (library_)
        FreeLibrary(library_);
    if (mainWindow_)
        DestroyWindow(mainWindow_);
}

void Host::CreateWindows() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "OzkStandInMain";
        RegisterClassA(&wc);
        wc.lpszClassName = "OzkStandInStage";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassA(&wc);
        registered = true;
    }
    mainWindow_ =
        CreateWindowExA(WS_EX_APPWINDOW, "OzkStandInMain", "Stand-in host", WS_OVERLAPPEDWINDOW,
                        100, 100, 660, 520, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    stageWindow_ = CreateWindowExA(0, "OzkStandInStage", "", WS_CHILD | WS_VISIBLE, 0, 0, 640, 480,
                                   mainWindow_, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(mainWindow_, SW_SHOWNOACTIVATE);
    UpdateWindow(mainWindow_);
}

bool Host::Load(const char* path) {
    library_ = LoadLibraryA(path);
    if (!library_) {
        Fault(std::string("cannot load ") + path);
        return false;
    }
    auto find = [&](const char* name) {
        FARPROC proc = GetProcAddress(library_, name);
        if (!proc)
            Fault(std::string("missing export ") + name);
        return reinterpret_cast<void*>(proc);
    };
    dllGetClassObject = reinterpret_cast<DllGetClassObjectProc>(find("DllGetClassObject"));
    dllCanUnloadNow = reinterpret_cast<DllCanUnloadNowProc>(find("DllCanUnloadNow"));
    dllGetClassForm = reinterpret_cast<DllGetClassFormProc>(find("DllGetClassForm"));
    dllGetClassInfo = reinterpret_cast<DllGetClassInfoProc>(find("DllGetClassInfo"));
    dllGetInterface = reinterpret_cast<DllGetInterfaceProc>(find("DllGetInterface"));
    ozkMProc = GetProcAddress(library_, "OZKMProc");
    return dllGetClassObject && dllCanUnloadNow && dllGetClassForm && dllGetClassInfo &&
           dllGetInterface;
}

std::vector<ClassInfoRecord> Host::ClassRecords() {
    ClassInfoRecord* records = nullptr;
    if (dllGetClassInfo(&allocator, &records) != HostOk || !records)
        return {};
    std::vector<ClassInfoRecord> result;
    const ClassInfoRecord zero{};
    for (const ClassInfoRecord* r = records;; ++r) {
        result.push_back(*r);
        if (r->classId == zero.classId && r->interfaceId == zero.interfaceId)
            break;
    }
    allocator.Free(records);
    return result;
}

bool Host::CreateInstance(const HostGuid& classId, Instance& out, HostResult* created) {
    uint32_t size = 0;
    CreateInstanceProc create = nullptr;
    DestroyInstanceProc destroy = nullptr;
    if (dllGetClassForm(&classId, &size, &create, &destroy) != HostOk ||
        size < sizeof(HostObjectHeader)) {
        Fault("no class form for " + GuidText(classId));
        return false;
    }
    void* block = std::malloc(size);
    std::memset(block, 0xCD, size);
    auto* header = static_cast<HostObjectHeader*>(block);
    header->ops = &InstanceOps;
    header->refs = 1;
    header->callback = &callback;
    header->allocator = &allocator;
    header->hostReserved[0] = new InstanceData{this, classId};
    header->hostReserved[1] = nullptr;
    out = {header, classId, size, destroy};
    const HostResult result = create ? create(header) : HostOk;
    if (created)
        *created = result;
    return true;
}

void Host::DestroyInstance(Instance& instance) {
    if (!instance.header)
        return;
    if (instance.destroy)
        instance.destroy(instance.header);
    if (instance.header->refs != 1)
        Fault("instance destroyed while the plug-in holds " +
              std::to_string(instance.header->refs - 1) + " references");
    delete DataOf(instance.header);
    std::memset(instance.header, 0xDD, instance.size);
    std::free(instance.header);
    instance.header = nullptr;
}

HostResult Host::Register() {
    // The classes and their interfaces as the library describes them.
    const std::vector<ClassInfoRecord> records = ClassRecords();
    auto declares = [&](const HostGuid& classId, const HostGuid& interfaceId) {
        return std::any_of(records.begin(), records.end(), [&](const ClassInfoRecord& r) {
            return r.classId == classId && r.interfaceId == interfaceId;
        });
    };
    if (!declares(CLSID_Registration, IID_ScriptRegistration) ||
        !declares(CLSID_Script, IID_ScriptMethods)) {
        Fault("the class records do not declare the registration and scripting interfaces");
        return HostNoClass;
    }
    Instance registration;
    if (!CreateInstance(CLSID_Registration, registration))
        return HostNoClass;
    void* found = nullptr;
    HostResult result =
        dllGetInterface(registration.header, &CLSID_Registration, &IID_ScriptRegistration, &found);
    if (result == HostOk && found) {
        auto* registrar = static_cast<IScriptRegistration*>(found);
        result = registrar->Register(&cache, &extension);
        registrar->Release();
    }
    DestroyInstance(registration);
    for (const RegistryEntry& entry : cache.entries) {
        if (!entry.dictionary)
            continue;
        if (const DictionaryEntry* table = entry.dictionary->Find("msgTable"))
            ParseMethodTable(std::string(table->bytes.begin(), table->bytes.end()).c_str());
    }
    return result;
}

void Host::ParseMethodTable(const std::string& text) {
    // The first line names the extension; each further line starts with a method name.
    methodNames_.clear();
    std::istringstream lines(text);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        if (first) {
            first = false;
            continue;
        }
        const size_t end = line.find_first_of(" \t");
        methodNames_.push_back(line.substr(0, end));
    }
}

int32_t Host::MethodNumber(const std::string& name) const {
    for (size_t i = 0; i < methodNames_.size(); ++i)
        if (Lower(methodNames_[i]) == Lower(name))
            return static_cast<int32_t>(i);
    return -1;
}

ScriptInstance* Host::NewObject() {
    auto object = std::make_unique<ScriptInstance>();
    HostResult created = HostOk;
    if (!CreateInstance(CLSID_Script, object->instance, &created))
        return nullptr;
    if (created != HostOk)
        Fault("create answered " + std::to_string(created));
    void* found = nullptr;
    if (object->instance.header->ops->QueryInterface(object->instance.header, &IID_ScriptMethods,
                                                     &found) != HostOk ||
        !found) {
        Fault("no scripting interface");
        DestroyInstance(object->instance);
        return nullptr;
    }
    object->methods = static_cast<IScriptMethods*>(found);
    Call(object.get(), "new");
    return object.release();
}

void Host::DeleteObject(ScriptInstance* object) {
    if (!object)
        return;
    if (object->methods && object->methods->Release() != 0)
        Fault("scripting interface still referenced after the host's release");
    DestroyInstance(object->instance);
    delete object;
}

CallResult Host::Call(ScriptInstance* object, const std::string& method,
                      std::vector<HostValue> args) {
    const int32_t number = MethodNumber(method);
    if (number < 0) {
        Fault("unknown method " + method);
        for (HostValue& value : args)
            ReleaseValue(value);
        CallResult refused;
        refused.code = static_cast<HostResult>(0x80004001);
        return refused;
    }
    return CallRaw(object, number, std::move(args));
}

CallResult Host::CallRaw(ScriptInstance* object, int32_t methodNumber,
                         std::vector<HostValue> args) {
    std::vector<HostValue> all;
    all.push_back({HostTypeVoid, 0});  // "me"
    all.insert(all.end(), args.begin(), args.end());
    HostCallRecord record{
        methodNumber, static_cast<int32_t>(all.size()), all.data(), {HostTypeVoid, 0}};
    CallResult result;
    result.host = this;
    result.code = object->methods->CallHandler(&record);
    result.type = static_cast<int32_t>(record.result.kind);
    if (record.result.kind == HostTypeInteger)
        result.integer = static_cast<int32_t>(record.result.data);
    else if (record.result.kind == HostTypeSymbol)
        result.symbol = static_cast<HostSymbol>(record.result.data);
    else if (ValueEntry* entry = Lookup(&record.result, "result");
             entry && record.result.kind == HostTypeString)
        result.text = entry->text;
    ReleaseValue(record.result);
    for (HostValue& value : args)
        ReleaseValue(value);
    return result;
}

HostValue Host::NewValue(ValueEntry entry) {
    entry.alive = true;
    const int32_t type = entry.type;
    valueTable_.push_back(std::move(entry));
    return {static_cast<uint32_t>(type), static_cast<uint32_t>(valueTable_.size() - 1)};
}

bool Host::Readable(const HostValue* value, const char* use) {
    if (IsKnownType(value->kind))
        return true;
    Fault(std::string(use) + " a value that is no value");
    return false;
}

Host::ValueEntry* Host::Lookup(const HostValue* value, const char* use) {
    if (!value || !IsTableType(value->kind))
        return nullptr;
    if (value->data >= valueTable_.size() ||
        valueTable_[value->data].type != static_cast<int32_t>(value->kind)) {
        Fault(std::string(use) + " a value the host never made");
        return nullptr;
    }
    ValueEntry& entry = valueTable_[value->data];
    if (!entry.alive) {
        Fault(std::string(use) + " a released value");
        return nullptr;
    }
    return &entry;
}

HostValue Host::CopyValue(const HostValue& value) {
    if (!IsTableType(value.kind))
        return value;
    ValueEntry* entry = Lookup(&value, "copy of");
    if (!entry)
        return {HostTypeVoid, 0};
    ValueEntry copy = *entry;
    for (HostValue& item : copy.items)
        item = CopyValue(item);
    return NewValue(std::move(copy));
}

void Host::ReleaseValue(HostValue& value) {
    if (IsTableType(value.kind)) {
        ValueEntry* entry = Lookup(&value, "release of");
        if (entry) {
            entry->alive = false;
            std::vector<HostValue> items = std::move(entry->items);
            for (HostValue& item : items)
                ReleaseValue(item);
        }
    }
    value = {HostTypeVoid, 0};
}

HostValue Host::Int(int32_t number) { return {HostTypeInteger, static_cast<uint32_t>(number)}; }

HostValue Host::Sym(const std::string& name) {
    return {HostTypeSymbol, static_cast<uint32_t>(Intern(name))};
}

HostValue Host::Str(const std::string& text) {
    ValueEntry entry;
    entry.type = HostTypeString;
    entry.text = text;
    return NewValue(std::move(entry));
}

HostValue Host::Point(int32_t x, int32_t y) {
    ValueEntry entry;
    entry.type = HostTypePoint;
    entry.point = {y, x};
    return NewValue(std::move(entry));
}

HostValue Host::Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    ValueEntry entry;
    entry.type = HostTypeRect;
    entry.rect = {top, left, bottom, right};
    return NewValue(std::move(entry));
}

HostValue Host::List(const std::vector<HostValue>& items) {
    ValueEntry entry;
    entry.type = HostTypeList;
    entry.items = items;
    return NewValue(std::move(entry));
}

HostSymbol Host::Intern(const std::string& name) {
    const std::string key = Lower(name);
    for (size_t i = 0; i < symbolNames_.size(); ++i)
        if (Lower(symbolNames_[i]) == key)
            return static_cast<HostSymbol>(i + 1);
    symbolNames_.push_back(name);
    return static_cast<HostSymbol>(symbolNames_.size());
}

std::string Host::SymbolName(HostSymbol symbol) const {
    if (symbol < 1 || symbol > static_cast<HostSymbol>(symbolNames_.size()))
        return {};
    return symbolNames_[symbol - 1];
}

void Host::AddMember(const std::string& name, const std::string& castType,
                     std::vector<uint8_t> dib) {
    members_.emplace_back(name, std::make_unique<Member>(*this, castType, std::move(dib)));
}

Member* Host::FindMember(const std::string& name, int32_t* number) {
    for (size_t i = 0; i < members_.size(); ++i) {
        if (Lower(members_[i].first) == Lower(name)) {
            if (number)
                *number = static_cast<int32_t>(i + 1);
            return members_[i].second.get();
        }
    }
    return nullptr;
}

Member* Host::MemberByNumber(int32_t number) {
    if (number < 1 || number > static_cast<int32_t>(members_.size()))
        return nullptr;
    return members_[number - 1].second.get();
}

size_t Host::LiveValues() const {
    return static_cast<size_t>(std::count_if(valueTable_.begin(), valueTable_.end(),
                                             [](const ValueEntry& e) { return e.alive; }));
}

int32_t Host::ExtraServiceRefs() const {
    int32_t total = allocator.ExtraRefs() + callback.ExtraRefs() + values.ExtraRefs() +
                    lists.ExtraRefs() + handles.ExtraRefs() + player.ExtraRefs() +
                    movie.ExtraRefs() + stage.ExtraRefs() + media.ExtraRefs() +
                    symbols.ExtraRefs() + appInfo.ExtraRefs() + cache.ExtraRefs() +
                    extension.ExtraRefs();
    for (const auto& member : members_)
        total += member.second->ExtraRefs();
    return total;
}

std::string Host::ServiceRefReport() const {
    std::string report;
    auto add = [&](const char* name, int32_t refs) {
        if (refs)
            report += std::string(name) + " " + std::to_string(refs) + "; ";
    };
    add(values.Name(), values.ExtraRefs());
    add(lists.Name(), lists.ExtraRefs());
    add(handles.Name(), handles.ExtraRefs());
    add(player.Name(), player.ExtraRefs());
    add(movie.Name(), movie.ExtraRefs());
    add(stage.Name(), stage.ExtraRefs());
    add(media.Name(), media.ExtraRefs());
    add(symbols.Name(), symbols.ExtraRefs());
    add(appInfo.Name(), appInfo.ExtraRefs());
    add(callback.Name(), callback.ExtraRefs());
    add(allocator.Name(), allocator.ExtraRefs());
    return report;
}

}  // namespace OZKPELLMOR::standin
