// Dates and times written out in tests.
#pragma once

#include "core/Runtime.h"

namespace test_support {

inline runtime::Date Day(int year, int month, int day) {
    return runtime::DateSerial(year, month, day);
}
inline runtime::Date Time(int hour, int minute, int second = 0) {
    return runtime::TimeSerial(hour, minute, second);
}

}  // namespace test_support
