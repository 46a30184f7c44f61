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

// The type and bytes SetValueEx writes for a value; false for a type it does not write.
bool EncodeForStore(std::int32_t valueType, const Variant& value, std::uint32_t& type,
                    std::string& bytes) {
    switch (valueType) {
    case REG_TYPE_SZ:
        type = registry::kRegSz;
        bytes = ToText(value);
        bytes.push_back('\0');
        return true;
    case REG_TYPE_BINARY:
        type = registry::kRegBinary;
        bytes.assign(1, static_cast<char>(ToLong(value) & 0xFF));
        return true;
    case REG_TYPE_DWORD: {
        const std::uint32_t number = static_cast<std::uint32_t>(ToLong(value));
        type = registry::kRegDword;
        bytes = {static_cast<char>(number), static_cast<char>(number >> 8),
                 static_cast<char>(number >> 16), static_cast<char>(number >> 24)};
        return true;
    }
    default:
        return false;
    }
}

// QueryValueEx, keeping the value as stored: text for types 1 and 2 (only a terminating NUL
// dropped), a number for types 3 and 4 of at most 4 bytes, result left as it was otherwise.
long ReadValue(RegKey keyHandle, const std::string& valueName, StoredValue& stored,
               Variant& result) {
    runtime::SetStep("QueryValueEx");
    const long rc = stored.Read(keyHandle, valueName);
    const std::uint32_t type = stored.Type();
    const bool text = type == registry::kRegSz || type == registry::kRegExpandSz;
    const bool number = type == registry::kRegBinary || type == registry::kRegDword;
    if (rc == registry::kMoreData && !text && !number)
        return kSuccess;  // a type not read: its size alone was asked for
    if (rc != kSuccess)
        return rc;
    const unsigned char* data = stored.Data();
    std::uint32_t size = stored.Size();
    if (text) {
        // Only a terminating NUL is dropped: a value stored without one keeps its last
        // character, and a value of no bytes is the empty text.
        if (size > 0 && data[size - 1] == 0)
            --size;
        result = Variant(std::string(reinterpret_cast<const char*>(data), size));
    } else if (number) {
        if (size > 4)
            return registry::kMoreData;  // does not fit the number it is read into
        unsigned char bytes[4] = {0, 0, 0, 0};
        std::memcpy(bytes, data, size);
        const std::uint32_t n = static_cast<std::uint32_t>(bytes[0]) |
                                (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                (static_cast<std::uint32_t>(bytes[3]) << 24);
        result = Variant(static_cast<long long>(static_cast<std::int32_t>(n)));
    }
    return rc;
}

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
    StoredValue stored;
    return Query(valueName, stored);
}

Variant KeyReader::Query(const std::string& valueName, StoredValue& stored) const {
    runtime::SetStep("QueryValue");
    Variant result;
    if (key_.handle() != 0) {
        ReadValue(key_.handle(), valueName, stored, result);
        return result;
    }
    StoredValue elsewhere;  // read where the writer does not write
    if (user_.handle() != 0 && ReadValue(user_.handle(), valueName, elsewhere, result) == kSuccess)
        return result;
    ReadValue(machine_.handle(), valueName, elsewhere, result);
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
    std::uint32_t type = 0;
    std::string bytes;
    if (!EncodeForStore(valueType, value, type, bytes))
        return registry::kInvalidParameter;
    return CurrentRegistry().SetValue(keyHandle, valueName, type,
                                      reinterpret_cast<const unsigned char*>(bytes.data()),
                                      static_cast<std::uint32_t>(bytes.size()));
}

bool StoresAs(const StoredValue& stored, const Variant& value, std::int32_t valueType) {
    std::uint32_t type = 0;
    std::string bytes;
    return stored.IsRead() && EncodeForStore(valueType, value, type, bytes) &&
           stored.Type() == type && stored.Size() == bytes.size() &&
           std::memcmp(stored.Data(), bytes.data(), bytes.size()) == 0;
}

long StoredValue::Read(RegKey keyHandle, const std::string& valueName) {
    read_ = false;
    data_ = first_;
    std::uint32_t capacity = sizeof first_;
    size_ = capacity;
    long rc = CurrentRegistry().QueryValue(keyHandle, valueName, &type_, first_, &size_);
    // A larger value: asked again with the size it needs (twice, should it grow meanwhile).
    for (int again = 0; again < 2 && rc == registry::kMoreData && size_ > capacity; ++again) {
        capacity = size_;
        larger_.assign(capacity, 0);
        data_ = larger_.data();
        rc = CurrentRegistry().QueryValue(keyHandle, valueName, &type_, larger_.data(), &size_);
    }
    read_ = rc == kSuccess;
    if (!read_)
        size_ = 0;
    return rc;
}

long QueryValueEx(RegKey keyHandle, const std::string& valueName, Variant& result) {
    StoredValue stored;
    return ReadValue(keyHandle, valueName, stored, result);
}

}  // namespace Registry_Functions
