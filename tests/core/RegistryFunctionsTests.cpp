#include "core/Registry_Functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ErrorContext.h"
#include "core/RuntimeError.h"
#include "core/Runtime.h"
#include "tests/support/Seams.h"

using namespace Registry_Functions;
using registry::kLocalMachine;
using registry::MemoryRegistry;

namespace {

const std::string kGeneral = "SOFTWARE\\DUV\\General";

class RegistryFunctions : public ::testing::Test {
protected:
    void SetUp() override { CreatNewKey(kGeneral, kLocalMachine); }

    // The raw bytes and type stored under General.
    std::vector<unsigned char> Raw(const std::string& name, std::uint32_t* type = nullptr) {
        registry::RegKey key = 0;
        store.OpenKey(kLocalMachine, kGeneral, registry::kKeyAllAccess, key);
        std::uint32_t t = 0, size = 0;
        std::vector<unsigned char> bytes;
        if (store.QueryValue(key, name, &t, nullptr, &size) == registry::kSuccess) {
            bytes.resize(size);
            store.QueryValue(key, name, &t, bytes.data(), &size);
        }
        store.CloseKey(key);
        if (type)
            *type = t;
        return bytes;
    }

    void PutRaw(const std::string& name, std::uint32_t type, const std::string& bytes) {
        registry::RegKey key = 0;
        store.OpenKey(kLocalMachine, kGeneral, registry::kKeyAllAccess, key);
        store.SetValue(key, name, type, reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<std::uint32_t>(bytes.size()));
        store.CloseKey(key);
    }

    MemoryRegistry store;
    test_support::ScopedSeam<registry::RegistryStore*> installed_{registry::InstallRegistry,
                                                                  &store};
};

std::vector<unsigned char> B(std::initializer_list<int> v) {
    std::vector<unsigned char> out;
    for (int x : v)
        out.push_back(static_cast<unsigned char>(x));
    return out;
}

}  // namespace

TEST_F(RegistryFunctions, MissingValueOrKeyIsEmptyNotZeroNorEmptyText) {
    Variant v = QueryValue(kLocalMachine, kGeneral, "NeverWritten");
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_NE(v, Variant(0));
    EXPECT_NE(v, Variant(""));
    EXPECT_EQ(v.Number(), 0);
    EXPECT_TRUE(QueryValue(kLocalMachine, "SOFTWARE\\Missing", "X").IsEmpty());
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

TEST_F(RegistryFunctions, WritingIntoAKeyNeverCreatedStoresNothing) {
    SetKeyValue(kLocalMachine, "SOFTWARE\\DUV\\Nowhere", "Value", Variant(5), REG_TYPE_DWORD);
    // The value is still converted first, as for an existing key.
    EXPECT_THROW(
        SetKeyValue(kLocalMachine, "SOFTWARE\\DUV\\Nowhere", "Value", Variant("x"), REG_TYPE_DWORD),
        runtime::RuntimeError);
    EXPECT_EQ(store.OpenHandleCount(), 0u);
    EXPECT_FALSE(store.KeyExists(kLocalMachine, "SOFTWARE\\DUV\\Nowhere"));
    EXPECT_TRUE(QueryValue(kLocalMachine, "SOFTWARE\\DUV\\Nowhere", "Value").IsEmpty());
}

TEST_F(RegistryFunctions, TextValuesAreStoredWithTheirNul) {
    SetKeyValue(kLocalMachine, kGeneral, "ModemLogFile", Variant("ModemLog.txt"), REG_TYPE_SZ);
    std::uint32_t type = 0;
    std::vector<unsigned char> raw = Raw("ModemLogFile", &type);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(raw.size(), 13u);
    EXPECT_EQ(raw.back(), 0);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "ModemLogFile"), Variant("ModemLog.txt"));

    SetKeyValue(kLocalMachine, kGeneral, "Empty", Variant(""), REG_TYPE_SZ);
    EXPECT_EQ(Raw("Empty"), B({0}));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "Empty"), Variant(""));
}

TEST_F(RegistryFunctions, OrdinaryTextConversionOfBooleansNumbersAndDates) {
    SetKeyValue(kLocalMachine, kGeneral, "B", Variant(true), REG_TYPE_SZ);
    SetKeyValue(kLocalMachine, kGeneral, "F", Variant(false), REG_TYPE_SZ);
    SetKeyValue(kLocalMachine, kGeneral, "L", Variant(700), REG_TYPE_SZ);
    SetKeyValue(kLocalMachine, kGeneral, "D", Variant(1.5), REG_TYPE_SZ);
    SetKeyValue(kLocalMachine, kGeneral, "T", Variant::FromDate(13.5 / 24.0), REG_TYPE_SZ);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "B").Text(), "True");
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "F").Text(), "False");
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "L").Text(), "700");
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "D").Text(), "1.5");
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "T").Text(), "1:30:00 PM");
}

TEST_F(RegistryFunctions, DoubleWordsRoundHalvesToEvenAndTrueIsMinusOne) {
    SetKeyValue(kLocalMachine, kGeneral, "True", Variant(true), REG_TYPE_DWORD);
    EXPECT_EQ(Raw("True"), B({0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "True"), Variant(-1));

    struct Case {
        double in;
        long long out;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {-2.5, -2},
                 {1.5 * 10000, 15000},
                 {0.2 * 10000, 2000},
                 {2147483647, 2147483647}};
    for (const auto& c : cases) {
        SetKeyValue(kLocalMachine, kGeneral, "N", Variant(c.in), REG_TYPE_DWORD);
        EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "N").LongValue(), c.out) << c.in;
    }
    SetKeyValue(kLocalMachine, kGeneral, "S", Variant("12"), REG_TYPE_DWORD);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "S"), Variant(12));
    SetKeyValue(kLocalMachine, kGeneral, "E", Variant(), REG_TYPE_DWORD);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "E"), Variant(0));
}

TEST_F(RegistryFunctions, BadNumbersRaiseTheOrdinaryErrorsAndLeaveNoKeyOpen) {
    try {
        SetKeyValue(kLocalMachine, kGeneral, "X", Variant("abc"), REG_TYPE_DWORD);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number, 13);
    }
    try {
        SetKeyValue(kLocalMachine, kGeneral, "X", Variant(3e9), REG_TYPE_DWORD);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number, 6);
    }
    EXPECT_TRUE(Raw("X").empty());
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

TEST_F(RegistryFunctions, BinaryStoresTheLowestByteOnly) {
    SetKeyValue(kLocalMachine, kGeneral, "One", Variant(1), REG_TYPE_BINARY);
    std::uint32_t type = 0;
    EXPECT_EQ(Raw("One", &type), B({0x01}));
    EXPECT_EQ(type, 3u);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "One"), Variant(1));

    SetKeyValue(kLocalMachine, kGeneral, "Big", Variant(300), REG_TYPE_BINARY);
    EXPECT_EQ(Raw("Big"), B({44}));
    SetKeyValue(kLocalMachine, kGeneral, "Max", Variant(255), REG_TYPE_BINARY);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "Max"), Variant(255));
    SetKeyValue(kLocalMachine, kGeneral, "True", Variant(true), REG_TYPE_BINARY);
    EXPECT_EQ(Raw("True"), B({0xFF}));
}

TEST_F(RegistryFunctions, OtherTypesAreNeitherWrittenNorRead) {
    registry::RegKey key = 0;
    store.OpenKey(kLocalMachine, kGeneral, registry::kKeyAllAccess, key);
    EXPECT_NE(SetValueEx(key, "Expand", 2, Variant("x")), 0);
    store.CloseKey(key);
    EXPECT_TRUE(Raw("Expand").empty());

    PutRaw("Multi", 7, std::string("a\0b\0\0", 5));
    EXPECT_TRUE(QueryValue(kLocalMachine, kGeneral, "Multi").IsEmpty());
}

// An expandable text reads as the text stored (its variables not expanded); a value of a type
// that reads as Empty still counts as stored, so that nothing writes over it unseen.
TEST_F(RegistryFunctions, ExpandableTextReadsAsStoredAndUnreadableValuesStillExist) {
    PutRaw("Init", registry::kRegExpandSz, std::string("AT&F&C1M0\0", 10));
    PutRaw("Path", registry::kRegExpandSz, std::string("%WINDIR%\\ModemLog.txt\0", 22));
    PutRaw("Multi", registry::kRegMultiSz, std::string("AT&F\0&C1\0\0", 10));
    PutRaw("LongBinary", registry::kRegBinary, std::string(8, '\x01'));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "Init"), Variant("AT&F&C1M0"));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "Path"), Variant("%WINDIR%\\ModemLog.txt"));
    for (const char* name : {"Init", "Multi", "LongBinary"})
        EXPECT_TRUE(ValueExists(kLocalMachine, kGeneral, name)) << name;
    EXPECT_FALSE(ValueExists(kLocalMachine, kGeneral, "Missing"));
    EXPECT_FALSE(ValueExists(kLocalMachine, "SOFTWARE\\DUV\\Nowhere", "Init"));
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

TEST_F(RegistryFunctions, TextReadsDropOnlyATerminatingNul) {
    PutRaw("WithNul", 1, std::string("abc\0", 4));
    PutRaw("NoNul", 1, "abc");
    PutRaw("ZeroBytes", 1, "");
    PutRaw("Embedded", 1, std::string("ab\0cd\0", 6));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "WithNul"), Variant("abc"));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "NoNul"), Variant("abc"));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "ZeroBytes"), Variant(""));
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "Embedded"), Variant(std::string("ab\0cd", 5)));
}

TEST_F(RegistryFunctions, NumberReadsFitFourBytes) {
    PutRaw("TwoBytes", 3, std::string("\x34\x12", 2));
    PutRaw("FiveBytes", 3, std::string("\x01\x02\x03\x04\x05", 5));
    PutRaw("NoBytes", 4, "");
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "TwoBytes"), Variant(0x1234));
    EXPECT_TRUE(QueryValue(kLocalMachine, kGeneral, "FiveBytes").IsEmpty());
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "NoBytes"), Variant(0));
}

// A value is read with one call; one larger than the first buffer is asked again and read
// whole.
TEST_F(RegistryFunctions, EachValueIsReadWithOneCallAndALargerOneWhole) {
    const std::string large(1000, 'x');
    PutRaw("Short", 1, std::string("abc\0", 4));
    PutRaw("Number", 4, std::string("\x07\0\0\0", 4));
    PutRaw("Large", 1, large + std::string("\0", 1));
    PutRaw("LargeExpand", 2, large + "y");
    const KeyReader key(kLocalMachine, kGeneral);
    std::size_t before = store.ValueQueries();
    EXPECT_EQ(key.Query("Short"), Variant("abc"));
    EXPECT_EQ(key.Query("Number"), Variant(7));
    EXPECT_TRUE(key.Query("Missing").IsEmpty());
    EXPECT_EQ(store.ValueQueries() - before, 3u);
    EXPECT_EQ(key.Query("Large"), Variant(large));
    EXPECT_EQ(key.Query("LargeExpand"), Variant(large + "y"));
}

TEST_F(RegistryFunctions, EachProcedureRecordsItsStepName) {
    CreatNewKey("SOFTWARE\\DUV\\Services", kLocalMachine);
    EXPECT_EQ(DUVMain::ErrStepName, "CreatNewKey");
    // QueryValue's callee leaves its own name behind, as every callee does.
    QueryValue(kLocalMachine, kGeneral, "Missing");
    EXPECT_EQ(DUVMain::ErrStepName, "QueryValueEx");
    QueryValue(kLocalMachine, "SOFTWARE\\Missing", "Missing");
    EXPECT_EQ(DUVMain::ErrStepName, "QueryValueEx");
    SetKeyValue(kLocalMachine, kGeneral, "A", Variant(1), REG_TYPE_DWORD);
    EXPECT_EQ(DUVMain::ErrStepName, "SetValueEx");
    SetKeyValue(kLocalMachine, "SOFTWARE\\Missing", "A", Variant(1), REG_TYPE_DWORD);
    EXPECT_EQ(DUVMain::ErrStepName, "SetValueEx");
}

TEST_F(RegistryFunctions, ReadOnlyStoreKeepsWhatIsThereAndReportsNothing) {
    SetKeyValue(kLocalMachine, kGeneral, "Kept", Variant("old"), REG_TYPE_SZ);
    store.SetReadOnly(true);
    SetKeyValue(kLocalMachine, kGeneral, "Kept", Variant("new"), REG_TYPE_SZ);
    CreatNewKey("SOFTWARE\\DUV\\ViewLog", kLocalMachine);
    EXPECT_EQ(QueryValue(kLocalMachine, kGeneral, "Kept"), Variant("old"));
    EXPECT_FALSE(store.KeyExists(kLocalMachine, "SOFTWARE\\DUV\\ViewLog"));
}
