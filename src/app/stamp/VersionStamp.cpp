// Linked straight into the executable (not through a library, which could leave it out):
// the file version that ReadVersionText reads back from the file.
#include "app/VersionSection.h"

extern "C" {
[[gnu::used, gnu::section(KELVANE_VERSION_SECTION)]]
const char kelvaneFileVersion[] = KELVANE_VERSION_MARKER KELVANE_VERSION_TEXT;
}
