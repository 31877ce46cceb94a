#pragma once
// Counts the "Error Info" windows an add operation would have shown.
#include "media/CodecErrorReporter.h"

class FakeCodecErrorReporter final : public ICodecErrorReporter {
public:
    int shown = 0;
    void ShowReadErrorWindow() override { ++shown; }
};
