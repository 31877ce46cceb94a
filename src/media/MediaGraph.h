#pragma once
// A media graph: something a file is rendered into, that reports its duration and playing
// position and can be run, paused, stopped and sought. The probe graph measures files; the
// preview graph plays them. Times cross this interface as reference time (100 ns units).
#include "media/AudioTracks.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <stdexcept>

// How far rendering a file got.
enum class RenderOutcome {
    Complete, // every audio and video stream can be decoded
    Partial,  // the file opened, but some audio or video stream can't be decoded
    Failed,   // the file can't be opened, or holds no audio or video stream
};

// Raised by graph operations that need something the graph does not have (no seeking, closed).
class MediaGraphError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Conversions between reference time, milliseconds and whole seconds.
namespace MediaTime {

inline constexpr qint64 ReferenceUnitsPerMillisecond = 10000;

// Reference time to milliseconds, truncating; held as a signed 32-bit number.
constexpr qint32 referenceToMilliseconds(qint64 reference)
{
    return static_cast<qint32>(reference / ReferenceUnitsPerMillisecond);
}

// Milliseconds to whole seconds, truncating toward zero (59999 gives 59, 900 gives 0).
constexpr qint32 millisecondsToSeconds(qint32 milliseconds) { return milliseconds / 1000; }

// A seek target in milliseconds as reference time.
constexpr qint64 millisecondsToReference(qint64 milliseconds)
{
    return milliseconds * ReferenceUnitsPerMillisecond;
}

} // namespace MediaTime

class MediaGraph {
public:
    virtual ~MediaGraph() = default;

    // Creates the graph; afterwards files can be rendered into it.
    virtual void OpenGraph() = 0;
    // Releases the graph and everything rendered into it.
    virtual void CloseGraph() = 0;
    virtual bool IsGraphOpen() const = 0;
    // Stops the graph and removes what rendering put in, so another file can be rendered.
    virtual void EmptyGraph() = 0;

    virtual RenderOutcome RenderFile(const QString &path) = 0;
    // The same for a file whose length the caller has measured already (`duration`, reference
    // time): a graph that would measure it again takes this one instead.
    virtual RenderOutcome RenderMeasuredFile(const QString &path, qint64 duration)
    {
        (void)duration;
        return RenderFile(path);
    }
    // After a failed RenderFile: true when the file's type was recognised but its content could
    // not be opened (a damaged or cut-off file), false when nothing recognised it.
    virtual bool LastRenderFoundDamagedFile() const { return false; }
    // Whether the rendered file holds a sound stream; nullopt when the graph can't tell.
    virtual std::optional<bool> HasSound() const { return std::nullopt; }
    // The audio tracks of the rendered file; empty when nothing is rendered or the graph does
    // not tell them.
    virtual AudioTrackList GetAudioTracks() const { return {}; }
    // The audio track the next file plays (1-based among its audio tracks), and the loaded file
    // from now on; nothing lets the file's default track play. Graphs that play no sound ignore it.
    virtual void SelectAudioTrack(std::optional<int> /*track*/) {}

    // Length of the rendered file in reference time; nullopt when it can't be told.
    virtual std::optional<qint64> GetDuration() = 0;
    // Playing position in reference time; nullopt when it can't be told.
    virtual std::optional<qint64> GetCurrentPosition() = 0;
    // Moves the playing position to `reference` (absolute). Throws MediaGraphError when the
    // graph can't seek.
    virtual void SetCurrentPosition(qint64 reference) = 0;

    virtual void RunGraph() = 0;
    virtual void PauseGraph() = 0;
    virtual void StopGraph() = 0;

    // Shows the next frame (`forward`) or the one before of a paused file and stays paused.
    // Throws MediaGraphError when the graph can't step (a graph that only measures files).
    virtual void StepFrame(bool forward)
    {
        (void)forward;
        throw MediaGraphError("This graph can't step frames.");
    }
};

// Sets the graph's current position to `milliseconds`; throws MediaGraphError when the graph
// can't seek. Callers seek only an open graph.
inline void SeekGraph(MediaGraph &graph, qint64 milliseconds)
{
    graph.SetCurrentPosition(MediaTime::millisecondsToReference(milliseconds));
}
