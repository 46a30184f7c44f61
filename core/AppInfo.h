#pragma once
// The program's version and the support address shown in error reports.

namespace AppInfo {

inline constexpr int Major = 1;
inline constexpr int Minor = 0;
inline constexpr int Revision = 0;

inline constexpr const char* SupportAddress = "support@duvelo.example";

}  // namespace AppInfo
