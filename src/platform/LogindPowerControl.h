#pragma once
#include "platform/PlatformServices.h"

#include <QList>

// One lock of logind's ListInhibitors: what it inhibits ("shutdown:sleep"), who holds it and
// why, and its mode ("block" or "delay").
struct LogindInhibitor {
    QString what;
    QString who;
    QString why;
    QString mode;
};

// The locks among `inhibitors` that block shutdown, as "who: why". Delay locks are logind's
// own business: it waits for them.
QStringList ShutdownBlockersAmong(const QList<LogindInhibitor> &inhibitors);

// Powers the computer off through logind on the system bus (no interactive authentication).
// logind lets the caller's own programs' locks pass, so they are looked up here first.
class LogindPowerControl final : public IPowerControl {
public:
    bool powerOff() override;
    QStringList shutdownBlockers() override;
};
