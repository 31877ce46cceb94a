#pragma once
// A media graph that answers from a script and records every call, for the preview player.
#include "media/MediaGraph.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

class ScriptedMediaGraph final : public MediaGraph {
public:
    // Script. Files render completely unless listed in `outcomes`; rendering a file listed in
    // `unreadable` and every operation listed in `failing` throw MediaGraphError.
    QHash<QString, RenderOutcome> outcomes;
    QStringList unreadable;
    QStringList failing; // "Open", "Run", "Pause", "Seek"
    std::optional<qint64> duration = MediaTime::millisecondsToReference(100'000);
    qint64 position = 0;

    // Record: "Open", "Close", "Empty", "Render <path>", "Run", "Pause", "Stop", "Seek <ms>",
    // "Step +1", "Step -1".
    QStringList calls;
    bool open = false;
    bool running = false;
    QString rendered;
    // The audio track the player asked for last, and the file rendered at the time it asked.
    std::optional<int> audioTrack;
    QString audioTrackOf;

    void OpenGraph() override
    {
        fail("Open");
        calls << "Open";
        open = true;
    }
    void CloseGraph() override
    {
        calls << "Close";
        open = false;
        running = false;
        rendered.clear();
    }
    bool IsGraphOpen() const override { return open; }
    void EmptyGraph() override
    {
        calls << "Empty";
        running = false;
        rendered.clear();
    }
    RenderOutcome RenderFile(const QString &path) override
    {
        calls << "Render " + path;
        if (unreadable.contains(path))
            throw MediaGraphError("unreadable");
        const RenderOutcome outcome = outcomes.value(path, RenderOutcome::Complete);
        if (outcome == RenderOutcome::Complete)
            rendered = path;
        return outcome;
    }
    std::optional<qint64> GetDuration() override { return rendered.isEmpty() ? std::nullopt : duration; }
    std::optional<qint64> GetCurrentPosition() override
    {
        return rendered.isEmpty() ? std::nullopt : std::optional<qint64>(position);
    }
    void SetCurrentPosition(qint64 reference) override
    {
        fail("Seek");
        calls << "Seek " + QString::number(reference / MediaTime::ReferenceUnitsPerMillisecond);
        position = reference;
    }
    void SelectAudioTrack(std::optional<int> track) override
    {
        audioTrack = track;
        audioTrackOf = rendered;
    }
    void RunGraph() override
    {
        fail("Run");
        calls << "Run";
        running = true;
    }
    void PauseGraph() override
    {
        fail("Pause");
        calls << "Pause";
        running = false;
    }
    void StopGraph() override
    {
        calls << "Stop";
        running = false;
    }
    // A step moves the position by a frame of 40 ms.
    void StepFrame(bool forward) override
    {
        fail("Step");
        calls << (forward ? "Step +1" : "Step -1");
        position = std::max<qint64>(0, position + (forward ? 1 : -1) * MediaTime::millisecondsToReference(40));
    }

private:
    void fail(const char *operation) const
    {
        if (failing.contains(QLatin1String(operation)))
            throw MediaGraphError(std::string(operation) + " fails");
    }
};
