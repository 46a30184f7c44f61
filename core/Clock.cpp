#include "core/Clock.h"

#include <ctime>
#include <utility>

#include "core/Runtime.h"

namespace clock_seam {
namespace {

NowFunction& Installed() {
    static NowFunction now;
    return now;
}

double SystemNow() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return runtime::DateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           runtime::TimeSerial(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace

NowFunction SetNow(NowFunction now) { return std::exchange(Installed(), std::move(now)); }

double Now() { return Installed() ? Installed()() : SystemNow(); }

}  // namespace clock_seam
