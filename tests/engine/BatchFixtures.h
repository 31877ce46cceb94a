#pragma once
// What batch-run tests share: small media made once per test executable with the ffmpeg
// command line, and a complete conversion setup (program folder with the built encoders,
// output folder, log, service objects and fakes) in a temporary folder of its own.
#include "common/ProgramFolderSetup.h"
#include "engine/BatchRun.h"
#include "engine/ProgressRefresh.h"
#include "media/SourceListModel.h"
#include "services/ServiceObjects.h"
#include "settings/OptionSelectionModel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace BatchMedia {

// "one_second.avi" (video and sound), "ten_minutes.wav" (sound only, several seconds of
// encoding), "one_second.rm" (RealMedia, through revc and the script), "video_only.avi" (no sound), "corrupt.avi" (random bytes), "zero_bytes.avi".
// Empty when ffmpeg could not make it.
QString path(const QString &name);

} // namespace BatchMedia

struct BatchSetup : ProgramFolderSetup {
    FakeMessageBoxes boxes;
    FakeShellLauncher shell;
    FakePowerControl power;
    OptionSelectionModel options;
    SourceListModel sources;
    TServiceObjects services{FileLocations::portableIn(programFolder), clock, boxes, options, sources};
    TCommonLib &common = services.common;
    TCustomProc &custom = services.customProc;

    // Chooses MP3 output into `outputFolder`.
    BatchSetup();

    // Copies a fixture into the input folder under `name` and adds it as a row cut from `start`
    // to `end`; returns the copy's path.
    QString addRow(const QString &fixture, const QString &name, bool checked = true,
                   const QString &end = QStringLiteral("00:00:01"), const QString &start = QStringLiteral("00:00:00"));
    QString output(const QString &baseName) const { return outputFolder + baseName + QStringLiteral(".mp3"); }
};

// A batch run on its own setup, and a way to run it to its end.
class BatchRunFixture : public ::testing::Test {
protected:
    BatchSetup s;
    TProgressRefresh progress;
    TBatchRun batch{s.custom.batchServices(), progress, s.shell, s.power};
    QSignalSpy finished{&batch, &TBatchRun::runFinished};

    // Starts the run and waits for its end (two minutes at most: only keeps a broken run from
    // hanging the suite).
    bool runToEnd();
};
