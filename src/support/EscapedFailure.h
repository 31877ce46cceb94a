#pragma once
// The application's general error display: a failure that escapes an event handler is shown to
// the user, and the program goes on. Qt does not support exceptions that unwind through its own
// code, so every handler that can fail runs under a guard that catches and shows the failure.
#include <functional>

class IMessageBoxes;

// Runs `deliver`. When a failure escapes it, its text is shown in an error box and the result is
// false; otherwise the result is what `deliver` returned.
bool DeliverReportingFailures(const std::function<bool()> &deliver, IMessageBoxes &boxes);

// Runs a handler; shows a failure that escapes it.
using HandlerGuard = std::function<void(const std::function<void()> &handler)>;

// The guard that shows failures in `boxes`, which must outlive it.
HandlerGuard ReportingFailuresIn(IMessageBoxes &boxes);
