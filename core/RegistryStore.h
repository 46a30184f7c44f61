// The registry as the program sees it: keys under predefined roots, values with a type and
// bytes. The calls follow the platform's A functions (result codes, the size protocol of a
// value read), so that Registry_Functions reads the same on every store.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace registry {

// A predefined root or an open key. Predefined roots may arrive as 32-bit values, with or
// without sign extension (0x80000002 and 0xFFFFFFFF80000002 both mean the local machine).
using RegKey = std::uintptr_t;

constexpr RegKey kClassesRoot = 0x80000000u;
constexpr RegKey kCurrentUser = 0x80000001u;
constexpr RegKey kLocalMachine = 0x80000002u;
constexpr RegKey kUsers = 0x80000003u;

// Value types.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;  // a text that may name environment variables
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

constexpr std::uint32_t kKeyAllAccess = 0x2003F;
constexpr std::uint32_t kKeyRead = 0x20019;

// Result codes.
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
constexpr long kInvalidParameter = 87;
constexpr long kMoreData = 234;

// The predefined root named by key (sign-extended or not), or 0 when key is none of them.
std::uint32_t PredefinedRoot(RegKey key);

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Creates the key (and the keys above it) when missing and opens it.
    virtual long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                           RegKey& result) = 0;
    virtual long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                         RegKey& result) = 0;
    virtual long CloseKey(RegKey key) = 0;

    // With data null: reports the type and the size in bytes. With data: copies the value
    // when *size is large enough (else kMoreData and the needed size), and sets *size to the
    // number of bytes copied. type may be null.
    virtual long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                            unsigned char* data, std::uint32_t* size) = 0;
    virtual long SetValue(RegKey key, const std::string& valueName, std::uint32_t type,
                          const unsigned char* data, std::uint32_t size) = 0;
};

// A registry held in memory: the store of native runs, tests and tools. Key and value names
// compare without regard to case, as on the platform.
class MemoryRegistry : public RegistryStore {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                   RegKey& result) override;
    long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                 RegKey& result) override;
    long CloseKey(RegKey key) override;
    long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* size) override;
    long SetValue(RegKey key, const std::string& valueName, std::uint32_t type,
                  const unsigned char* data, std::uint32_t size) override;

    // Refuses every change with kAccessDenied while set (a machine where the program may
    // not write its settings).
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

    // Refuses every open or create under root that asks for more than reading, and every
    // change through a key opened there (a user without administrator rights on the local
    // machine's keys); keys opened for reading still read. 0 lifts the refusal.
    void RefuseFullAccess(RegKey root) { refusedRoot_ = PredefinedRoot(root); }

    // Inspection for tests and tools: the value names of a key in the order they were first
    // written (empty when the key does not exist), and whether a key exists.
    std::vector<std::string> ValueNames(RegKey root, const std::string& path) const;
    std::vector<std::string> SubKeyNames(RegKey root, const std::string& path) const;
    bool KeyExists(RegKey root, const std::string& path) const;

    // Forgets every key and value; open handles become invalid.
    void Clear();

    std::size_t OpenHandleCount() const { return handles_.size(); }
    // How many times a key was opened or created, a value asked for, a value set so far.
    std::size_t KeysOpened() const { return keysOpened_; }
    std::size_t ValueQueries() const { return valueQueries_; }
    std::size_t ValuesSet() const { return valuesSet_; }

private:
    struct Node;
    Node* Resolve(RegKey key) const;
    Node* Find(Node* from, const std::string& path) const;

    bool UnderRefusedRoot(RegKey key) const;
    bool Refused(RegKey key, std::uint32_t access) const;
    RegKey NewHandle(Node* node, bool readOnlyHandle);

    std::unique_ptr<Node> roots_[4];
    std::map<RegKey, std::pair<Node*, bool>> handles_;  // node, opened for reading only
    RegKey nextHandle_ = 0x1000;
    std::size_t keysOpened_ = 0;
    std::size_t valueQueries_ = 0;
    std::size_t valuesSet_ = 0;
    bool readOnly_ = false;
    std::uint32_t refusedRoot_ = 0;
};

// The store the program uses. Until one is installed it is a process-wide MemoryRegistry.
RegistryStore& CurrentRegistry();
// Installs a store (not owned; it must outlive its use) and returns the one it replaces.
// nullptr goes back to the default.
RegistryStore* InstallRegistry(RegistryStore* store);

// The process-wide in-memory store used when nothing else is installed.
MemoryRegistry& DefaultMemoryRegistry();

// A key opened through the current store and closed when the scope ends; the handle is 0 when
// it could not be opened (every read and write through 0 then fails).
class ScopedKey {
public:
    ScopedKey() = default;
    ScopedKey(RegKey parent, const std::string& subKey, std::uint32_t access);
    ~ScopedKey();
    ScopedKey(ScopedKey&& other) noexcept : handle_(std::exchange(other.handle_, 0)) {}
    ScopedKey& operator=(ScopedKey&& other) noexcept;
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    RegKey handle() const { return handle_; }

private:
    RegKey handle_ = 0;
};

// The platform's registry (advapi32). Defined only in Windows builds (duv_core_win32);
// the program installs it at start: registry::InstallRegistry(&registry::SystemRegistry()).
RegistryStore& SystemRegistry();

}  // namespace registry
