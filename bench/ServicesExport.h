// A registry export with many services, for timing the settings load with a large Services
// key (duv_bench --services natively, duv_timing --services under wine).
#pragma once

#include <string>

namespace bench {

// "REGEDIT4" text of the end-to-end settings (base, a registry export) with its services
// replaced by `services` services of ten tariffs each (about 130 values per service).
std::string ServicesExport(const std::string& base, int services);

}  // namespace bench
