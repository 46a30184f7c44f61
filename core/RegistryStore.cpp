#include "core/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace registry {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// A name as SameName compares it: letters A to Z folded to lower case.
std::string FoldedName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

// The parts of a key path; empty parts (doubled or trailing backslashes) are ignored.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

MemoryRegistry* g_default = nullptr;
RegistryStore* g_current = nullptr;

}  // namespace

std::uint32_t PredefinedRoot(RegKey key) {
    std::uint64_t k = key;
    std::uint64_t high = k >> 32;
    if (high != 0 && high != 0xFFFFFFFFu)
        return 0;
    std::uint32_t low = static_cast<std::uint32_t>(k);
    if (low >= 0x80000000u && low <= 0x80000006u)
        return low;
    return 0;
}

struct MemoryRegistry::Node {
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::vector<unsigned char> data;
    };
    std::string name;
    std::vector<std::unique_ptr<Node>> children;
    std::vector<Value> values;                                // in the order first written
    std::unordered_map<std::string, std::size_t> valueIndex;  // folded name -> position

    Node* Child(const std::string& n) const {
        for (const auto& c : children)
            if (SameName(c->name, n))
                return c.get();
        return nullptr;
    }
    Value* FindValue(const std::string& n) {
        auto it = valueIndex.find(FoldedName(n));
        return it == valueIndex.end() ? nullptr : &values[it->second];
    }
    // A new value, keeping the name as first written.
    Value* AddValue(const std::string& n) {
        valueIndex.emplace(FoldedName(n), values.size());
        values.push_back(Value{n, 0, {}});
        return &values.back();
    }
};

MemoryRegistry::MemoryRegistry() { Clear(); }
MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::Clear() {
    for (auto& r : roots_)
        r = std::make_unique<Node>();
    handles_.clear();
}

MemoryRegistry::Node* MemoryRegistry::Resolve(RegKey key) const {
    std::uint32_t root = PredefinedRoot(key);
    if (root != 0) {
        std::uint32_t index = root - 0x80000000u;
        return index < 4 ? roots_[index].get() : nullptr;
    }
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second.first;
}

// Whether key is the refused root or a key opened under it.
bool MemoryRegistry::UnderRefusedRoot(RegKey key) const {
    if (refusedRoot_ != 0 && PredefinedRoot(key) == refusedRoot_)
        return true;
    auto it = handles_.find(key);
    return it != handles_.end() && it->second.second;
}

// Whether asking for access through key is refused: only more than reading is.
bool MemoryRegistry::Refused(RegKey key, std::uint32_t access) const {
    return (access & ~kKeyRead) != 0 && UnderRefusedRoot(key);
}

RegKey MemoryRegistry::NewHandle(Node* node, bool readOnlyHandle) {
    RegKey handle = nextHandle_;
    nextHandle_ += 4;
    ++keysOpened_;
    handles_[handle] = {node, readOnlyHandle};
    return handle;
}

MemoryRegistry::Node* MemoryRegistry::Find(Node* from, const std::string& path) const {
    Node* node = from;
    for (const auto& part : SplitPath(path)) {
        node = node->Child(part);
        if (node == nullptr)
            return nullptr;
    }
    return node;
}

long MemoryRegistry::CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                               RegKey& result) {
    result = 0;
    Node* node = Resolve(parent);
    if (node == nullptr)
        return kInvalidHandle;
    if (Refused(parent, access))
        return kAccessDenied;
    std::vector<std::string> parts = SplitPath(subKey);
    if (readOnly_ && Find(node, subKey) == nullptr)
        return kAccessDenied;
    for (const auto& part : parts) {
        Node* child = node->Child(part);
        if (child == nullptr) {
            auto created = std::make_unique<Node>();
            created->name = part;
            child = created.get();
            node->children.push_back(std::move(created));
        }
        node = child;
    }
    result = NewHandle(node, false);
    return kSuccess;
}

long MemoryRegistry::OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                             RegKey& result) {
    result = 0;
    Node* node = Resolve(parent);
    if (node == nullptr)
        return kInvalidHandle;
    node = Find(node, subKey);
    if (node == nullptr)
        return kFileNotFound;
    if (Refused(parent, access))
        return kAccessDenied;
    result = NewHandle(node, UnderRefusedRoot(parent));
    return kSuccess;
}

long MemoryRegistry::CloseKey(RegKey key) {
    if (PredefinedRoot(key) != 0)
        return kSuccess;
    return handles_.erase(key) == 1 ? kSuccess : kInvalidHandle;
}

long MemoryRegistry::QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                                unsigned char* data, std::uint32_t* size) {
    ++valueQueries_;
    Node* node = Resolve(key);
    if (node == nullptr)
        return kInvalidHandle;
    Node::Value* value = node->FindValue(valueName);
    if (value == nullptr)
        return kFileNotFound;
    if (type != nullptr)
        *type = value->type;
    std::uint32_t needed = static_cast<std::uint32_t>(value->data.size());
    if (data == nullptr) {
        if (size != nullptr)
            *size = needed;
        return kSuccess;
    }
    if (size == nullptr)
        return kInvalidParameter;
    if (*size < needed) {
        *size = needed;
        return kMoreData;
    }
    if (needed > 0)
        std::memcpy(data, value->data.data(), needed);
    *size = needed;
    return kSuccess;
}

long MemoryRegistry::SetValue(RegKey key, const std::string& valueName, std::uint32_t type,
                              const unsigned char* data, std::uint32_t size) {
    ++valuesSet_;
    Node* node = Resolve(key);
    if (node == nullptr)
        return kInvalidHandle;
    if (readOnly_ || Refused(key, kKeyAllAccess))
        return kAccessDenied;
    if (data == nullptr && size > 0)
        return kInvalidParameter;
    Node::Value* value = node->FindValue(valueName);
    if (value == nullptr)
        value = node->AddValue(valueName);
    value->type = type;
    value->data.assign(data, data + size);
    return kSuccess;
}

std::vector<std::string> MemoryRegistry::ValueNames(RegKey root, const std::string& path) const {
    std::vector<std::string> names;
    Node* node = Resolve(root);
    if (node != nullptr)
        node = Find(node, path);
    if (node != nullptr)
        for (const auto& v : node->values)
            names.push_back(v.name);
    return names;
}

std::vector<std::string> MemoryRegistry::SubKeyNames(RegKey root, const std::string& path) const {
    std::vector<std::string> names;
    Node* node = Resolve(root);
    if (node != nullptr)
        node = Find(node, path);
    if (node != nullptr)
        for (const auto& c : node->children)
            names.push_back(c->name);
    return names;
}

bool MemoryRegistry::KeyExists(RegKey root, const std::string& path) const {
    Node* node = Resolve(root);
    return node != nullptr && Find(node, path) != nullptr;
}

MemoryRegistry& DefaultMemoryRegistry() {
    if (g_default == nullptr)
        g_default = new MemoryRegistry();  // lives as long as the process
    return *g_default;
}

RegistryStore& CurrentRegistry() {
    if (g_current != nullptr)
        return *g_current;
    return DefaultMemoryRegistry();
}

RegistryStore* InstallRegistry(RegistryStore* store) { return std::exchange(g_current, store); }

ScopedKey::ScopedKey(RegKey parent, const std::string& subKey, std::uint32_t access) {
    if (CurrentRegistry().OpenKey(parent, subKey, access, handle_) != kSuccess)
        handle_ = 0;
}

ScopedKey::~ScopedKey() {
    if (handle_ != 0)
        CurrentRegistry().CloseKey(handle_);
}

ScopedKey& ScopedKey::operator=(ScopedKey&& other) noexcept {
    if (this != &other) {
        if (handle_ != 0)
            CurrentRegistry().CloseKey(handle_);
        handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
}

}  // namespace registry
