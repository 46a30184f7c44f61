#include "core/RuntimeError.h"

#include <utility>

namespace runtime {

RuntimeError::RuntimeError(int number_, std::string description_, std::string source_,
                           std::uint32_t lastDllError_)
    : number(number_),
      description(std::move(description_)),
      source(std::move(source_)),
      lastDllError(lastDllError_) {}

std::string ErrorDescription(int number) {
    struct Entry {
        int number;
        const char* text;
    };
    static constexpr Entry kDescriptions[] = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {10, "This array is fixed or temporarily locked"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {14, "Out of string space"},
        {28, "Out of stack space"},
        {48, "Error in loading DLL"},
        {51, "Internal error"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {59, "Bad record length"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {63, "Bad record number"},
        {64, "Bad file name"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {74, "Can't rename with different drive"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {91, "Object variable or With block variable not set"},
        {94, "Invalid use of Null"},
        {380, "Invalid property value"},
        {32755, "Cancel was selected."},
    };
    for (const Entry& e : kDescriptions) {
        if (e.number == number)
            return e.text;
    }
    return "Application-defined or object-defined error";
}

int ErrorNumberForSystemError(std::uint32_t systemError) {
    struct Entry {
        std::uint32_t code;
        int number;
    };
    // The platform's error codes (winerror.h values).
    static constexpr Entry kMap[] = {
        {2, kErrFileNotFound},         // file not found
        {3, kErrPathNotFound},         // path not found
        {4, kErrTooManyFiles},         // too many open files
        {5, kErrPathFileAccess},       // access denied
        {6, kErrBadFileName},          // invalid handle
        {8, kErrOutOfMemory},          // not enough memory
        {14, kErrOutOfMemory},         // out of memory
        {15, kErrDeviceUnavailable},   // invalid drive
        {17, kErrRenameAcrossDrives},  // not the same device
        {19, kErrPermissionDenied},    // write protected
        {21, kErrDiskNotReady},        // not ready
        {23, kErrDeviceIO},            // data error (CRC)
        {25, kErrDeviceIO},            // seek error
        {29, kErrDeviceIO},            // write fault
        {30, kErrDeviceIO},            // read fault
        {31, kErrDeviceIO},            // device not functioning
        {32, kErrPermissionDenied},    // sharing violation
        {33, kErrPermissionDenied},    // lock violation
        {38, kErrPastEndOfFile},       // reached the end of the file
        {39, kErrDiskFull},            // disk full
        {53, kErrPathNotFound},        // network path not found
        {55, kErrDeviceUnavailable},   // network resource not available
        {67, kErrPathNotFound},        // network name not found
        {80, kErrFileExists},          // file exists
        {112, kErrDiskFull},           // not enough space on the disk
        {123, kErrBadFileName},        // invalid name syntax
        {161, kErrPathNotFound},       // bad path name
        {183, kErrFileExists},         // already exists
        {206, kErrBadFileName},        // name too long
        {267, kErrPathNotFound},       // not a directory
    };
    for (const Entry& e : kMap) {
        if (e.code == systemError)
            return e.number;
    }
    return kErrPathFileAccess;
}

void Raise(int number, std::uint32_t lastDllError) {
    throw RuntimeError(number, ErrorDescription(number), kDefaultErrorSource, lastDllError);
}

void Raise(int number, std::string description, std::string source, std::uint32_t lastDllError) {
    throw RuntimeError(number, std::move(description), std::move(source), lastDllError);
}

}  // namespace runtime
