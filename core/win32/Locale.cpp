// The regional settings of the running system through GetLocaleInfoA.
#include <windows.h>

#include <string>

#include "core/Locale.h"

namespace regional {
namespace {

class SystemLocale final : public LocaleSource {
public:
    LCID SystemDefaultLCID() const override { return ::GetSystemDefaultLCID(); }

    std::optional<std::string> Info(LCID lcid, LCTYPE type) const override {
        // Ask for the length first, then read the whole value.
        const int length = ::GetLocaleInfoA(lcid, type, nullptr, 0);
        if (length <= 0)
            return std::nullopt;
        std::string value(static_cast<std::size_t>(length), '\0');
        const int read = ::GetLocaleInfoA(lcid, type, value.data(), length);
        if (read <= 0)
            return std::nullopt;
        value.resize(static_cast<std::size_t>(read));
        const std::size_t nul = value.find('\0');
        if (nul != std::string::npos)
            value.resize(nul);
        return value;
    }
};

}  // namespace

std::shared_ptr<const LocaleSource> SystemLocaleSource() {
    static const std::shared_ptr<const LocaleSource> source = std::make_shared<SystemLocale>();
    return source;
}

}  // namespace regional
