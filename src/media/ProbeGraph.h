#pragma once
// The graph that measures files: it opens a file with the in-process demuxers, checks that a
// decoder exists for every audio and video stream, and tells the container's duration.
// It is bound to no window and is never run. A length estimated from time stamps (MPEG program
// and transport streams) is completed from the file's last frames.
#include "media/MediaGraph.h"

#include <functional>
#include <memory>

struct AVFormatContext;

// Keeps the media libraries' own lines ("moov atom not found") off standard error: a program
// whose output a user reads says what went wrong in its own words. Lines the libraries mark as
// errors go to `log` (which may be empty to drop them); call it before any file is probed.
void QuietMediaLibraries(std::function<void(const QString &line)> log = {});

class ProbeGraph final : public MediaGraph {
public:
    ProbeGraph();
    ~ProbeGraph() override;
    ProbeGraph(const ProbeGraph &) = delete;
    ProbeGraph &operator=(const ProbeGraph &) = delete;

    void OpenGraph() override;
    void CloseGraph() override;
    bool IsGraphOpen() const override;
    void EmptyGraph() override;

    // Throws MediaGraphError when the graph is closed.
    RenderOutcome RenderFile(const QString &path) override;
    // With false, rendering only checks the streams and leaves the length unmeasured
    // (GetDuration() tells nothing): for a caller that measured the file before. On by default.
    void setMeasuresLength(bool measures) { m_measuresLength = measures; }
    bool LastRenderFoundDamagedFile() const override { return m_damaged; }
    std::optional<bool> HasSound() const override;

    std::optional<qint64> GetDuration() override;
    AudioTrackList GetAudioTracks() const override;
    // Clockwise quarter turns the rendered file asks its picture to be shown with (0 to 3): those
    // of its default picture stream, else of its first; 0 when there is none.
    int GetPictureTurns() const { return m_pictureTurns; }
    // A probe graph never plays: the position is always the start.
    std::optional<qint64> GetCurrentPosition() override;
    // Throws MediaGraphError: a probe graph can't seek.
    void SetCurrentPosition(qint64 reference) override;

    // Running, pausing and stopping change nothing: the probe graph only measures.
    void RunGraph() override {}
    void PauseGraph() override {}
    void StopGraph() override {}

private:
    struct FormatCloser {
        void operator()(AVFormatContext *context) const;
    };
    using FormatPointer = std::unique_ptr<AVFormatContext, FormatCloser>;

    static FormatPointer openInput(const QString &path, bool measureLength);

    FormatPointer m_format; // the rendered file; null when the graph is empty
    std::optional<qint64> m_duration; // its length, measured when it was rendered
    AudioTrackList m_audioTracks;     // its audio tracks, listed when it was rendered
    int m_pictureTurns = 0;           // how its picture is shown
    bool m_damaged = false; // the last file that failed was of a recognised type
    bool m_open = false;
    bool m_measuresLength = true;
};
