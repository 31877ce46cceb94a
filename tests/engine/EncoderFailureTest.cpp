// Why an encoder failed, as the user reads it: a sentence that says how it ended and how far it
// got; the encoder's own error message when it gave one; its raw status line only in the log.
#include "engine/EncoderFailure.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TExitStatus exited(int code)
{
    TExitStatus status;
    status.kind = TExitStatus::Kind::Exited;
    status.code = code;
    return status;
}

TExitStatus signalled(int signal)
{
    TExitStatus status;
    status.kind = TExitStatus::Kind::Signalled;
    status.signal = signal;
    return status;
}

} // namespace

TEST(EncoderFailure, ReasonsReadAsSentencesAndTheRawLineGoesToTheLogOnly)
{
    const QString status = QStringLiteral("size=    1845kB time=1180.54 bitrate=  12.8kbits/s");
    struct Case {
        const char *name;
        QString lastLine;
        TExitStatus status;
        TEncoderReach reach;
        QString reason;
        QString logged; // the encoder's line, when the reason leaves it out
    };
    const Case cases[] = {
        {"killed mid-file", status, signalled(SIGKILL), {1180, 1200},
         "the encoder was ended by signal 9 (killed) after 19:40 of 20:00", status},
        {"terminated, length unknown", status, signalled(SIGTERM), {65, 0},
         "the encoder was ended by signal 15 (terminated) after 1:05", status},
        {"crashed before any status line", "", signalled(SIGSEGV), {},
         "the encoder was ended by signal 11 (segmentation fault)", ""},
        {"an hour-long file", status, signalled(SIGABRT), {3723, 7200},
         "the encoder was ended by signal 6 (aborted) after 1:02:03 of 2:00:00", status},
        {"its own message", "evc: the disk is full", exited(3), {12, 1200},
         "the disk is full (the encoder failed: exit code 3)", ""},
        {"its message, then killed", "evc: the disk is full", signalled(SIGKILL), {12, 1200},
         "the encoder was ended by signal 9 (killed) after 0:12 of 20:00", "evc: the disk is full"},
        {"the loader's message names the path", "/opt/k/evc: error while loading shared libraries", exited(127), {},
         "error while loading shared libraries (the encoder failed: exit code 127)", ""},
        {"a failing exit after a status line", status, exited(1), {0, 20},
         "the encoder ended with exit code 1 after 0:00 of 0:20", status},
        {"another program's words are no message", "revc: broken", exited(1), {},
         "the encoder ended with exit code 1", "revc: broken"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString reason = EncoderFailure(QStringLiteral("/opt/k/evc"), QStringLiteral("/out/a.mp3"), c.lastLine,
                                              true, c.status, c.reach);
        EXPECT_EQ(reason, c.reason);
        EXPECT_EQ(EncoderOutputForLog(QStringLiteral("/opt/k/evc"), c.lastLine, reason), c.logged);
    }
}

TEST(EncoderFailure, TheLogLineKeepsTheEncodersLastOutput)
{
    EXPECT_EQ(ConversionFailedLine("/v/a.mp4", "the encoder was ended by signal 9 (killed)", "size= 1kB time=0.50"),
              "Conversion failed: /v/a.mp4 (the encoder was ended by signal 9 (killed)); the encoder's last output: "
              "size= 1kB time=0.50");
    EXPECT_EQ(ConversionFailedLine("/v/a.mp4", "the disk is full (the encoder failed: exit code 3)"),
              "Conversion failed: /v/a.mp4 (the disk is full (the encoder failed: exit code 3))");
}

TEST(EncoderFailure, SignalsAreNamed)
{
    EXPECT_EQ(SignalText(SIGKILL), "killed");
    EXPECT_EQ(SignalText(SIGTERM), "terminated");
    EXPECT_EQ(SignalText(SIGUSR1), "SIGUSR1");
    EXPECT_EQ(SignalText(0x7ff), "");
}
