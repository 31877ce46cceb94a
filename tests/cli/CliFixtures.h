#pragma once
// What the command-line converter's tests share: small media made once per test executable
// with the ffmpeg command line, and a program folder of their own (links to the built
// encoders, a log, Config/) with input and output folders beside it.
#include "common/Ffmpeg.h"
#include "common/ProgramFolderSetup.h"

#include <QStringList>
#include <QTemporaryDir>

namespace CliMedia {

// "three_seconds.avi" (64x48 video, 44.1 kHz stereo sound), "video_only.avi" (no sound: the
// window takes it, the encoder fails on it), "two_seconds.rm" and
// "four_seconds.rm" (RealMedia: rv10 + ac3), "ten_minutes.avi" (a 16x16 picture a second and
// ten minutes of sound: seconds of encoding). Empty when ffmpeg could not make it.
QString path(const QString &name);

} // namespace CliMedia

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

struct CliSetup : ProgramFolderSetup {
    // Copies a fixture to `name` under the input folder (sub-folders are made); returns its path.
    QString input(const QString &fixture, const QString &name) const;
    // Runs kelvane-convert in this process with `arguments`, working in the temporary folder,
    // until it has finished; standard output and error are caught.
    CliResult run(const QStringList &arguments, bool terminal = false) const;
    // Replaces the program folder's encoder `name` ("evc", "revc") by a shell script of `body`;
    // "$REAL" in it is the built encoder of that name, "$DIR" the temporary folder.
    void wrapEncoder(const QString &name, const QString &body) const;
    // Wraps `name` so that the first two encoders started wait for each other before they
    // begin (two run at once for certain; a run that never has two at once waits 30 s in
    // vain), and every start and end is written to $DIR/encoders.txt.
    void gateEncoder(const QString &name) const;
    // The lines of $DIR/encoders.txt: "start <output>" and "end <output>".
    QStringList encoderEvents() const;
    // Writes Config/UserProfileInfo.ini with `text` (lines joined by CR LF).
    void writeProfiles(const QStringList &lines) const;
};
