// The one way the program reads and writes the registry. Failures are never reported: a value
// that cannot be read is Empty, a value that cannot be written is not stored. Where the local
// machine's key refuses full access (a user without administrator rights), that user's writes
// go to the same key under the current user, which is read before the local machine's.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/RegistryStore.h"

namespace Registry_Functions {

// A value to store or a value read: Empty, a Boolean, a whole number, a double, a date
// (day count) or a text. Reads give Empty, String or Long only.
class Variant {
public:
    enum class Kind { Empty, Boolean, Long, Double, Date, String };

    Variant() = default;
    Variant(bool b) : kind_(Kind::Boolean), number_(b ? -1 : 0) {}
    Variant(int v) : kind_(Kind::Long), long_(v) {}
    Variant(unsigned v) : kind_(Kind::Long), long_(v) {}
    Variant(long v) : kind_(Kind::Long), long_(v) {}
    Variant(unsigned long v) : kind_(Kind::Long), long_(static_cast<long long>(v)) {}
    Variant(long long v) : kind_(Kind::Long), long_(v) {}
    Variant(unsigned long long v) : kind_(Kind::Long), long_(static_cast<long long>(v)) {}
    Variant(double v) : kind_(Kind::Double), number_(v) {}
    Variant(const char* s) : kind_(Kind::String), text_(s) {}
    Variant(std::string s) : kind_(Kind::String), text_(std::move(s)) {}
    static Variant FromDate(double day) {
        Variant v;
        v.kind_ = Kind::Date;
        v.number_ = day;
        return v;
    }

    Kind kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == Kind::Empty; }
    bool IsString() const { return kind_ == Kind::String; }
    bool IsLong() const { return kind_ == Kind::Long; }

    // The text of a String ("" for other kinds).
    const std::string& Text() const { return text_; }
    // The number of a Long, Boolean (-1/0), Double or Date; 0 for Empty and String.
    double Number() const { return kind_ == Kind::Long ? static_cast<double>(long_) : number_; }
    // The whole number of a Long (0 for other kinds).
    long long LongValue() const { return long_; }

    bool operator==(const Variant& other) const = default;

private:
    Kind kind_ = Kind::Empty;
    long long long_ = 0;
    double number_ = 0;
    std::string text_;
};

using registry::RegKey;

constexpr std::int32_t REG_TYPE_SZ = 1;
constexpr std::int32_t REG_TYPE_BINARY = 3;
constexpr std::int32_t REG_TYPE_DWORD = 4;

// Creates the key when it does not exist, then closes it.
void CreatNewKey(const std::string& keyName, RegKey root);

// Opens an existing key and writes one value of type 1, 3 or 4.
void SetKeyValue(RegKey root, const std::string& keyName, const std::string& valueName,
                 const Variant& value, std::int32_t valueType);

// Reads one value: String for types 1 and 2 (the text as stored), Long for types 3 and 4,
// Empty otherwise.
Variant QueryValue(RegKey root, const std::string& keyName, const std::string& valueName);

// Whether the value is stored at all, in whatever type: a value that QueryValue reads as
// Empty but that exists is one the program cannot read, and must not write over.
bool ValueExists(RegKey root, const std::string& keyName, const std::string& valueName);

// A value as stored: its type and bytes, read with one call when they fit the first buffer
// (as the settings' values do), asked again with a buffer of the size needed otherwise.
class StoredValue {
public:
    StoredValue() = default;
    StoredValue(const StoredValue&) = delete;
    StoredValue& operator=(const StoredValue&) = delete;

    // The platform's result code: kSuccess when the value was read whole.
    long Read(RegKey keyHandle, const std::string& valueName);
    bool IsRead() const { return read_; }
    std::uint32_t Type() const { return type_; }
    const unsigned char* Data() const { return data_; }
    std::uint32_t Size() const { return size_; }

private:
    unsigned char first_[256];
    std::vector<unsigned char> larger_;
    const unsigned char* data_ = first_;
    std::uint32_t type_ = 0;
    std::uint32_t size_ = 0;
    bool read_ = false;
};

// Whether SetValueEx would store value as valueType in exactly the stored type and bytes.
bool StoresAs(const StoredValue& stored, const Variant& value, std::int32_t valueType);

// One key opened once for reading many values, each read as QueryValue reads it (the same
// fall-back to the current user's copy).
class KeyReader {
public:
    KeyReader(RegKey root, const std::string& keyName);
    Variant Query(const std::string& valueName) const;
    // The same, keeping the value as stored when it was read from the key that a KeyWriter
    // of the same name writes into (else stored stays unread).
    Variant Query(const std::string& valueName, StoredValue& stored) const;

private:
    registry::ScopedKey key_;      // opened with full access
    registry::ScopedKey user_;     // when key_ could not be: the user's copy, then
    registry::ScopedKey machine_;  // the machine's key opened for reading
};

// One existing key opened once for writing many values, each written as SetKeyValue writes it.
class KeyWriter {
public:
    KeyWriter(RegKey root, const std::string& keyName);
    void Set(const std::string& valueName, const Variant& value, std::int32_t valueType) const;

private:
    registry::ScopedKey key_;  // the key, or the user's copy where the key refuses writing
};

// Writes value into an open key; the platform's result code.
long SetValueEx(RegKey keyHandle, const std::string& valueName, std::int32_t valueType,
                const Variant& value);

// Reads a value of an open key into result (left as it is when nothing could be read);
// the platform's result code.
long QueryValueEx(RegKey keyHandle, const std::string& valueName, Variant& result);

}  // namespace Registry_Functions
