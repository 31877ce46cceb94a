#pragma once
// The keys that seek the preview and cut at the playhead while the video window or the
// timeline has the keyboard focus, and the keys that move a focused marker:
//
//   Left / Right          5 s back / forward      Shift+Left / Shift+Right   1 s
//   Home / End            the start / end of the loaded row's cut
//   , / .                 one frame back / forward (while paused)
//   I / O                 the selected rows' start / end at the preview's current second
//   on a marker: Left / Right 1 s, Shift+Left / Shift+Right 10 s
//
// PreviewKeys runs them on the player and the segment selection; the widgets only hand keys in.
#include <QtGlobal>
#include <Qt>

class PreviewPlayer;
class SegmentSelection;

struct PreviewKeyCommand {
    enum class Kind { None, SeekBy, SeekToCutStart, SeekToCutEnd, StepFrame, SetStart, SetEnd };
    Kind kind = Kind::None;
    qint64 amount = 0; // SeekBy: milliseconds; StepFrame: +1 forward, −1 back
    friend bool operator==(const PreviewKeyCommand &, const PreviewKeyCommand &) = default;
};

// What a key does while the video window or the timeline has the focus; None for every other
// key, and for any key held with Ctrl, Alt or Meta.
PreviewKeyCommand PreviewKeyCommandFor(int key, Qt::KeyboardModifiers modifiers);
// Seconds a focused marker moves for a key; 0 for keys that don't move it.
int MarkerNudgeSeconds(int key, Qt::KeyboardModifiers modifiers);

class PreviewKeys {
public:
    // Both must outlive this object.
    PreviewKeys(PreviewPlayer &player, SegmentSelection &selection);

    // Runs what `key` does; false when it does nothing here (the key may go on elsewhere).
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers);
    // Runs a command; nothing happens while nothing is loaded in the preview.
    void run(const PreviewKeyCommand &command);

private:
    PreviewPlayer &m_player;
    SegmentSelection &m_selection;
};
