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

// Prints what was expected and aborts, which the fuzzer reports as a finding with its input.
[[noreturn]] void expectationFailed(const char *condition, const char *file, int line);

#define FUZZ_EXPECT(condition)                                                                          \
    do {                                                                                                \
        if (!(condition))                                                                               \
            expectationFailed(#condition, __FILE__, __LINE__);                                          \
    } while (false)
