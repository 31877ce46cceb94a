#include "media/PreviewKeys.h"

#include "media/PreviewPlayer.h"
#include "media/SegmentSelection.h"

namespace {

using Kind = PreviewKeyCommand::Kind;

constexpr qint64 LongSeekMs = 5000;
constexpr qint64 ShortSeekMs = 1000;
constexpr int MarkerStepSeconds = 1;
constexpr int MarkerLongStepSeconds = 10;

// The modifiers the user holds; the keypad flag only says where the key sits.
Qt::KeyboardModifiers held(Qt::KeyboardModifiers modifiers) { return modifiers & ~Qt::KeypadModifier; }

bool shiftAtMost(Qt::KeyboardModifiers modifiers) { return (held(modifiers) & ~Qt::ShiftModifier) == 0; }

} // namespace

PreviewKeyCommand PreviewKeyCommandFor(int key, Qt::KeyboardModifiers modifiers)
{
    if (!shiftAtMost(modifiers))
        return {};
    const bool shift = held(modifiers) == Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Left: return {Kind::SeekBy, -(shift ? ShortSeekMs : LongSeekMs)};
    case Qt::Key_Right: return {Kind::SeekBy, shift ? ShortSeekMs : LongSeekMs};
    case Qt::Key_Home: return shift ? PreviewKeyCommand{} : PreviewKeyCommand{Kind::SeekToCutStart};
    case Qt::Key_End: return shift ? PreviewKeyCommand{} : PreviewKeyCommand{Kind::SeekToCutEnd};
    case Qt::Key_Comma: return {Kind::StepFrame, -1};
    case Qt::Key_Period: return {Kind::StepFrame, 1};
    case Qt::Key_I: return {Kind::SetStart};
    case Qt::Key_O: return {Kind::SetEnd};
    default: return {};
    }
}

int MarkerNudgeSeconds(int key, Qt::KeyboardModifiers modifiers)
{
    if (!shiftAtMost(modifiers))
        return 0;
    const int step = held(modifiers) == Qt::ShiftModifier ? MarkerLongStepSeconds : MarkerStepSeconds;
    if (key == Qt::Key_Left)
        return -step;
    if (key == Qt::Key_Right)
        return step;
    return 0;
}

PreviewKeys::PreviewKeys(PreviewPlayer &player, SegmentSelection &selection)
    : m_player(player), m_selection(selection)
{
}

bool PreviewKeys::keyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    const PreviewKeyCommand command = PreviewKeyCommandFor(key, modifiers);
    if (command.kind == Kind::None)
        return false;
    run(command);
    return true;
}

void PreviewKeys::run(const PreviewKeyCommand &command)
{
    const std::optional<SourceItem> item = m_player.loadedItem();
    if (!item)
        return;
    switch (command.kind) {
    case Kind::None: break;
    case Kind::SeekBy: m_player.seekBy(command.amount); break;
    case Kind::SeekToCutStart: m_player.seekWithinFile(item->startMs); break;
    case Kind::SeekToCutEnd: m_player.seekWithinFile(item->endMs); break;
    case Kind::StepFrame: m_player.stepFrame(command.amount > 0); break;
    case Kind::SetStart:
    case Kind::SetEnd:
        if (const std::optional<qint64> position = m_player.positionMilliseconds()) {
            if (command.kind == Kind::SetStart)
                m_selection.setSelectedStart(*position / 1000);
            else
                m_selection.setSelectedEnd(*position / 1000);
        }
        break;
    }
}
