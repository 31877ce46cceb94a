#include "media/SourceListHistory.h"

#include "media/SourceListModel.h"

#include <QHash>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

namespace {

enum class Kind { Add, Remove, Cut, Check, Track, Order, Other };

// The kinds of change seen, one bit each.
struct Kinds {
    unsigned bits = 0;
    Kinds &operator<<(Kind kind)
    {
        bits |= 1u << static_cast<unsigned>(kind);
        return *this;
    }
    // The one kind seen; Other when none or several were.
    Kind only() const
    {
        for (unsigned k = 0; k <= static_cast<unsigned>(Kind::Other); ++k) {
            if (bits == (1u << k))
                return static_cast<Kind>(k);
        }
        return Kind::Other;
    }
};

QString kindLabel(Kind kind)
{
    switch (kind) {
    case Kind::Add: return QStringLiteral("Add");
    case Kind::Remove: return QStringLiteral("Remove");
    case Kind::Cut: return QStringLiteral("Cut");
    case Kind::Check: return QStringLiteral("Check");
    case Kind::Track: return QStringLiteral("Audio track");
    case Kind::Order: return QStringLiteral("Order");
    case Kind::Other: break;
    }
    return QStringLiteral("Change");
}

QList<quint64> idsOf(const QList<SourceItem> &items)
{
    QList<quint64> ids;
    for (const SourceItem &item : items)
        ids << item.id.value;
    return ids;
}

// The kinds of change between two versions of the items both lists hold.
void addItemKinds(const SourceItem &before, const SourceItem &after, Kinds &kinds)
{
    if (before.startMs != after.startMs || before.endMs != after.endMs)
        kinds << Kind::Cut;
    if (before.checked != after.checked)
        kinds << Kind::Check;
    if (before.audioTrack != after.audioTrack)
        kinds << Kind::Track;
    SourceItem rest = after; // anything else
    rest.startMs = before.startMs;
    rest.endMs = before.endMs;
    rest.checked = before.checked;
    rest.audioTrack = before.audioTrack;
    if (!(rest == before))
        kinds << Kind::Other;
}

} // namespace

QString LabelForChange(const QList<SourceItem> &before, const QList<SourceItem> &after)
{
    QHash<quint64, SourceItem> old;
    for (const SourceItem &item : before)
        old.insert(item.id.value, item);
    Kinds kinds;
    QList<quint64> kept; // ids both lists hold, in the new order
    for (const SourceItem &item : after) {
        const auto at = old.constFind(item.id.value);
        if (at == old.cend()) {
            kinds << Kind::Add;
            continue;
        }
        kept << item.id.value;
        addItemKinds(*at, item, kinds);
    }
    QList<quint64> keptBefore = idsOf(before);
    keptBefore.removeIf([&](quint64 id) { return !kept.contains(id); });
    if (keptBefore.size() < before.size())
        kinds << Kind::Remove;
    if (keptBefore != kept)
        kinds << Kind::Order;
    return kindLabel(kinds.only());
}

SourceListHistory::SourceListHistory(SourceListModel &model, int depth, QObject *parent)
    : QObject(parent), m_model(model), m_depth(std::max(1, depth)), m_known(model.items())
{
    connect(&m_model, &SourceListModel::itemsChanged, this, &SourceListHistory::modelChanged);
}

void SourceListHistory::record(const QString &label, const std::function<void()> &change)
{
    beginStep(label);
    const auto end = qScopeGuard([this] { endStep(); });
    change();
}

void SourceListHistory::beginStep(const QString &label)
{
    if (m_recordDepth++ > 0)
        return;
    closeStep();
    m_actionLabel = label;
}

void SourceListHistory::endStep()
{
    if (m_recordDepth == 0 || --m_recordDepth > 0)
        return;
    closeStep();
    m_actionLabel.clear();
}

void SourceListHistory::holdSteps() { ++m_holds; }

// The step closes once the event that ended the hold is handled: a drag's last move, made on
// the button's release, still belongs to it.
void SourceListHistory::releaseSteps()
{
    if (m_holds == 0 || --m_holds > 0)
        return;
    if (m_gathering && m_recordDepth == 0)
        scheduleClose();
}

void SourceListHistory::modelChanged()
{
    if (m_restoring)
        return;
    if (!m_gathering) {
        m_gathering = true;
        m_gatherBefore = m_known;
        m_gatherLabel = m_recordDepth > 0 ? m_actionLabel : QString();
    }
    m_known = m_model.items();
    if (m_recordDepth == 0)
        scheduleClose();
}

// Changes noticed on their own close their step when the event loop turns, unless held.
void SourceListHistory::scheduleClose()
{
    if (m_closeScheduled)
        return;
    m_closeScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_closeScheduled = false;
            if (m_holds == 0 && m_recordDepth == 0)
                closeStep();
        },
        Qt::QueuedConnection);
}

void SourceListHistory::closeStep()
{
    if (!m_gathering)
        return;
    m_gathering = false;
    m_known = m_model.items();
    if (m_known == m_gatherBefore)
        return;
    const QString label = m_gatherLabel.isEmpty() ? LabelForChange(m_gatherBefore, m_known) : m_gatherLabel;
    push(Step{label, std::exchange(m_gatherBefore, {}), m_known});
}

void SourceListHistory::push(Step step)
{
    m_done.push_back(std::move(step));
    m_undone.clear();
    while (static_cast<int>(m_done.size()) > m_depth)
        m_done.pop_front();
    Q_EMIT changed();
}

bool SourceListHistory::canUndo() const { return m_gathering || !m_done.empty(); }
bool SourceListHistory::canRedo() const { return !m_gathering && !m_undone.empty(); }

QString SourceListHistory::undoLabel() const
{
    if (m_gathering)
        return m_gatherLabel.isEmpty() ? LabelForChange(m_gatherBefore, m_model.items()) : m_gatherLabel;
    return m_done.empty() ? QString() : m_done.back().label;
}

QString SourceListHistory::redoLabel() const { return canRedo() ? m_undone.back().label : QString(); }

QString SourceListHistory::undo() { return takeStep(m_done, m_undone, Direction::Back); }
QString SourceListHistory::redo() { return takeStep(m_undone, m_done, Direction::Again); }

// Moves the newest step of `from` to `to`, putting the list back to before it or to after it.
QString SourceListHistory::takeStep(std::deque<Step> &from, std::deque<Step> &to, Direction direction)
{
    closeStep();
    if (from.empty())
        return {};
    Step step = std::move(from.back());
    from.pop_back();
    restore(direction == Direction::Back ? step.before : step.after);
    const QString label = step.label;
    to.push_back(std::move(step));
    Q_EMIT changed();
    return label;
}

void SourceListHistory::restore(const QList<SourceItem> &items)
{
    m_restoring = true;
    const auto done = qScopeGuard([this] { m_restoring = false; });
    m_model.replaceItems(items);
    m_known = m_model.items();
}

void SourceListHistory::reset()
{
    m_done.clear();
    m_undone.clear();
    m_gathering = false;
    m_gatherBefore.clear();
    m_known = m_model.items();
    Q_EMIT changed();
}
