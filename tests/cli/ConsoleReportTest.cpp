// What a run prints: on a terminal the lasting lines above a progress block that is redrawn in
// place; without one, a line per finished file and nothing else on standard output.
#include "cli/ConsoleReport.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// The screen that `text` leaves behind on a terminal that knows line ends, carriage returns,
// "cursor up n lines" and "clear to the end of the screen" (all the report uses).
QStringList screenAfter(const QString &text)
{
    QStringList screen{QString()};
    int row = 0;
    static const QRegularExpression escape(QStringLiteral("^\x1b\\[(\\d*)([AJ])"));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\x1b') {
            const QRegularExpressionMatch m = escape.match(QStringView(text).mid(i));
            if (!m.hasMatch())
                return {QStringLiteral("unknown escape at %1").arg(i)};
            if (m.captured(2) == u"A")
                row = std::max(0, row - m.captured(1).toInt());
            else
                screen = screen.mid(0, row) << QString();
            i += m.capturedLength() - 1;
        } else if (c == u'\n') {
            if (++row == screen.size())
                screen << QString();
        } else if (c != u'\r') {
            screen[row] += c;
        }
    }
    if (screen.last().isEmpty())
        screen.removeLast();
    return screen;
}

struct Console {
    QByteArray out, err;
    QBuffer outBuffer{&out}, errBuffer{&err};
    ConsoleReport report;

    explicit Console(bool terminal, int columns = 60)
        : report(outBuffer, errBuffer, ConsoleMode{terminal}, [columns] { return columns; })
    {
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
    }
};

RunProgress twoRunning()
{
    return {{{"/in/a.avi", 30, 60}, {"/in/a very long name that does not fit the terminal.avi", 6, 60}}, 3, 0, 180, 36};
}

} // namespace

TEST(ConsoleReport, OnATerminalFinishedLinesStayAboveTheRedrawnBlock)
{
    Console console(true, 40);
    console.report.progress({{{"/in/a.avi", 0, 60}}, 3, 0, 180, 0}, 1000);
    console.report.progress(twoRunning(), 12000);
    console.report.item(ItemReport::converted("/in/c.avi", "/out/c.mp3"));
    console.report.progress(twoRunning(), 13000);

    EXPECT_EQ(screenAfter(QString::fromUtf8(console.out)).join(u'\n').toStdString(),
              "/in/c.avi -> /out/c.mp3\n"
              "  50%  a.avi\n"
              "  10%  a very long name that does no...\n"
              "  20%  total: 0 of 3 files done, 0:1...");
    for (const QString &line : screenAfter(QString::fromUtf8(console.out)))
        EXPECT_LE(line.size(), 39);

    console.report.summary({1, 0, 0, 0}, 14000, 0);
    EXPECT_EQ(screenAfter(QString::fromUtf8(console.out)).join(u'\n').toStdString(),
              "/in/c.avi -> /out/c.mp3\n1 converted in 0:14.");
}

// After Ctrl+C the total line counts what was converted, stopped and not started, as the
// window's status line does, while the files still running end; the summary follows it.
TEST(ConsoleReport, WhileStoppingTheTotalLineCountsTheConvertedStoppedAndNotStarted)
{
    Console console(true, 80);
    console.report.item(ItemReport::converted("/in/a.avi", "/out/a.mp3"));
    RunProgress stopping{{{"/in/b.avi", 30, 60}}, 4, 3, 240, 90};
    stopping.stopping = RunCounts{1, 0, 0, 2};
    console.report.progress(stopping, 5000);
    EXPECT_EQ(screenAfter(QString::fromUtf8(console.out)).join(u'\n').toStdString(),
              "/in/a.avi -> /out/a.mp3\n"
              "  50%  b.avi\n"
              "Stopped: 1 converted, 0 stopped, 2 not started.");

    console.report.summary({1, 0, 1, 2}, 6000, SIGINT);
    EXPECT_EQ(screenAfter(QString::fromUtf8(console.out)).join(u'\n').toStdString(), "/in/a.avi -> /out/a.mp3");
    EXPECT_EQ(QString::fromUtf8(console.err), "kelvane-convert: stopped by SIGINT: 1 converted, 1 stopped, 2 not started in 0:06.\n");
}

// Without a terminal (a pipe, a file, cron): no progress, one line per finished file; what was
// not converted goes to standard error with the file named, in every mode.
TEST(ConsoleReport, WithoutATerminalOneLinePerFinishedFile)
{
    Console console(false);
    console.report.progress(twoRunning(), 1000);
    console.report.item(ItemReport::converted("/in/c.avi", "/out/c.mp3"));
    console.report.item(ItemReport::notConverted("/in/d.avi", ItemOutcome::Failed, "it cannot be read as a video, or it lasts less than a second."));
    console.report.item(ItemReport::notConverted("/in/e.avi", ItemOutcome::Stopped));
    console.report.summary({1, 1, 1, 0}, 65000, 0);

    EXPECT_EQ(QString::fromUtf8(console.out), "/in/c.avi -> /out/c.mp3\n1 converted, 1 failed, 1 stopped in 1:05.\n");
    EXPECT_EQ(QString::fromUtf8(console.err),
              "kelvane-convert: /in/d.avi: it cannot be read as a video, or it lasts less than a second.\n"
              "kelvane-convert: /in/e.avi: stopped; nothing was written.\n");

    Console quiet(true);
    quiet.report.setFormat(false, true);
    quiet.report.progress(twoRunning(), 1000);
    quiet.report.item(ItemReport::converted("/in/c.avi", "/out/c.mp3"));
    quiet.report.summary({1, 0, 0, 0}, 1000, 0);
    EXPECT_EQ(quiet.out, QByteArray());
}

TEST(ConsoleReport, ClockTexts)
{
    EXPECT_EQ(ConsoleReport::clockText(0), "0:00");
    EXPECT_EQ(ConsoleReport::clockText(65), "1:05");
    EXPECT_EQ(ConsoleReport::clockText(3600 + 2 * 60 + 3), "1:02:03");
    EXPECT_EQ(ConsoleReport::clockText(100 * 3600), "100:00:00");
}

// A file whose sound ended before the end asked is converted, and both forms say it was short.
TEST(ConsoleReport, AFileConvertedShorterThanListedSaysSo)
{
    ItemReport short_ = ItemReport::converted("/in/cut.mp4", "/out/cut.mp3");
    short_.shortfall = TShortfall{14.49, 30};

    Console text(false);
    text.report.item(short_);
    EXPECT_EQ(QString::fromUtf8(text.out), "/in/cut.mp4 -> /out/cut.mp3 (converted, shorter than listed (14.5 s of 30 s))\n");

    Console json(false);
    json.report.setFormat(true, false);
    json.report.item(short_);
    const QJsonObject object = QJsonDocument::fromJson(json.out.trimmed()).object();
    EXPECT_EQ(object.value("status").toString(), "converted");
    EXPECT_EQ(object.value("note").toString(), "converted, shorter than listed (14.5 s of 30 s)");
    EXPECT_DOUBLE_EQ(object.value("sound_seconds").toDouble(), 14.49);
    EXPECT_DOUBLE_EQ(object.value("listed_seconds").toDouble(), 30);
}
