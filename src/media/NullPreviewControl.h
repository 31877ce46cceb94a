#pragma once
// A preview that never has a file loaded: the timeline's partner until the player is attached.
#include "media/PreviewPort.h"

class NullPreviewControl final : public IPreviewControl {
public:
    QString previewFile() const override { return {}; }
    bool isGraphOpen() const override { return false; }
    void seekMilliseconds(qint64) override {}
    void StopPreview() override {}
};
