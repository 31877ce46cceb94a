#pragma once
#include "services/PlatformServices.h"

// Powers the computer off through logind on the system bus (no interactive authentication).
class LogindPowerControl final : public IPowerControl {
public:
    bool powerOff() override;
};
