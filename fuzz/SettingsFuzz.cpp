// Arbitrary bytes as a registry export through its reader, then the settings load of a
// start-up from that registry: no crash, no undefined behaviour, and the limits a run sizes
// its tables by come out usable.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/RegistryStore.h"
#include "tools/duvreport/RegFile.h"
#include "tools/duvreport/Tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (runtime::SetErrorHandler([] { return runtime::kActionSkip; }), true);
    (void)ready;
    registry::MemoryRegistry store;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const regfile::LoadResult loaded = regfile::Load(bytes, store);
    if (!loaded.ok && (loaded.line < 1 || loaded.message.empty()))
        std::abort();
    registry::InstallRegistry(&store);
    duvreport::LoadSettings();
    registry::InstallRegistry(nullptr);
    if (DUVMain::MaxServices < 1 || DUVMain::MaxConnections < 1 || DUVMain::UsedServices < 0 ||
        DUVMain::UsedServices > DUVMain::Services.UBound() + 1 || DUVMain::UsedHolidays < 0 ||
        DUVMain::UsedHolidays > 100)
        std::abort();
    return 0;
}
