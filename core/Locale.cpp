#include "core/Locale.h"

#include <atomic>
#include <iterator>
#include <string_view>
#include <utility>

namespace regional {
namespace {

struct Entry {
    LCTYPE type;
    std::string_view value;
};

// What Wine reports for these locales (GetLocaleInfoA, code page 1252).
constexpr Entry kEnUs[] = {
    {0x1, "0409"},
    {0x2, "English (United States)"},
    {0x3, "ENU"},
    {0x4, "English"},
    {0x5, "1"},
    {0x6, "United States"},
    {0x7, "USA"},
    {0x8, "United States"},
    {0x9, "0409"},
    {0xA, "1"},
    {0xB, "437"},
    {0xC, ","},
    {0xD, "1"},
    {0xE, "."},
    {0xF, ","},
    {0x10, "3;0"},
    {0x11, "2"},
    {0x12, "1"},
    {0x13, "0123456789"},
    {0x14, "$"},
    {0x15, "USD"},
    {0x16, "."},
    {0x17, ","},
    {0x18, "3;0"},
    {0x19, "2"},
    {0x1A, "2"},
    {0x1B, "0"},
    {0x1C, "0"},
    {0x1D, "/"},
    {0x1E, ":"},
    {0x1F, "M/d/yyyy"},
    {0x20, "dddd, MMMM d, yyyy"},
    {0x21, "0"},
    {0x22, "0"},
    {0x23, "0"},
    {0x24, "1"},
    {0x25, "0"},
    {0x26, "0"},
    {0x27, "0"},
    {0x28, "AM"},
    {0x29, "PM"},
    {0x2A, "Monday"},
    {0x2B, "Tuesday"},
    {0x2C, "Wednesday"},
    {0x2D, "Thursday"},
    {0x2E, "Friday"},
    {0x2F, "Saturday"},
    {0x30, "Sunday"},
    {0x31, "Mon"},
    {0x32, "Tue"},
    {0x33, "Wed"},
    {0x34, "Thu"},
    {0x35, "Fri"},
    {0x36, "Sat"},
    {0x37, "Sun"},
    {0x38, "January"},
    {0x39, "February"},
    {0x3A, "March"},
    {0x3B, "April"},
    {0x3C, "May"},
    {0x3D, "June"},
    {0x3E, "July"},
    {0x3F, "August"},
    {0x40, "September"},
    {0x41, "October"},
    {0x42, "November"},
    {0x43, "December"},
    {0x44, "Jan"},
    {0x45, "Feb"},
    {0x46, "Mar"},
    {0x47, "Apr"},
    {0x48, "May"},
    {0x49, "Jun"},
    {0x4A, "Jul"},
    {0x4B, "Aug"},
    {0x4C, "Sep"},
    {0x4D, "Oct"},
    {0x4E, "Nov"},
    {0x4F, "Dec"},
    {0x50, ""},
    {0x51, "-"},
    {0x52, "3"},
    {0x53, "0"},
    {0x54, "1"},
    {0x55, "0"},
    {0x56, "1"},
    {0x57, "0"},
    {0x1001, "English"},
    {0x1002, "United States"},
    {0x1003, "h:mm:ss tt"},
    {0x1004, "1252"},
    {0x1005, "0"},
    {0x1007, "US Dollar"},
    {0x1008, "US Dollar"},
    {0x1009, "1"},
    {0x100A, "1"},
    {0x100B, "0"},
    {0x100C, "6"},
    {0x100D, "0"},
    {0x1010, "1"},
    {0x1014, "1"},
};
constexpr Entry kDeDe[] = {
    {0x1, "0407"},
    {0x2, "German (Germany)"},
    {0x3, "DEU"},
    {0x4, "Deutsch"},
    {0x5, "49"},
    {0x6, "Germany"},
    {0x7, "DEU"},
    {0x8, "Deutschland"},
    {0x9, "0407"},
    {0xA, "49"},
    {0xB, "850"},
    {0xC, ";"},
    {0xD, "0"},
    {0xE, ","},
    {0xF, "."},
    {0x10, "3;0"},
    {0x11, "2"},
    {0x12, "1"},
    {0x13, "0123456789"},
    {0x14, "\x80"},
    {0x15, "EUR"},
    {0x16, ","},
    {0x17, "."},
    {0x18, "3;0"},
    {0x19, "2"},
    {0x1A, "2"},
    {0x1B, "3"},
    {0x1C, "8"},
    {0x1D, "."},
    {0x1E, ":"},
    {0x1F, "d.M.yyyy"},
    {0x20, "dddd, d. MMMM yyyy"},
    {0x21, "1"},
    {0x22, "1"},
    {0x23, "1"},
    {0x24, "1"},
    {0x25, "1"},
    {0x26, "0"},
    {0x27, "0"},
    {0x28, "AM"},
    {0x29, "PM"},
    {0x2A, "Montag"},
    {0x2B, "Dienstag"},
    {0x2C, "Mittwoch"},
    {0x2D, "Donnerstag"},
    {0x2E, "Freitag"},
    {0x2F, "Samstag"},
    {0x30, "Sonntag"},
    {0x31, "Mo."},
    {0x32, "Di."},
    {0x33, "Mi."},
    {0x34, "Do."},
    {0x35, "Fr."},
    {0x36, "Sa."},
    {0x37, "So."},
    {0x38, "Januar"},
    {0x39, "Februar"},
    {0x3A,
     "M\xE4"
     "rz"},
    {0x3B, "April"},
    {0x3C, "Mai"},
    {0x3D, "Juni"},
    {0x3E, "Juli"},
    {0x3F, "August"},
    {0x40, "September"},
    {0x41, "Oktober"},
    {0x42, "November"},
    {0x43, "Dezember"},
    {0x44, "Jan"},
    {0x45, "Feb"},
    {0x46,
     "M\xE4"
     "r"},
    {0x47, "Apr"},
    {0x48, "Mai"},
    {0x49, "Jun"},
    {0x4A, "Jul"},
    {0x4B, "Aug"},
    {0x4C, "Sep"},
    {0x4D, "Okt"},
    {0x4E, "Nov"},
    {0x4F, "Dez"},
    {0x50, ""},
    {0x51, "-"},
    {0x52, "1"},
    {0x53, "1"},
    {0x54, "0"},
    {0x55, "1"},
    {0x56, "0"},
    {0x57, "1"},
    {0x1001, "German"},
    {0x1002, "Germany"},
    {0x1003, "HH:mm:ss"},
    {0x1004, "1252"},
    {0x1005, "0"},
    {0x1007, "Euro"},
    {0x1008, "Euro"},
    {0x1009, "1"},
    {0x100A, "9"},
    {0x100B, "0"},
    {0x100C, "0"},
    {0x100D, "2"},
    {0x1010, "1"},
    {0x1014, "1"},
};

class FixedLocale final : public LocaleSource {
public:
    FixedLocale(LCID lcid, const Entry* begin, const Entry* end)
        : lcid_(lcid), begin_(begin), end_(end) {}

    LCID SystemDefaultLCID() const override { return lcid_; }

    std::optional<std::string> Info(LCID lcid, LCTYPE type) const override {
        if (lcid != lcid_)
            return std::nullopt;
        for (const Entry* e = begin_; e != end_; ++e) {
            if (e->type == type)
                return std::string(e->value);
        }
        return std::nullopt;
    }

private:
    LCID lcid_;
    const Entry* begin_;
    const Entry* end_;
};

std::atomic<std::uint64_t> generation{1};

std::shared_ptr<const LocaleSource>& Installed() {
    static std::shared_ptr<const LocaleSource> installed;
    return installed;
}

const LocaleSource& DefaultSource() {
    static const FixedLocale enUs(kLcidEnUs, std::begin(kEnUs), std::end(kEnUs));
    return enUs;
}

}  // namespace

std::unique_ptr<LocaleSource> MakeFixedLocale(LCID lcid) {
    if (lcid == kLcidDeDe) {
        return std::make_unique<FixedLocale>(kLcidDeDe, std::begin(kDeDe), std::end(kDeDe));
    }
    if (lcid == kLcidEnUs) {
        return std::make_unique<FixedLocale>(kLcidEnUs, std::begin(kEnUs), std::end(kEnUs));
    }
    return nullptr;
}

const LocaleSource& Current() {
    const auto& installed = Installed();
    return installed ? *installed : DefaultSource();
}

std::shared_ptr<const LocaleSource> Install(std::shared_ptr<const LocaleSource> source) {
    auto previous = std::exchange(Installed(), std::move(source));
    generation.fetch_add(1);
    return previous;
}

std::uint64_t Generation() { return generation.load(); }

std::string GetInfo(LCTYPE type) {
    const LocaleSource& source = Current();
    return source.Info(source.SystemDefaultLCID(), type).value_or(std::string());
}

LCID SystemDefaultLCID() { return Current().SystemDefaultLCID(); }

}  // namespace regional
