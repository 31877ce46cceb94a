#pragma once
// Where the executable keeps its file version: an ELF section holding a marker and then the
// version text (major.minor.patch.build), ended by a NUL. Plain macros, so that the stamp is one
// string literal.
#define KELVANE_VERSION_SECTION ".kelvane_version"
#define KELVANE_VERSION_MARKER "KELVANE-FILE-VERSION:"
