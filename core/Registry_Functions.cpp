#include "core/Registry_Functions.h"

#include <cstring>
#include <vector>

#include "core/ErrorContext.h"
#include "core/Runtime.h"

namespace Registry_Functions {

namespace {

using registry::CurrentRegistry;
using registry::kKeyAllAccess;
using registry::kSuccess;

// The ordinary conversion to text: "True"/"False", a date's regional text, a number's
// decimal text.
std::string ToText(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Empty:
        return "";
    case Variant::Kind::Boolean:
        return value.Number() != 0 ? "True" : "False";
    case Variant::Kind::Long:
        return std::to_string(value.LongValue());
    case Variant::Kind::Double:
        return runtime::CStr(value.Number());
    case Variant::Kind::Date:
        return runtime::Format(value.Number(), "General Date");
    case Variant::Kind::String:
        return value.Text();
    }
    return "";
}

// The ordinary conversion to a 32-bit whole number: rounded, halves to even; True is -1;
// text goes through the regional number reading (error 13 when it is none); out of range
// is error 6.
std::int32_t ToLong(const Variant& value) {
    switch (value.kind()) {
    case Variant::Kind::Empty:
        return 0;
    case Variant::Kind::String:
        return runtime::CLng(value.Text());
    default:
        return runtime::CLng(value.Number());
    }
}

// The settings live under the local machine. A user without administrator rights may only
// read there: that user's writes go to the same key under the current user, which is read
// first. Whoever may write the local machine's key uses it alone.
bool HasUserCopy(RegKey root) { return registry::PredefinedRoot(root) == registry::kLocalMachine; }

}  // namespace

void CreatNewKey(const std::string& keyName, RegKey root) {
    runtime::SetStep("CreatNewKey");
    RegKey key = 0;
    long rc = CurrentRegistry().CreateKey(root, keyName, kKeyAllAccess, key);
    if (rc == registry::kAccessDenied && HasUserCopy(root))
        rc = CurrentRegistry().CreateKey(registry::kCurrentUser, keyName, kKeyAllAccess, key);
    if (rc == kSuccess)
        CurrentRegistry().CloseKey(key);
}

void SetKeyValue(RegKey root, const std::string& keyName, const std::string& valueName,
                 const Variant& value, std::int32_t valueType) {
    KeyWriter(root, keyName).Set(valueName, value, valueType);
}

Variant QueryValue(RegKey root, const std::string& keyName, const std::string& valueName) {
    return KeyReader(root, keyName).Query(valueName);
}

KeyReader::KeyReader(RegKey root, const std::string& keyName) : key_(root, keyName, kKeyAllAccess) {
    if (key_.handle() == 0 && HasUserCopy(root)) {
        user_ = registry::ScopedKey(registry::kCurrentUser, keyName, registry::kKeyRead);
        machine_ = registry::ScopedKey(root, keyName, registry::kKeyRead);
    }
}

Variant KeyReader::Query(const std::string& valueName) const {
    runtime::SetStep("QueryValue");
    Variant result;
    if (user_.handle() != 0 && QueryValueEx(user_.handle(), valueName, result) == kSuccess)
        return result;
    QueryValueEx(key_.handle() != 0 ? key_.handle() : machine_.handle(), valueName, result);
    return result;
}

KeyWriter::KeyWriter(RegKey root, const std::string& keyName) : key_(root, keyName, kKeyAllAccess) {
    if (key_.handle() == 0 && HasUserCopy(root))
        key_ = registry::ScopedKey(registry::kCurrentUser, keyName, kKeyAllAccess);
}

void KeyWriter::Set(const std::string& valueName, const Variant& value,
                    std::int32_t valueType) const {
    runtime::SetStep("SetKeyValue");
    SetValueEx(key_.handle(), valueName, valueType, value);
}

bool ValueExists(RegKey root, const std::string& keyName, const std::string& valueName) {
    runtime::SetStep("QueryValue");
    const auto stored = [&](RegKey keyRoot) {
        registry::ScopedKey key(keyRoot, keyName, registry::kKeyRead);
        std::uint32_t size = 0;
        return key.handle() != 0 && CurrentRegistry().QueryValue(key.handle(), valueName, nullptr,
                                                                 nullptr, &size) == kSuccess;
    };
    return stored(root) || (HasUserCopy(root) && stored(registry::kCurrentUser));
}

long SetValueEx(RegKey keyHandle, const std::string& valueName, std::int32_t valueType,
                const Variant& value) {
    runtime::SetStep("SetValueEx");
    switch (valueType) {
    case REG_TYPE_SZ: {
        std::string text = ToText(value);
        text.push_back('\0');
        return CurrentRegistry().SetValue(keyHandle, valueName, registry::kRegSz,
                                          reinterpret_cast<const unsigned char*>(text.data()),
                                          static_cast<std::uint32_t>(text.size()));
    }
    case REG_TYPE_BINARY: {
        unsigned char low = static_cast<unsigned char>(ToLong(value) & 0xFF);
        return CurrentRegistry().SetValue(keyHandle, valueName, registry::kRegBinary, &low, 1);
    }
    case REG_TYPE_DWORD: {
        std::uint32_t number = static_cast<std::uint32_t>(ToLong(value));
        unsigned char bytes[4] = {
            static_cast<unsigned char>(number), static_cast<unsigned char>(number >> 8),
            static_cast<unsigned char>(number >> 16), static_cast<unsigned char>(number >> 24)};
        return CurrentRegistry().SetValue(keyHandle, valueName, registry::kRegDword, bytes, 4);
    }
    default:
        return registry::kInvalidParameter;
    }
}

long QueryValueEx(RegKey keyHandle, const std::string& valueName, Variant& result) {
    runtime::SetStep("QueryValueEx");
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    long rc = CurrentRegistry().QueryValue(keyHandle, valueName, &type, nullptr, &size);
    if (rc != kSuccess)
        return rc;

    switch (type) {
    case registry::kRegSz:
    case registry::kRegExpandSz: {
        std::vector<unsigned char> buffer(size + 1, 0);
        std::uint32_t read = size;
        rc = CurrentRegistry().QueryValue(keyHandle, valueName, &type, buffer.data(), &read);
        if (rc != kSuccess)
            return rc;
        if (read > size)
            read = size;
        // Only a terminating NUL is dropped: a value stored without one keeps its last
        // character, and a value of no bytes is the empty text.
        if (read > 0 && buffer[read - 1] == 0)
            --read;
        result = Variant(std::string(reinterpret_cast<const char*>(buffer.data()), read));
        return rc;
    }
    case registry::kRegBinary:
    case registry::kRegDword: {
        unsigned char bytes[4] = {0, 0, 0, 0};
        std::uint32_t read = 4;
        rc = CurrentRegistry().QueryValue(keyHandle, valueName, &type, bytes, &read);
        if (rc != kSuccess)
            return rc;
        std::uint32_t number = static_cast<std::uint32_t>(bytes[0]) |
                               (static_cast<std::uint32_t>(bytes[1]) << 8) |
                               (static_cast<std::uint32_t>(bytes[2]) << 16) |
                               (static_cast<std::uint32_t>(bytes[3]) << 24);
        result = Variant(static_cast<long long>(static_cast<std::int32_t>(number)));
        return rc;
    }
    default:
        return rc;
    }
}

}  // namespace Registry_Functions
