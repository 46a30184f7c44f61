// The platform registry through the advapi32 A functions.
#include "core/RegistryStore.h"

#include <windows.h>

namespace registry {

namespace {

HKEY ToHkey(RegKey key) {
    std::uint32_t root = PredefinedRoot(key);
    if (root != 0)
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

class Win32Registry : public RegistryStore {
public:
    long CreateKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                   RegKey& result) override {
        HKEY key = nullptr;
        DWORD disposition = 0;
        LONG rc = RegCreateKeyExA(ToHkey(parent), subKey.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, access, nullptr, &key, &disposition);
        result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }

    long OpenKey(RegKey parent, const std::string& subKey, std::uint32_t access,
                 RegKey& result) override {
        HKEY key = nullptr;
        LONG rc = RegOpenKeyExA(ToHkey(parent), subKey.c_str(), 0, access, &key);
        result = rc == ERROR_SUCCESS ? FromHkey(key) : 0;
        return rc;
    }

    long CloseKey(RegKey key) override {
        if (PredefinedRoot(key) != 0)
            return ERROR_SUCCESS;
        return RegCloseKey(ToHkey(key));
    }

    long QueryValue(RegKey key, const std::string& valueName, std::uint32_t* type,
                    unsigned char* data, std::uint32_t* size) override {
        DWORD t = 0;
        DWORD n = size != nullptr ? *size : 0;
        LONG rc = RegQueryValueExA(ToHkey(key), valueName.c_str(), nullptr, &t, data,
                                   size != nullptr ? &n : nullptr);
        if (type != nullptr)
            *type = t;
        if (size != nullptr)
            *size = n;
        return rc;
    }

    long SetValue(RegKey key, const std::string& valueName, std::uint32_t type,
                  const unsigned char* data, std::uint32_t size) override {
        return RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type, data, size);
    }
};

}  // namespace

RegistryStore& SystemRegistry() {
    static Win32Registry store;
    return store;
}

}  // namespace registry
