// Loading the library, its class records and interfaces, the registration and the life of a
// script object, through the stand-in host.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/plugin/StandInFixture.h"

namespace OZKPELLMOR::standin {
namespace {

std::vector<uint8_t> Bytes(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(p, p + size);
}

std::vector<uint8_t> Hex(const char* text) {
    std::vector<uint8_t> bytes;
    for (const char* p = text; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
        p += 2;
    }
    return bytes;
}

// The method table as the host must receive it.
const char ExpectedMethodTable[] =
    "xtra OZKPELLMOR -- Window Utility Xtra.\n"
    "new object me\n"
    "OzkBuildShape object me,symbol WindowShape,symbol CombineOP,* -- Setup Window Shape\n"
    "OzkClearWindow object me -- Set the WindowShape to normal\n"
    "OzkSetWindowShape object me,integer Redraw,symbol WhichWin -- Set the Shape\n"
    "OzkAddToolTip object me,rect HotArea,string ToolTip,integer CenterTip,integer LineLength -- "
    "Add ToolTip\n"
    "OzkChangeToolTipText object me,integer ToolTipID,string NewText -- Alter Caption\n"
    "OzkMoveToolTip object me,integer ToolTipID,rect HotArea\n"
    "OzkSetToolTipProp object me,integer ToolTipID,integer FRed,integer FGreen,\tinteger "
    "FBlue,integer BRed,"
    "integer BGreen,integer BBlue,\tinteger ShowDelay,integer StartDelay -- Changes ToolTip "
    "Properties\n"
    "OzkRemoveToolTip object me,integer hToolTip -- Remove ToolTip\n"
    "OzkSetTitleBar object me -- Set TitleBar\n"
    "OzkClearTitleBar object me -- Clear TitleBar\n"
    "OzkHideFromTaskBar object me,symbol Hide -- Remove Icon from TaskBar\n"
    "OzkGetErrorString object me,integer code -- Retrieves a String for Given Error Code\n"
    "OzkGetLastError object me-- Gets Last Error Code\n"
    "OzkGetProp object me,symbol Property -- Gets a system property\n"
    "OzkSetProp object me,symbol Property,* -- Sets a property\n";

using ClassRecords = StandInTest;

TEST_F(ClassRecords, FourRecordsAndAZeroTerminatorByteForByte) {
    host.allocator.sizes.clear();
    ClassInfoRecord* records = nullptr;
    ASSERT_EQ(host.dllGetClassInfo(&host.allocator, &records), HostOk);
    ASSERT_NE(records, nullptr);
    ASSERT_EQ(host.allocator.sizes, std::vector<uint32_t>{200});

    const std::vector<uint8_t> expected = Hex(
        // registration class: class record, then its interface record
        "E17256E7 C953 D211 9830444553540000 43000001 01000000 0000 0000 C000000000000046 01000000"
        "E17256E7 C953 D211 9830444553540000 43000001 0378 3EAC 0200 E58F 0000080007160DC3 43000001"
        // script class
        "E57256E7 C953 D211 9830444553540000 43000001 01000000 0000 0000 C000000000000046 01000000"
        "E57256E7 C953 D211 9830444553540000 43000001 B61F 40AC 0100 B0F9 00000800072C6326 43000001"
        // terminator
        "00000000000000000000000000000000 00000000 00000000000000000000000000000000 00000000");
    ASSERT_EQ(expected.size(), 200u);
    EXPECT_EQ(Bytes(records, 200), expected);
    host.allocator.Free(records);
}

TEST_F(ClassRecords, OutOfMemoryAnswersTheMemoryError) {
    host.allocator.FailFrom(1);
    ClassInfoRecord* records = reinterpret_cast<ClassInfoRecord*>(&host);
    EXPECT_EQ(host.dllGetClassInfo(&host.allocator, &records), HostOutOfMemory);
    EXPECT_EQ(records, nullptr);
    host.allocator.FailFrom(0);
}

TEST_F(ClassRecords, ClassFormsForBothClassesAndNoneForOthers) {
    uint32_t size = 0;
    CreateInstanceProc create = nullptr;
    DestroyInstanceProc destroy = nullptr;
    ASSERT_EQ(host.dllGetClassForm(&CLSID_Registration, &size, &create, &destroy), HostOk);
    EXPECT_EQ(size, sizeof(HostObjectHeader));
    ASSERT_NE(create, nullptr);
    ASSERT_NE(destroy, nullptr);

    ASSERT_EQ(host.dllGetClassForm(&CLSID_Script, &size, &create, &destroy), HostOk);
    EXPECT_GE(size, 220u);
    EXPECT_GE(size, sizeof(ScriptObject));

    EXPECT_EQ(host.dllGetClassForm(&IID_ScriptMethods, &size, &create, &destroy), HostNoClass);
    void* factory = &host;
    EXPECT_EQ(host.dllGetClassObject(&CLSID_Script, &IID_ScriptMethods, &factory), HostNoClass);
}

TEST_F(ClassRecords, RegistrationObjectIsCreatedWithoutTouchingTheHost) {
    Instance registration;
    HostResult created = -1;
    const size_t requests = host.callback.requests.size();
    ASSERT_TRUE(host.CreateInstance(CLSID_Registration, registration, &created));
    EXPECT_EQ(created, HostOk);
    EXPECT_EQ(host.callback.requests.size(), requests);
    host.DestroyInstance(registration);
}

using Interfaces = StandInTest;

TEST_F(Interfaces, UnloadOnlyWhenEveryInterfaceIsReleased) {
    Instance owner;
    ASSERT_TRUE(host.CreateInstance(CLSID_Script, owner));
    EXPECT_EQ(host.dllCanUnloadNow(), HostOk);

    void* found = nullptr;
    ASSERT_EQ(host.dllGetInterface(owner.header, &CLSID_Script, &IID_ScriptMethods, &found),
              HostOk);
    auto* methods = static_cast<IScriptMethods*>(found);
    EXPECT_EQ(host.dllCanUnloadNow(), HostCannotUnload);
    EXPECT_EQ(owner.header->refs, 3u);  // the host's own and two for the interface

    EXPECT_EQ(methods->AddRef(), 2u);
    EXPECT_EQ(owner.header->refs, 4u);
    EXPECT_EQ(methods->Release(), 1u);
    EXPECT_EQ(owner.header->refs, 3u);
    EXPECT_EQ(host.dllCanUnloadNow(), HostCannotUnload);

    const size_t blocks = host.allocator.LiveBlocks();
    EXPECT_EQ(methods->Release(), 0u);
    EXPECT_EQ(owner.header->refs, 1u);
    EXPECT_EQ(host.allocator.LiveBlocks(), blocks - 1);
    EXPECT_EQ(host.dllCanUnloadNow(), HostOk);
    host.DestroyInstance(owner);
}

TEST_F(Interfaces, EachInterfaceObjectCountsOnItsOwn) {
    Instance owner;
    ASSERT_TRUE(host.CreateInstance(CLSID_Script, owner));
    void* first = nullptr;
    void* second = nullptr;
    ASSERT_EQ(host.dllGetInterface(owner.header, nullptr, &IID_ScriptMethods, &first), HostOk);
    // QueryInterface on an interface asks the owner, which makes a second interface object.
    ASSERT_EQ(static_cast<IScriptMethods*>(first)->QueryInterface(&IID_ScriptMethods, &second),
              HostOk);
    ASSERT_NE(first, second);
    EXPECT_EQ(owner.header->refs, 5u);

    EXPECT_EQ(static_cast<IScriptMethods*>(first)->Release(), 0u);
    EXPECT_EQ(host.dllCanUnloadNow(), HostCannotUnload);
    EXPECT_EQ(static_cast<IScriptMethods*>(second)->Release(), 0u);
    EXPECT_EQ(host.dllCanUnloadNow(), HostOk);
    host.DestroyInstance(owner);
}

TEST_F(Interfaces, InterfaceOfAnotherClassOrUnknownIsRefused) {
    Instance owner;
    ASSERT_TRUE(host.CreateInstance(CLSID_Registration, owner));
    void* found = &host;
    EXPECT_EQ(host.dllGetInterface(owner.header, &CLSID_Registration, &IID_ScriptMethods, &found),
              HostNoInterface);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(host.dllGetInterface(owner.header, nullptr, &IID_HostValues, &found),
              HostNoInterface);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(owner.header->refs, 1u);
    EXPECT_EQ(host.dllCanUnloadNow(), HostOk);
    host.DestroyInstance(owner);
}

TEST_F(Interfaces, OutOfMemoryForTheInterfaceObject) {
    Instance owner;
    ASSERT_TRUE(host.CreateInstance(CLSID_Registration, owner));
    host.allocator.FailFrom(1);
    void* found = &host;
    EXPECT_EQ(
        host.dllGetInterface(owner.header, &CLSID_Registration, &IID_ScriptRegistration, &found),
        HostOutOfMemory);
    host.allocator.FailFrom(0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(owner.header->refs, 1u);
    EXPECT_EQ(host.dllCanUnloadNow(), HostOk);
    host.DestroyInstance(owner);
}

using Registration = StandInTest;

TEST_F(Registration, TwoEntriesWithTheirDictionaryValuesByteForByte) {
    ASSERT_EQ(host.cache.entries.size(), 2u);
    const RegistryEntry& load = host.cache.entries[0];
    EXPECT_TRUE(load.classId == CLSID_Script);
    EXPECT_TRUE(load.interfaceId == IID_LoadControl);
    EXPECT_EQ(load.extension, &host.extension);
    ASSERT_EQ(load.dictionary->entries.size(), 1u);
    EXPECT_EQ(load.dictionary->entries[0].key, "XtraLoadControlOptions");
    EXPECT_EQ(load.dictionary->entries[0].type, 3);
    EXPECT_EQ(load.dictionary->entries[0].bytes, Hex("03000000"));

    const RegistryEntry& methods = host.cache.entries[1];
    EXPECT_TRUE(methods.classId == CLSID_Script);
    EXPECT_TRUE(methods.interfaceId == IID_ScriptMethods);
    EXPECT_EQ(methods.extension, &host.extension);
    ASSERT_EQ(methods.dictionary->entries.size(), 1u);
    EXPECT_EQ(methods.dictionary->entries[0].key, "msgTable");
    EXPECT_EQ(methods.dictionary->entries[0].type, 9);
    EXPECT_EQ(methods.dictionary->entries[0].bytes,
              Bytes(ExpectedMethodTable, sizeof(ExpectedMethodTable)));
    EXPECT_TRUE(host.extension.entries.empty());
}

TEST_F(Registration, MethodsAreNumberedInTableOrder) {
    const std::vector<std::string> expected = {"new",
                                               "OzkBuildShape",
                                               "OzkClearWindow",
                                               "OzkSetWindowShape",
                                               "OzkAddToolTip",
                                               "OzkChangeToolTipText",
                                               "OzkMoveToolTip",
                                               "OzkSetToolTipProp",
                                               "OzkRemoveToolTip",
                                               "OzkSetTitleBar",
                                               "OzkClearTitleBar",
                                               "OzkHideFromTaskBar",
                                               "OzkGetErrorString",
                                               "OzkGetLastError",
                                               "OzkGetProp",
                                               "OzkSetProp"};
    EXPECT_EQ(host.MethodNames(), expected);
}

TEST_F(Registration, RefusedLoadOptionsEntryStillRegistersTheMethods) {
    Host other;
    ASSERT_TRUE(other.Load());
    other.cache.failEntryNumber = 1;
    other.cache.failEntry = static_cast<HostResult>(0x80040111);
    EXPECT_EQ(other.Register(), HostOk);
    ASSERT_EQ(other.cache.entries.size(), 2u);
    EXPECT_EQ(other.cache.entries[0].dictionary, nullptr);
    ASSERT_NE(other.cache.entries[1].dictionary, nullptr);
    EXPECT_NE(other.cache.entries[1].dictionary->Find("msgTable"), nullptr);
    EXPECT_EQ(other.MethodNames().size(), 16u);
    EXPECT_TRUE(other.Faults().empty());
}

TEST_F(Registration, RefusedMethodsEntryAnswersItsError) {
    Host other;
    ASSERT_TRUE(other.Load());
    other.cache.failEntryNumber = 2;
    other.cache.failEntry = static_cast<HostResult>(0x80040111);
    EXPECT_EQ(other.Register(), static_cast<HostResult>(0x80040111));
    EXPECT_TRUE(other.MethodNames().empty());
    EXPECT_EQ(other.dllCanUnloadNow(), HostOk);
    EXPECT_TRUE(other.Faults().empty());
}

using ScriptObjects = StandInTest;

TEST_F(ScriptObjects, CreationAsksForTheHostInterfacesInOrderAndInternsTheSymbols) {
    host.callback.requests.clear();
    Instance instance;
    ASSERT_TRUE(host.CreateInstance(CLSID_Script, instance));
    const std::vector<HostGuid> expected = {IID_HostSymbols, IID_HostMediaAccess,
                                            IID_HostValues,  IID_HostWindowHandles,
                                            IID_HostPlayer,  IID_HostLists};
    EXPECT_EQ(host.callback.requests, expected);

    const char* const names[] = {"ozkcurrent",
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
                                 "FALSE"};
    const auto& state = *reinterpret_cast<ScriptObject*>(instance.header);
    for (size_t i = 0; i < SymbolCount; ++i) {
        EXPECT_EQ(host.SymbolName(state.symbols[i]), names[i]) << i;
        EXPECT_EQ(state.symbols[i], host.Intern(names[i]));
    }
    EXPECT_EQ(host.ExtraServiceRefs(), 6);
    host.DestroyInstance(instance);
}

TEST_F(ScriptObjects, DefaultsOverUninitialisedMemory) {
    ScriptInstance* object = NewObject();
    ASSERT_NE(object, nullptr);
    const ScriptObject& state = State(object);
    EXPECT_EQ(state.polyFillMode, 1);
    EXPECT_EQ(state.noPrefix, 0);
    EXPECT_EQ(state.rightToLeft, 0);
    EXPECT_EQ(state.maskPaletteIndex, 0);
    EXPECT_EQ(state.maskColour.blue, 0);
    EXPECT_EQ(state.maskColour.green, 0);
    EXPECT_EQ(state.maskColour.red, 0);
    EXPECT_EQ(state.outlineMultiplier, 5);
    EXPECT_EQ(state.lastError, 0);
    EXPECT_EQ(state.titleBarHook, nullptr);
    EXPECT_EQ(state.storedShape, nullptr);
    EXPECT_EQ(state.activeMovie, nullptr);
}

TEST_F(ScriptObjects, DestroyingReleasesEverythingTheObjectHeld) {
    ScriptInstance* first = NewObject();
    ScriptInstance* second = NewObject();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(host.values.ExtraRefs(), 2);
    EXPECT_EQ(host.dllCanUnloadNow(), HostCannotUnload);
    State(first).storedShape = CreateRectRgn(0, 0, 10, 10);
    DeleteObject(first);
    EXPECT_EQ(host.values.ExtraRefs(), 1);
    EXPECT_EQ(host.player.ExtraRefs(), 1);
    DeleteObject(second);
    EXPECT_EQ(host.ExtraServiceRefs(), 0) << host.ServiceRefReport();
    EXPECT_EQ(host.dllCanUnloadNow(), HostOk);
    EXPECT_EQ(host.allocator.LiveBlocks(), 0u);
}

TEST_F(ScriptObjects, LaterObjectsLeaveTheTitleBarsOfEarlierOnes) {
    // Each object takes a title-bar slot; had a later creation cleared the table, the
    // sixteenth would find a free slot.
    const HostResult tableFull = static_cast<HostResult>(0x800407D2);
    for (int i = 1; i <= 16; ++i) {
        ScriptInstance* object = NewObject();
        ASSERT_NE(object, nullptr);
        ASSERT_EQ(host.Call(object, "OzkBuildShape",
                            {host.Sym("ozkellipse"), host.Sym("ozkreplace"), host.Point(0, 0),
                             host.Point(50, 50)})
                      .code,
                  HostOk);
        const CallResult set = host.Call(object, "OzkSetTitleBar");
        if (i <= 15) {
            EXPECT_EQ(set.code, HostOk) << i;
        } else {
            EXPECT_EQ(set.code, tableFull);
            EXPECT_EQ(host.Call(object, "OzkGetLastError").integer, 9);
        }
    }
}

TEST_F(ScriptObjects, MissingHostInterfacesStayNull) {
    for (int id = 0; id < Host::ServiceCount; ++id)
        host.SetMissing(static_cast<Host::ServiceId>(id), true);
    ScriptInstance* object = NewObject();
    ASSERT_NE(object, nullptr);
    const ScriptObject& state = State(object);
    EXPECT_EQ(state.values, nullptr);
    EXPECT_EQ(state.lists, nullptr);
    EXPECT_EQ(state.player, nullptr);
    EXPECT_EQ(state.windowHandles, nullptr);
    EXPECT_EQ(state.mediaAccess, nullptr);
    EXPECT_EQ(state.symbolLookup, nullptr);
    EXPECT_EQ(state.lastError, 0);
    EXPECT_EQ(state.hostMajorVersion, 0);
    EXPECT_EQ(state.authoring, 0);
}

}  // namespace
}  // namespace OZKPELLMOR::standin
