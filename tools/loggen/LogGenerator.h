// A seeded, deterministic generator of modem logs as the modem driver writes them.
#pragma once

#include <cstdint>
#include <ostream>

namespace loggen {

struct Options {
    std::uint64_t seed = 1;
    // First day of the log (year, month, day) and the number of days to cover; when
    // minLines is above 0 days are added until at least that many lines are written.
    int year = 2026, month = 1, day = 1;
    int days = 30;
    std::uint64_t minLines = 0;
    // Per mille of lines that get a damaged byte (a control character or a byte above 126).
    int damagePerMille = 0;
};

// Writes the log (CR LF line ends) and returns the number of lines written.
std::uint64_t Generate(const Options& options, std::ostream& out);

}  // namespace loggen
