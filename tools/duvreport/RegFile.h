// Reads a registry export file ("REGEDIT4" or "Windows Registry Editor Version 5.00") into a
// registry store.
#pragma once

#include <string>

#include "core/RegistryStore.h"

namespace regfile {

struct LoadResult {
    bool ok = true;
    int line = 0;         // the line of the first problem (1-based)
    std::string message;  // what is wrong with it
};

// Parses the text of an export file (ANSI, UTF-8 or UTF-16 with its byte-order mark) and
// writes its keys and values into the store. Stops at the first malformed line.
LoadResult Load(const std::string& fileBytes, registry::RegistryStore& store);

}  // namespace regfile
