// The regional values read from the real locale (GetLocaleInfoA). The German case runs this
// program again with LC_ALL=de_DE.UTF-8, which makes wine report German settings.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/CurrencyFormat.h"
#include "core/GeneralFunctions.h"
#include "core/Locale.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/win32/HostPath.h"

namespace {

const char kChildFlag[] = "DUV_REGIONAL_CHILD";

void ReadRealLocale() {
    regional::Install(regional::SystemLocaleSource());
    test_support::ReadRegionalValues();
}

// The regional values as name=value lines.
std::string Report() {
    using namespace DUVMain;
    std::ostringstream out;
    out << "CountryName=" << CountryName << "\n"
        << "CurrencySymbol=" << CurrencySymbol << "\n"
        << "CurrencySymbolPrecedes=" << CurrencySymbolPrecedes << "\n"
        << "CurrencySymbolSpaced=" << CurrencySymbolSpaced << "\n"
        << "CurrencyDigits=" << CurrencyDigits << "\n"
        << "DateSeparator=" << DateSeparator << "\n"
        << "DecimalSeparator=" << DecimalSeparator << "\n"
        << "ThousandSeparator=" << ThousandSeparator << "\n"
        << "TimeSeparator=" << TimeSeparator << "\n"
        << "ShortDateFormat=" << ShortDateFormat << "\n"
        << "DateMask=" << DateMask << "\n"
        << "Money="
        << CurrencyFormat::FormatCurrency(1234.5, CurrencySymbol, CurrencySymbolPrecedes,
                                          CurrencySymbolSpaced, CurrencyDigits, 0)
        << "\n"
        << "Date="
        << GeneralFunctions::format_date("9" + DateSeparator + "12" + DateSeparator + "2026")
        << "\n"
        << "XVal=" << std::setprecision(15)
        << GeneralFunctions::XVal("1" + ThousandSeparator + "234" + ThousandSeparator + "567" +
                                  DecimalSeparator + "5")
        << "\n";
    return out.str();
}

std::map<std::string, std::string> Parse(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

// This program's path on the host, through wine's own conversion.
std::string HostPathOfSelf() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return test_support::HostPath(self);
}

// Runs this program's child case under a host locale; returns what it reported. The locale
// wine reports comes from the host environment of the process, so the child is started
// through the host shell; wine does not wait for host processes, so the child's report file
// appearing is the sign that it has finished.
std::string RunChildWithLocale(const std::string& locale) {
    char loader[MAX_PATH] = "";
    GetEnvironmentVariableA("WINELOADER", loader, MAX_PATH);
    const std::string self = HostPathOfSelf();
    if (loader[0] == 0 || self.empty())
        return "";

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string report =
        std::string(temp) + "duv-regional-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(report.c_str());

    std::string command = "/bin/sh -c \"LC_ALL=" + locale + " " + kChildFlag + "='" + report +
                          "' exec '" + loader + "' '" + self +
                          "' --gtest_filter=RealLocaleChild.* >/dev/null\"";
    if (!test_support::StartOnHost(command))
        return "";

    for (int i = 0; i < 1200 && GetFileAttributesA(report.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    std::string output;
    if (FILE* in = std::fopen(report.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            output.append(buffer, got);
        std::fclose(in);
    }
    DeleteFileA(report.c_str());
    return output;
}

class RealLocale : public ::testing::Test {
protected:
    test_support::ScopedLocale locale_;
};

}  // namespace

// Prints the values read in a child process; does nothing in a normal run.
TEST(RealLocaleChild, Report) {
    const char* report = std::getenv(kChildFlag);
    if (report == nullptr)
        GTEST_SKIP() << "runs as a child of RealLocale";
    ReadRealLocale();
    const std::string partial = std::string(report) + ".part";
    FILE* out = std::fopen(partial.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    const std::string text = "BEGIN\n" + Report() + "END\n";
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    MoveFileExA(partial.c_str(), report, MOVEFILE_REPLACE_EXISTING);
}

TEST_F(RealLocale, DefaultLocaleIsEnglishUnitedStates) {
    if (std::getenv(kChildFlag) != nullptr)
        GTEST_SKIP();
    ReadRealLocale();
    using namespace DUVMain;
    EXPECT_EQ(CountryName, "United States");
    EXPECT_EQ(CurrencySymbol, "$");
    EXPECT_EQ(CurrencySymbolPrecedes, 1);
    EXPECT_EQ(CurrencySymbolSpaced, 0);
    EXPECT_EQ(CurrencyDigits, 2);
    EXPECT_EQ(DateSeparator, "/");
    EXPECT_EQ(DecimalSeparator, ".");
    EXPECT_EQ(ThousandSeparator, ",");
    EXPECT_EQ(TimeSeparator, ":");
    EXPECT_EQ(ShortDateFormat, "M/d/yyyy");
    EXPECT_EQ(DateMask, "##/##/####");
    // A value longer than twenty characters is read whole and then cut.
    EXPECT_EQ(CurrencyFormat::GetLocaleString(0x2), "English (United Stat");
    auto values = Parse(Report());
    EXPECT_EQ(values["Money"], "$1,234.50");
    EXPECT_EQ(values["Date"], "09/12/2026");
    EXPECT_EQ(values["XVal"], "1234567.5");
}

TEST_F(RealLocale, GermanLocaleHasDecimalCommaAndDottedDates) {
    if (std::getenv(kChildFlag) != nullptr)
        GTEST_SKIP();
    const std::string output = RunChildWithLocale("de_DE.UTF-8");
    ASSERT_NE(output.find("BEGIN"), std::string::npos) << "[" << output << "]";
    auto values = Parse(output.substr(output.find("BEGIN")));
    EXPECT_EQ(values["CountryName"], "Germany");
    EXPECT_EQ(values["CurrencySymbol"], "\x80");  // the euro sign in code page 1252
    EXPECT_EQ(values["CurrencySymbolPrecedes"], "0");
    EXPECT_EQ(values["CurrencySymbolSpaced"], "1");
    EXPECT_EQ(values["CurrencyDigits"], "2");
    EXPECT_EQ(values["DateSeparator"], ".");
    EXPECT_EQ(values["DecimalSeparator"], ",");
    EXPECT_EQ(values["ThousandSeparator"], ".");
    EXPECT_EQ(values["DateMask"], "##.##.####");
    EXPECT_EQ(values["Money"], "1.234,50 \x80");
    EXPECT_EQ(values["Date"], "09.12.2026");
    EXPECT_EQ(values["XVal"], "1234567.5");
}
