// Default window settings of the log viewer and the report views, weekday names, the main
// window's size and the operating-system version text.
#include <cmath>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Registry_Functions.h"
#include "core/Runtime.h"

namespace DUVMain {

void SetViewLogDefaults() {
    ViewLogFontName = DefaultViewLogFontName;
    ViewLogWinState = DefaultViewLogWinState;
    ViewLogSaveSettings = DefaultViewLogSaveSettings;
    ViewLogFontSize = DefaultViewLogFontSize;
    ViewLogFontBold = DefaultViewLogFontBold;
    ViewLogFontItalic = DefaultViewLogFontItalic;
    ViewLogWinHeight = DefaultViewLogWinHeight;
    ViewLogWinWidth = DefaultViewLogWinWidth;
}

namespace {

void SetReportViewDefaults(ReportViewSettings& view) {
    view.WinHeight = 5100;
    view.WinWidth = 6900;
    view.WinLeft = 100;
    view.WinTop = 100;
    view.FontSize = 9.0f;
    for (int i = 1; i <= 6; ++i)
        view.Column[i] = 1000;
    view.Column[3] = 700;
}

}  // namespace

void SetViewReportDefaults() {
    SetReportViewDefaults(SummaryViewSettings);
    SetReportViewDefaults(DetailViewSettings);
    DetailViewSettings.Column[6] = 2000;
    DetailViewSettings.Column[7] = 1000;
    ReportSaveSettings = true;
    ReportListViewFormat = true;
    ReportAutoArrange = false;
}

void GetDayNames() {
    const Date base = runtime::DateSerial(1998, 10, 4);  // a Sunday
    for (int i = 1; i <= 7; ++i) {
        DayAbbrevs[i] = runtime::Format(base + i, "ddd");
        DayNames[i] = runtime::Format(base + i, "dddd");
    }
}

void SaveMainWinSettings(double widthTwips, double heightTwips) {
    runtime::SetContext("DUVMain", "SaveMainWinSettings");
    runtime::SetStep("");
    runtime::Guard([&] { MainWinWidth = runtime::CLng(widthTwips); });
    runtime::Guard([&] { MainWinHeight = runtime::CLng(heightTwips); });
    const std::string key = RegistryBaseKey + "\\General";
    runtime::Guard([&] { Registry_Functions::CreatNewKey(key, RegistryRoot); });
    runtime::Guard([&] {
        Registry_Functions::SetKeyValue(RegistryRoot, key, "MainWinWidth", MainWinWidth,
                                        Registry_Functions::REG_TYPE_DWORD);
    });
    runtime::Guard([&] {
        Registry_Functions::SetKeyValue(RegistryRoot, key, "MainWinHeight", MainWinHeight,
                                        Registry_Functions::REG_TYPE_DWORD);
    });
}

void WriteSaveSettingsOff(const std::string& viewKey) {
    runtime::Guard([&] {
        const std::string key = RegistryBaseKey + "\\" + viewKey;
        Registry_Functions::CreatNewKey(key, RegistryRoot);
        Registry_Functions::SetKeyValue(RegistryRoot, key, "SaveSettings", 0,
                                        Registry_Functions::REG_TYPE_DWORD);
    });
}

}  // namespace DUVMain

namespace OSVersion {

namespace {

struct BuildSuffix {
    std::uint32_t build;
    const char* suffix;
};

constexpr BuildSuffix kBuildSuffixes[] = {
    {950, " 95"}, {951, " S1"}, {1111, " O2"}, {1381, " 40"}, {1998, " 98"},
};

PlatformVersion NoVersion() { return {}; }

VersionQuery currentQuery = &NoVersion;

}  // namespace

std::string VersionText(const PlatformVersion& version) {
    std::string text;
    if (version.PlatformId == 1)
        text = "WIN";
    else if (version.PlatformId == 2)
        text = "NT";
    const std::uint32_t build = version.BuildNumber & 0xFFFFu;
    const char* suffix = " XX";
    for (const BuildSuffix& entry : kBuildSuffixes) {
        if (entry.build == build)
            suffix = entry.suffix;
    }
    return text + suffix;
}

VersionQuery SetVersionQuery(VersionQuery query) {
    VersionQuery previous = currentQuery == &NoVersion ? nullptr : currentQuery;
    currentQuery = query ? query : &NoVersion;
    return previous;
}

std::string GetOSVersion() { return VersionText(currentQuery()); }

}  // namespace OSVersion
