#pragma once
// The modem log: a line's date, the damaged-byte check, the statistics and a new log.
//
// A log line: positions 1-10 the date "mm-dd-yyyy", 12-19 the time "hh:nn:ss", 20-22 "." and
// hundredths, 23-25 " - ", the driver's message from position 26.

#include <string>
#include <string_view>

namespace DUVMain {

// The date stamped at the start of a log line, or 0 when the line has none.
double GetLogLineDate(std::string_view line);

// True when the file at LogFilePath holds a damaged byte. Sets LogLength and LogEmpty; with
// showProgress the splash label shows the percentage read.
bool CheckCorruption(bool showProgress);

// Fills the log statistics of the file at LogFilePath.
void GetLogStats(bool keepHourglass);

// The only line of a new log, without its line end, for the given date and time.
std::string NewModemLogLine(double now);

// Creates the file (an existing one is emptied) holding the new-log line for the current time.
// Failures go to the central error handler; true when the new log was written whole.
bool CreateModemLog(const std::string& path);

}  // namespace DUVMain
