// Run-time errors: the numbered errors every procedure may raise and the central
// handler classifies.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace runtime {

// Error numbers used across the program.
enum ErrorNumber : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,
    kErrLocked = 10,
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrBadFileName = 52,
    kErrFileNotFound = 53,
    kErrBadFileMode = 54,
    kErrFileAlreadyOpen = 55,
    kErrDeviceIO = 57,
    kErrFileExists = 58,
    kErrDiskFull = 61,
    kErrPastEndOfFile = 62,
    kErrBadFileNameB = 64,
    kErrTooManyFiles = 67,
    kErrDeviceUnavailable = 68,
    kErrPermissionDenied = 70,
    kErrDiskNotReady = 71,
    kErrRenameAcrossDrives = 74,
    kErrPathFileAccess = 75,
    kErrPathNotFound = 76,
    kErrObjectNotSet = 91,
    kErrInvalidPropertyValue = 380,
    kErrDialogCancelled = 32755,
};

// Source text of errors raised by the program itself.
inline constexpr const char* kDefaultErrorSource = "DUV";

class RuntimeError : public std::exception {
public:
    RuntimeError(int number, std::string description, std::string source = kDefaultErrorSource,
                 std::uint32_t lastDllError = 0);

    const char* what() const noexcept override { return description.c_str(); }

    int number = 0;
    std::string description;
    std::string source;
    std::string helpFile;
    int helpContext = 0;
    std::uint32_t lastDllError = 0;  // the platform's last error code when it was raised
};

// The standard description of an error number ("Overflow" for 6, ...).
std::string ErrorDescription(int number);

// The error number for a failure the platform reported with its own error code
// (GetLastError): sharing or lock violation 70, access denied 75, path not found 76, file
// not found 53, disk full 61, not ready 71, bad name 52, end of file 62, ...; codes without
// a closer match give 75.
int ErrorNumberForSystemError(std::uint32_t systemError);

// Throws RuntimeError with the standard description.
[[noreturn]] void Raise(int number, std::uint32_t lastDllError = 0);
[[noreturn]] void Raise(int number, std::string description, std::string source,
                        std::uint32_t lastDllError = 0);

}  // namespace runtime
