// FileExists on Windows: normal files only, as a directory search with no attributes finds
// them (folders, hidden and system files do not count).
#include "core/GeneralFunctions.h"

#include <windows.h>

namespace GeneralFunctions {

FileProbe SystemFileProbe() {
    return [](const std::string& path) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
        return (attributes &
                (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    };
}

}  // namespace GeneralFunctions
