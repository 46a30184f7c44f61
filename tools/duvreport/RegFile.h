// Reads a registry export file ("REGEDIT4" or "Windows Registry Editor Version 5.00") into a
// registry store.
#pragma once

#include <iosfwd>
#include <string>

#include "core/RegistryStore.h"

namespace regfile {

struct LoadResult {
    bool ok = true;
    int line = 0;         // the line of the first problem (1-based)
    std::string message;  // what is wrong with it
};

// Checks the first bytes of a longer export file (a few KB are enough) for its header line,
// so that a file of another kind is refused before it is read whole: the problem Load would
// report, or ok when they start as an export does or hold only blank lines.
LoadResult CheckStart(const std::string& firstBytes);

// Parses the text of an export file (ANSI, UTF-8 or UTF-16 with its byte-order mark) and
// writes its keys and values into the store. Stops at the first malformed line.
LoadResult Load(const std::string& fileBytes, registry::RegistryStore& store);
// The same read from a stream as it goes: what is held at a time is one statement, so a file
// of any length is refused at its first malformed line without being read further.
LoadResult Load(std::istream& in, registry::RegistryStore& store);

}  // namespace regfile
