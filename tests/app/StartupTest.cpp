// The start-up as a whole: the companion check, the title from the executable's version, the
// splash, the show sequence, the user settings and the end of the program. Each case runs
// against a copy of the built program folder, so that files can be removed and settings written.
#include "support/EscapedFailure.h"
#include "app/Startup.h"
#include "app/widgets/AppWindows.h"
#include "app/widgets/FlashForm.h"
#include "app/widgets/MainForm.h"
#include "skin/widgets/PictureButton.h"
#include "common/Fakes.h"
#include "common/ReadOnlyFolder.h"
#include "common/TestPaths.h"
#include "engine/widgets/ConvertingForm.h"
#include "settings/widgets/OptionForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString NotFoundForm = QStringLiteral("'libForm.so' is not found. Please reinstall this program.");
const QString NotFoundRes = QStringLiteral("'libRes.so' is not found. Please reinstall this program.");
constexpr int StartupWait = 20000;   // generous: the splash alone stays two seconds

// A copy of the built program folder without the files named in `missing`.
class ProgramCopy {
public:
    explicit ProgramCopy(const QStringList &missing = {})
    {
        for (const QString name : {"kelvane", "libForm.so", "libRes.so"}) {
            if (!missing.contains(name))
                QFile::copy(builtProgramFolder() + name, m_dir.filePath(name));
        }
    }
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString exe() const { return m_dir.filePath("kelvane"); }
    QString settingsFile() const { return m_dir.filePath("Config/UserSettings.ini"); }

private:
    QTemporaryDir m_dir;
};

struct Desktop {
    FakeMessageBoxes boxes;
    FakeShellLauncher shell;
    FakePowerControl power;
    FakeFolderBrowser folders;
    FixedClock clock;
    DesktopServices services() { return {boxes, shell, power, folders, clock}; }
};

TEST(RunStartup, TitleComesFromTheProductLibraryAndTheExecutableVersion)
{
    const ProgramCopy program;
    FakeMessageBoxes boxes;
    const StartupResult result = RunStartup(program.folder(), program.exe(), boxes);
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_FALSE(result.quitRequested);
    EXPECT_EQ(result.title, QStringLiteral("Kelvane 1.0"));
    EXPECT_EQ(result.info.ProgramFolder, program.folder());
}

TEST(RunStartup, EveryMissingCompanionIsReportedInOrderAndEndsTheProgram)
{
    struct Case {
        QStringList missing;
        QStringList messages;
    };
    const Case cases[] = {
        {{"libForm.so"}, {NotFoundForm}},
        {{"libRes.so"}, {NotFoundRes}},
        {{"libRes.so", "libForm.so"}, {NotFoundForm, NotFoundRes}},
    };
    for (const Case &c : cases) {
        const ProgramCopy program(c.missing);
        FakeMessageBoxes boxes;
        const StartupResult result = RunStartup(program.folder(), program.exe(), boxes);
        EXPECT_TRUE(result.quitRequested);
        EXPECT_EQ(boxes.texts(), c.messages) << c.missing.join(' ').toStdString();
        for (const ShownMessage &shown : boxes.shown) {
            EXPECT_EQ(shown.icon, MessageIcon::Information);
            EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        }
    }
}

TEST(Splash, StaysTwoTicksAndUntilTheStartupHasRun)
{
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    int startupRuns = 0;
    auto *splash = new TFrmFlashForm(picture, [&] { ++startupRuns; });
    QPointer<TFrmFlashForm> alive(splash);
    EXPECT_EQ(splash->size(), QSize(120, 80));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    QSignalSpy finished(splash, &TFrmFlashForm::finished);
    int ticksAtFinish = -1;
    QObject::connect(splash, &TFrmFlashForm::finished, [&] { ticksAtFinish = splash->tickCount(); });
    splash->show();
    EXPECT_EQ(startupRuns, 0);   // the work starts from the splash's first timer
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(startupRuns, 1);
    EXPECT_GE(ticksAtFinish, 2);
    EXPECT_FALSE(splash->isVisible());
    QSignalSpy freed(splash, &QObject::destroyed);
    EXPECT_TRUE(alive.isNull() || freed.wait(5000));   // freed once closed
}

class AppWindowsTest : public ::testing::Test {
protected:
    Desktop desktop;
    std::unique_ptr<ProgramCopy> program;
    std::unique_ptr<AppWindows> windows;

    void create(const QStringList &missing = {})
    {
        program = std::make_unique<ProgramCopy>(missing);
        windows = std::make_unique<AppWindows>(program->folder(), program->exe(), desktop.services());
    }
    void startAndWaitForMainWindow()
    {
        QSignalSpy shown(windows.get(), &AppWindows::mainWindowShown);
        windows->start();
        ASSERT_NE(windows->flashForm(), nullptr);
        EXPECT_FALSE(windows->mainForm().isVisible());   // the splash comes first
        ASSERT_TRUE(shown.wait(StartupWait));
        EXPECT_TRUE(splashGone());
    }
    bool splashGone() const { return !windows->flashForm() || !windows->flashForm()->isVisible(); }
    QByteArray settingsBytes() const
    {
        QFile file(program->settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int closeMainWindow()
    {
        QSignalSpy ended(windows.get(), &AppWindows::ended);
        windows->mainForm().btnWindowClose()->click();
        return ended.count() == 1 ? ended.at(0).at(0).toInt() : -1;
    }
};

TEST_F(AppWindowsTest, FirstRunShowsTheFinishedWindowAndSavesTheSettingsAtClose)
{
    create();
    EXPECT_FALSE(windows->convertingForm().isVisible());
    EXPECT_FALSE(windows->optionForm().isVisible());
    EXPECT_EQ(windows->services(), nullptr);   // nothing runs before the splash
    startAndWaitForMainWindow();
    TFrmMainForm &form = windows->mainForm();
    EXPECT_TRUE(desktop.boxes.shown.isEmpty());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kelvane 1.0"));
    EXPECT_EQ(form.lblTitle()->text(), QStringLiteral("Kelvane 1.0"));
    EXPECT_TRUE(form.acceptDrops());
    // Selectors filled, the profile applied, the user settings loaded (first run: both unchecked).
    EXPECT_EQ(form.cbbOutputFiletype()->count(), 7);
    EXPECT_EQ(form.cbbOutputFiletype()->currentText(), QStringLiteral("AMR Audio Files (*.amr)"));
    EXPECT_EQ(form.cbbProfile()->currentText(), QStringLiteral("Normal Quality"));
    EXPECT_EQ(windows->optionForm().cbbAudioChannels()->currentText(), QStringLiteral("2 channels, Stereo"));
    EXPECT_EQ(windows->optionForm().cbbAudioSample()->currentText(), QStringLiteral("44100"));
    EXPECT_FALSE(form.chkShowOutputDirectory()->isChecked());
    EXPECT_FALSE(form.chkShutdown()->isChecked());
    EXPECT_EQ(form.edtOutputFolder()->text(), QDir::homePath() + "/Kelvane");
    EXPECT_EQ(windows->services()->customProc.outputFolderText(), QDir::homePath() + "/Kelvane");

    // The user's pick of OGG re-applies the profile and disables the quality and Options.
    QTest::keyClick(form.cbbOutputFiletype(), Qt::Key_End);
    form.cbbOutputFiletype()->setCurrentIndex(4);
    QTest::keyClick(form.cbbOutputFiletype(), Qt::Key_Down);
    EXPECT_EQ(form.cbbOutputFiletype()->currentText(), QStringLiteral("OGG Audio Files (*.ogg)"));
    EXPECT_FALSE(form.cbbProfile()->isEnabled());
    EXPECT_FALSE(form.btnOptions()->isEnabled());
    EXPECT_EQ(windows->optionForm().cbbAudioChannels()->currentText(), QStringLiteral("1 channel, Mono"));

    // Options opens without blocking, also with its button disabled.
    form.performCommand(MainCommand::Options);
    EXPECT_TRUE(windows->optionForm().isVisible());
    EXPECT_FALSE(windows->optionForm().isModal());

    // Ctrl+B's command picks a new output folder; the conversion sees it too.
    QTemporaryDir out;
    desktop.folders.answers.push_back(out.path());
    form.performCommand(MainCommand::SelectOutputFolder);
    EXPECT_EQ(form.edtOutputFolder()->text(), out.path());
    EXPECT_EQ(windows->services()->customProc.outputFolderText(), out.path());

    EXPECT_EQ(closeMainWindow(), 0);   // also while Options is open
    EXPECT_EQ(settingsBytes(), "\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=0\r\nOutDir=" + out.path().toUtf8() + "\r\n");
    EXPECT_TRUE(desktop.boxes.shown.isEmpty());
}

TEST_F(AppWindowsTest, StoredSettingsAreShownAndAnUnwritableFileIsReportedAtExit)
{
    create();
    QDir().mkpath(program->folder() + "Config");
    QFile stored(program->settingsFile());
    ASSERT_TRUE(stored.open(QIODevice::WriteOnly));
    stored.write("[USRInfo]\r\nSHWDDir=1\r\nSHUTDOWN=yes\r\nOutDir=\r\n");
    stored.close();

    startAndWaitForMainWindow();
    TFrmMainForm &form = windows->mainForm();
    EXPECT_TRUE(form.chkShowOutputDirectory()->isChecked());
    EXPECT_FALSE(form.chkShutdown()->isChecked());
    EXPECT_EQ(form.edtOutputFolder()->text(), QDir::homePath() + "/Kelvane");

    // Config becomes a file: the settings cannot be written, the user is told, the program ends.
    ASSERT_TRUE(QDir(program->folder() + "Config").removeRecursively());
    QFile blocker(program->folder() + "Config");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(closeMainWindow(), 0);
    ASSERT_EQ(desktop.boxes.shown.size(), 1);
    EXPECT_TRUE(desktop.boxes.shown[0].text.startsWith(QStringLiteral("Your settings could not be saved.")));
    EXPECT_EQ(desktop.boxes.shown[0].icon, MessageIcon::Warning);
}

// Installed for all users, the program folder cannot be written: the program still starts, and
// its settings and log are kept in the user's folders, as the first log line says.
TEST_F(AppWindowsTest, AReadOnlyProgramFolderKeepsSettingsAndLogInTheUsersFolders)
{
    program = std::make_unique<ProgramCopy>();
    QTemporaryDir user;
    AsUnprivilegedUser::openToAll(user.path());
    const QStringList installed = QDir(program->folder()).entryList(QDir::AllEntries | QDir::Hidden);
    FileLocations locations;
    {
        const ReadOnlyFolder readOnly(program->folder());
        const AsUnprivilegedUser nobody;
        locations = DecideFileLocations(program->folder(), {user.path() + "/config", user.path() + "/state"});
    }
    ASSERT_FALSE(locations.portable);
    windows = std::make_unique<AppWindows>(locations, program->exe(), desktop.services());
    startAndWaitForMainWindow();
    windows->mainForm().chkShutdown()->setChecked(true);
    EXPECT_EQ(closeMainWindow(), 0);
    EXPECT_TRUE(desktop.boxes.shown.isEmpty());

    QFile settings(user.path() + "/config/Kelvane/Config/UserSettings.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("SHUTDOWN=1\r\n"));
    QFile log(user.path() + "/state/Kelvane/log.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("|" + FileLocationsLogLine(locations).toUtf8() + "\r\n"));
    EXPECT_EQ(QDir(program->folder()).entryList(QDir::AllEntries | QDir::Hidden), installed);
}

// "Open with Kelvane": the files named on the command line are in the list once the window shows;
// others are passed over as when they are dropped.
TEST_F(AppWindowsTest, FilesFromTheCommandLineAreAddedWhenTheMainWindowShows)
{
    create();
    QTemporaryDir media;
    const QString video = media.filePath("holiday clip.mkv");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-f", "lavfi", "-i",
                            "sine=sample_rate=8000", "-t", "2", "-c:v", "mpeg4", "-c:a", "aac", video});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000));
    ASSERT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().constData();
    windows->setStartupFiles({video, media.filePath("notes.txt")});

    QSignalSpy added(&windows->sources(), &QAbstractItemModel::rowsInserted);
    startAndWaitForMainWindow();
    ASSERT_TRUE(added.count() > 0 || added.wait(StartupWait));
    ASSERT_EQ(windows->sources().rowCount(), 1);
    EXPECT_EQ(windows->sources().index(0, 1).data().toString(), video);
    EXPECT_EQ(windows->sources().index(0, 3).data().toString(), "00:00:02");
}

TEST_F(AppWindowsTest, MissingFormLibraryIsReportedAndTheProgramEndsAfterTheSplash)
{
    create({"libForm.so"});
    QSignalSpy ended(windows.get(), &AppWindows::ended);
    QSignalSpy shown(windows.get(), &AppWindows::mainWindowShown);
    windows->start();
    ASSERT_NE(windows->flashForm(), nullptr);
    ASSERT_TRUE(ended.wait(StartupWait));
    EXPECT_EQ(ended.at(0).at(0).toInt(), 1);
    EXPECT_EQ(desktop.boxes.texts(), QStringList{NotFoundForm});
    EXPECT_EQ(shown.count(), 0);
    EXPECT_FALSE(windows->mainForm().isVisible());
    EXPECT_TRUE(splashGone());
}

TEST_F(AppWindowsTest, MissingResourceLibraryIsReportedBeforeAnythingElse)
{
    create({"libRes.so"});
    QSignalSpy ended(windows.get(), &AppWindows::ended);
    windows->start();
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), 1);
    EXPECT_EQ(desktop.boxes.texts(), QStringList{NotFoundRes});
    EXPECT_EQ(windows->flashForm(), nullptr);
    EXPECT_EQ(windows->services(), nullptr);
}

TEST(EscapedFailure, IsShownAndTheProgramGoesOn)
{
    FakeMessageBoxes boxes;
    EXPECT_TRUE(DeliverReportingFailures([] { return true; }, boxes));
    EXPECT_TRUE(boxes.shown.isEmpty());
    EXPECT_FALSE(DeliverReportingFailures([]() -> bool { throw std::runtime_error("Cannot write the log"); }, boxes));
    EXPECT_FALSE(DeliverReportingFailures([]() -> bool { throw 42; }, boxes));
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Cannot write the log"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Error);
    EXPECT_FALSE(boxes.shown[1].text.isEmpty());
}

} // namespace
