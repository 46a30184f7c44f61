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
    if (e.number == number) return e.text;
  }
  return "Application-defined or object-defined error";
}

void Raise(int number, std::uint32_t lastDllError) {
  throw RuntimeError(number, ErrorDescription(number), kDefaultErrorSource, lastDllError);
}

void Raise(int number, std::string description, std::string source, std::uint32_t lastDllError) {
  throw RuntimeError(number, std::move(description), std::move(source), lastDllError);
}

}  // namespace runtime
