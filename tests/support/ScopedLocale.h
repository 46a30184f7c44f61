#pragma once
// The regional settings for a test's duration: puts back the locale installed before and reads
// the regional values from it again when it goes out of scope, also when a failed ASSERT leaves
// the test early. What the test installs meanwhile (regional::Install) it need not undo.

#include <memory>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/GeneralFunctions.h"
#include "core/Locale.h"

namespace test_support {

// Reads the regional values from the locale installed now, as start-up does.
inline void ReadRegionalValues() {
    CurrencyFormat::GetCurrencySymbolInfo();
    GeneralFunctions::GetDateFormatMask();
    DUVMain::GetDayNames();
}

class ScopedLocale {
public:
    ScopedLocale() : previous_(regional::Install(nullptr)) { regional::Install(previous_); }
    ~ScopedLocale() {
        regional::Install(previous_);
        ReadRegionalValues();
    }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    std::shared_ptr<const regional::LocaleSource> previous_;
};

}  // namespace test_support
