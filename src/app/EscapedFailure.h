#pragma once
// The application's general error display: a failure that escapes an event handler is shown to
// the user, and the program goes on.
#include <functional>

class IMessageBoxes;

// Runs `deliver`. When a failure escapes it, its text is shown in an error box and the result is
// false; otherwise the result is what `deliver` returned.
bool DeliverReportingFailures(const std::function<bool()> &deliver, IMessageBoxes &boxes);
