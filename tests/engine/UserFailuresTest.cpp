// What a user can do to a batch run, with the real encoder: sources that are no media, names no
// encoder may take for options, output folders that cannot take the file, a script file that
// cannot be written, a run ended at any moment. Each item fails with its reason in the one message, or
// converts; the user's files stay as they were and nothing unfinished is left behind.
#include "BatchFixtures.h"
#include "common/ProcessWatch.h"
#include "common/TinyVolume.h"

#include <QDir>
#include <QDirIterator>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace {

constexpr int GuardMs = 120000;   // only keeps a broken run from hanging the suite

// Ids of this process's children, alive or not yet reaped.
QList<pid_t> childProcesses()
{
    QList<pid_t> children;
    QDirIterator entries(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        QFile stat(entries.next() + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toInt() == ::getpid())
            children << entries.fileName().toInt();
    }
    return children;
}

// The bytes of a regular file (a pipe would block the reading).
QByteArray contentOf(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An output folder a run is given, and a part of the reason its item must fail with.
struct FolderCase {
    QString folder;
    QString reasonPart;
};

class UserFailuresTest : public ::testing::Test {
protected:
    BatchSetup s;
    TProgressRefresh progress;
    std::optional<TBatchRun> batch{std::in_place, s.custom.batchServices(), progress, s.shell, s.power};

    void SetUp() override
    {
        ASSERT_FALSE(builtEncoder().isEmpty()) << "the built encoder evc is missing from the program folder";
        for (const char *name : {"one_second.avi", "one_second.rm", "ten_minutes.wav", "video_only.avi", "corrupt.avi",
                                 "zero_bytes.avi"})
            ASSERT_FALSE(BatchMedia::path(QString::fromLatin1(name)).isEmpty()) << name << " could not be made";
    }
    bool runToEnd()
    {
        QSignalSpy finished(&*batch, &TBatchRun::runFinished);
        return batch->RunBatch(s.sources) && (!finished.isEmpty() || finished.wait(GuardMs));
    }
    // Adds a row for a path that is not a copy of a fixture.
    void addPathRow(const QString &path)
    {
        s.sources.appendItem(WholeFileItem(path, 1024, 1000));
    }
    void expectFolderFailures(std::initializer_list<FolderCase> cases);
    // One run over a copy of `fixture` under each of `names` (plus `extension`): every item
    // converts, each to an MP3 of its own name.
    void expectEveryNameConverts(const QString &fixture, const QString &extension, const QStringList &names);
    // The one failure of the last run, or a note that there was not exactly one.
    QString onlyReason() const
    {
        const QList<TFailedItem> &failures = batch->failures();
        return failures.size() == 1 ? failures[0].reason : QStringLiteral("%1 failures").arg(failures.size());
    }
};

} // namespace

// Sources that are no (sound) media fail with the encoder's reason; the message names each file
// and the files themselves are left as they were.
TEST_F(UserFailuresTest, SourcesWithoutSoundFailWithTheEncodersReason)
{
    const QString pipe = s.inputFolder + "pipe.avi";
    const QString folder = s.inputFolder + "folder.avi";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Case {
        QString path;
        QString reasonPart;
    };
    const Case cases[] = {
        {s.addRow("corrupt.avi", "random.avi"), "Cannot read input"},
        {s.addRow("zero_bytes.avi", "empty.avi"), "Cannot read input"},
        {s.addRow("video_only.avi", "silent.avi"), "has no audio stream"},
        {pipe, "is not a media file"},
        {folder, "is not a media file"},
    };
    addPathRow(pipe);
    addPathRow(folder);
    QMap<QString, QByteArray> before;
    for (const Case &c : cases)
        before[c.path] = contentOf(c.path);

    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(batch->failures().size(), std::size(cases));
    for (qsizetype i = 0; i < batch->failures().size(); ++i) {
        const TFailedItem &failure = batch->failures()[i];
        const Case &c = cases[i];
        EXPECT_EQ(failure.fileName, c.path);
        EXPECT_TRUE(failure.reason.contains(c.reasonPart)) << failure.reason.toStdString();
        EXPECT_EQ(contentOf(c.path), before[c.path]) << c.path.toStdString();
    }
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_EQ(s.boxes.shown[0].text, TBatchRun::FailureMessage(batch->failures()));
    EXPECT_TRUE(s.outputFiles().isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

// Nothing passes through a shell and no name is taken for an option; a name as long as a
// name may be still leaves room for the encoder's unfinished file.
TEST_F(UserFailuresTest, OddNamesConvert)
{
    s.outputFolder = s.tmp.path() + "/-o Ausgabe ä 日本/";
    s.custom.setOutputFolderText(s.outputFolder);
    const QString longName = QString(246, QLatin1Char('l'));
    const QStringList names{"-y", "-i", "Grüße 日本 ñ", "-", longName};
    expectEveryNameConverts("one_second.avi", ".avi", names);
}

// A RealMedia source reaches revc through the one-line script whatever its name holds: quotes,
// the script's own punctuation, blanks, $, backticks, parentheses, non-ASCII, a line break.
TEST_F(UserFailuresTest, RealMediaNamesConvertWhateverTheyHold)
{
    const QStringList names{"My \"best\" (clip)", "a\")", "b\", fps=1, convertfps=true)\r\n\"",
                            "$HOME `id` 'q' ; |&", "Grüße 日本 ñ", "line\nbreak", " lead and trail "};
    ASSERT_NO_FATAL_FAILURE(expectEveryNameConverts("one_second.rm", ".rm", names));
    const QStringList commands = s.logLines("parameter: ");
    ASSERT_EQ(commands.size(), names.size());
    for (const QString &command : commands)
        EXPECT_TRUE(command.startsWith("parameter: " + s.programFolder + "revc -y -i \"" + s.programFolder +
                                       "VideoFile.avs\"")) << command.toStdString();
}

// A relative output folder typed into the field is made where the program runs, and the
// encoder (which runs in the program folder) writes there; one starting with "-" is no option.
TEST_F(UserFailuresTest, RelativeOutputFoldersAreMadeAbsolute)
{
    const std::shared_ptr<void> back(nullptr, [folder = QDir::currentPath()](void *) { QDir::setCurrent(folder); });
    ASSERT_TRUE(QDir::setCurrent(s.tmp.path()));
    s.addRow("one_second.avi", "a.avi");
    for (const char *folder : {"-out", "rel/sub"}) {
        SCOPED_TRACE(folder);
        s.custom.setOutputFolderText(QString::fromLatin1(folder));
        ASSERT_TRUE(runToEnd());
        EXPECT_TRUE(batch->failures().isEmpty()) << onlyReason().toStdString();
        EXPECT_TRUE(QFileInfo(s.tmp.path() + "/" + folder + "/a.mp3").isFile());
    }
}

// A file of the output's name is never replaced: the new output takes the next free name.
TEST_F(UserFailuresTest, AnExistingOutputIsKeptAndTheNewOneNumbered)
{
    ASSERT_TRUE(QDir().mkpath(s.outputFolder));
    writeFile(s.output("clip"), "my own clip");
    s.addRow("one_second.avi", "clip.avi");

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch->failures().isEmpty()) << onlyReason().toStdString();
    EXPECT_EQ(contentOf(s.output("clip")), QByteArray("my own clip"));
    EXPECT_EQ(s.outputFiles(), (QStringList{"clip.mp3", "clip_1.mp3"}));
    EXPECT_GT(QFileInfo(s.output("clip_1")).size(), 0);
}

// An output folder that cannot be made, is read-only or fills up fails the item with a reason
// that says so; what was in the folder before is untouched and nothing unfinished is left.
void UserFailuresTest::expectEveryNameConverts(const QString &fixture, const QString &extension,
                                               const QStringList &names)
{
    for (const QString &name : names)
        s.addRow(fixture, name + extension);

    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(batch->failures().isEmpty()) << batch->failures().value(0).reason.toStdString();
    QStringList expected;
    for (const QString &name : names)
        expected << name + ".mp3";
    expected.sort();
    EXPECT_EQ(s.outputFiles().join(" | ").toStdString(), expected.join(" | ").toStdString());
}

void UserFailuresTest::expectFolderFailures(std::initializer_list<FolderCase> cases)
{
    s.addRow("ten_minutes.wav", "clip.wav", true, "00:01:00");
    for (const FolderCase &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        s.custom.setOutputFolderText(c.folder);
        const QStringList before = QDir(c.folder).entryList(QDir::Files | QDir::Hidden);
        const QByteArray mine = contentOf(c.folder + "clip.mp3");
        s.boxes.shown.clear();

        ASSERT_TRUE(runToEnd());
        EXPECT_TRUE(onlyReason().contains(c.reasonPart)) << onlyReason().toStdString();
        EXPECT_EQ(s.boxes.shown.size(), 1);
        EXPECT_EQ(QDir(c.folder).entryList(QDir::Files | QDir::Hidden), before);
        EXPECT_EQ(contentOf(c.folder + "clip.mp3"), mine);
    }
}

TEST_F(UserFailuresTest, OutputFoldersThatCannotBeMadeFailTheItem)
{
    writeFile(s.tmp.path() + "/plain file", "not a folder");
    expectFolderFailures({
        {"/proc/kelvane-output/", "Output folder does not exist: /proc/kelvane-output"},
        {s.tmp.path() + "/plain file/sub/", "Output folder does not exist: " + s.tmp.path() + "/plain file/sub"},
    });
}

TEST_F(UserFailuresTest, ReadOnlyAndFullOutputFoldersFailTheItem)
{
    const auto keepMine = [](const QString &folder) { writeFile(folder + "clip.mp3", "mine"); };
    TinyVolume readOnly("64k", true, keepMine);
    TinyVolume full("64k", false, keepMine);
    if (!readOnly.mounted || !full.mounted)
        GTEST_SKIP() << "runs only as root (it mounts two small filesystems); the encoder's own tests cover a full disk";
    expectFolderFailures({
        {readOnly.dir.path() + "/", "Output folder is not writable"},
        {full.dir.path() + "/", "No space left on device"},
    });
}

// The encoder missing from the program folder is named as such for every item.
TEST_F(UserFailuresTest, AMissingEncoderIsNamed)
{
    ASSERT_TRUE(QFile::remove(s.programFolder + "evc"));
    const QString row = s.addRow("one_second.avi", "a.avi");

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(onlyReason(), "The encoder \"" + s.programFolder + "evc\" is missing. Please install the program again.");
    ASSERT_EQ(s.boxes.shown.size(), 1);
    EXPECT_TRUE(s.boxes.shown[0].text.contains(row));
}

// Stopped as the next item comes up: the first item's output stays, the next never starts.
TEST_F(UserFailuresTest, StopBetweenItemsKeepsWhatWasConverted)
{
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi");
    QObject::connect(&*batch, &TBatchRun::itemStarting, [&](int row) {
        if (row == 1)
            batch->Stop();
    });

    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(s.outputFiles(), QStringList{"a.mp3"});
    EXPECT_TRUE(batch->failures().isEmpty());
    EXPECT_EQ(s.logLines("Conversion stopped: "), QStringList{"Conversion stopped: " + s.inputFolder + "b.avi"});
}

// Closing the main window mid-item destroys the run: its encoder is ended, given the time to
// remove its unfinished file, and reaped.
TEST_F(UserFailuresTest, EndingTheProgramMidItemLeavesNoFileAndNoProcess)
{
    const QString source = s.addRow("ten_minutes.wav", "long.wav", true, "00:10:00");
    QSignalSpy output(&*batch, &TBatchRun::encoderOutput);
    ASSERT_TRUE(batch->RunBatch(s.sources));
    ASSERT_TRUE(output.wait(GuardMs));
    ASSERT_EQ(childProcesses().size(), 1);
    ASSERT_EQ(ProcessesWritingInto(s.outputFolder).size(), 1);   // the encoder's unfinished (unnamed) file

    batch.reset();
    EXPECT_TRUE(childProcesses().isEmpty());
    EXPECT_TRUE(s.outputFiles().isEmpty()) << s.outputFiles().join(' ').toStdString();
    EXPECT_EQ(contentOf(source), contentOf(BatchMedia::path("ten_minutes.wav")));
}

// The script file in the program folder cannot be written (a folder holds its name): each item
// fails saying so, and the run goes on to the next.
TEST_F(UserFailuresTest, AnUnwritableScriptFileFailsEachItemWithItsName)
{
    ASSERT_TRUE(QDir().mkpath(s.programFolder + "VideoFile.avs"));
    s.addRow("one_second.avi", "a.avi");
    s.addRow("one_second.avi", "b.avi");

    ASSERT_TRUE(runToEnd());
    ASSERT_EQ(batch->failures().size(), 2);
    for (const TFailedItem &failure : batch->failures())
        EXPECT_TRUE(failure.reason.contains("VideoFile.avs")) << failure.reason.toStdString();
    EXPECT_TRUE(s.outputFiles().isEmpty());
}
