#include "support/EscapedFailure.h"

#include "platform/PlatformServices.h"

#include <exception>

namespace {

void report(IMessageBoxes &boxes, const QString &text)
{
    boxes.show(text, MessageIcon::Error, MessageButtons::Ok);
}

} // namespace

bool DeliverReportingFailures(const std::function<bool()> &deliver, IMessageBoxes &boxes)
{
    try {
        return deliver();
    } catch (const std::exception &failure) {
        report(boxes, QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        report(boxes, QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

HandlerGuard ReportingFailuresIn(IMessageBoxes &boxes)
{
    return [&boxes](const std::function<void()> &handler) {
        DeliverReportingFailures([&handler] { handler(); return true; }, boxes);
    };
}
