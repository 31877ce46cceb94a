#include "cli/ItemReport.h"

void RunCounts::add(ItemOutcome outcome)
{
    switch (outcome) {
    case ItemOutcome::Converted: ++converted; break;
    case ItemOutcome::Failed: ++failed; break;
    case ItemOutcome::Stopped: ++stopped; break;
    case ItemOutcome::NotStarted: ++notStarted; break;
    }
}
