#pragma once
// What the fuzz targets share: a scratch folder for the files they hand to code that reads
// paths, and a check that ends the run with a message when an expectation does not hold.
#include <QString>

#include <cstddef>
#include <cstdint>

// A folder of this process's own (in memory where the system offers /dev/shm), removed at exit.
const QString &scratchFolder();

// Replaces `path` with the given bytes.
void writeBytes(const QString &path, const uint8_t *data, size_t size);

// With KELVANE_FUZZ_RECENT=<folder> set, the last 256 inputs are kept there (0 ... 255, cycling).
// The media libraries are not instrumented: heap damage they do shows only later, under another
// input, and the kept inputs can then be replayed under valgrind.
void keepRecentInput(const uint8_t *data, size_t size);

// Prints what was expected and aborts, which the fuzzer reports as a finding with its input.
[[noreturn]] void expectationFailed(const char *condition, const char *file, int line);

#define FUZZ_EXPECT(condition)                                                                          \
    do {                                                                                                \
        if (!(condition))                                                                               \
            expectationFailed(#condition, __FILE__, __LINE__);                                          \
    } while (false)
