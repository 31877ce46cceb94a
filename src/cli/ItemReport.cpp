#include "cli/ItemReport.h"

ItemReport ItemReport::notConverted(const QString &source, ItemOutcome outcome, const QString &why)
{
    ItemReport report;
    report.source = source;
    report.outcome = outcome;
    report.error = why;
    return report;
}

ItemReport ItemReport::converted(const QString &source, const QString &output)
{
    ItemReport report;
    report.source = source;
    report.outcome = ItemOutcome::Converted;
    report.output = output;
    return report;
}

void RunCounts::add(ItemOutcome outcome)
{
    switch (outcome) {
    case ItemOutcome::Converted: ++converted; break;
    case ItemOutcome::Failed: ++failed; break;
    case ItemOutcome::Stopped: ++stopped; break;
    case ItemOutcome::NotStarted: ++notStarted; break;
    }
}
