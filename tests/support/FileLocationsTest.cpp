// Where the settings, the log and the script go: beside the program when its folder can be
// written, in the user's folders when it cannot.
#include "common/ReadOnlyFolder.h"
#include "support/FileLocations.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const QByteArray &value)
        : m_name(name), m_old(qgetenv(name)), m_wasSet(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentVariable() { m_wasSet ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_wasSet;
};

} // namespace

TEST(FileLocations, AWritableProgramFolderKeepsEverythingBesideTheProgram)
{
    QTemporaryDir program;
    const QString folder = program.path() + "/";
    const FileLocations locations = DecideFileLocations(folder, {"/nonexistent/config", "/nonexistent/state"});
    EXPECT_TRUE(locations.portable);
    EXPECT_EQ(locations.programFolder, folder);
    EXPECT_EQ(locations.configBase, folder);
    EXPECT_EQ(locations.stateFolder, folder);
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) << "the probe is gone";
}

TEST(FileLocations, AReadOnlyProgramFolderSendsSettingsAndStateToTheUserFolders)
{
    QTemporaryDir program, user;
    AsUnprivilegedUser::openToAll(user.path());
    const UserBaseFolders base{user.path() + "/config", user.path() + "/state"};
    FileLocations locations;
    {
        const ReadOnlyFolder readOnly(program.path());
        const AsUnprivilegedUser nobody;
        locations = DecideFileLocations(program.path(), base);
    }
    EXPECT_FALSE(locations.portable);
    EXPECT_EQ(locations.programFolder, program.path() + "/");
    EXPECT_EQ(locations.configBase, user.path() + "/config/Kelvane/");
    EXPECT_EQ(locations.stateFolder, user.path() + "/state/Kelvane/");
    // Missing folders are made, for their owner only: the log names the user's files.
    for (const QString &folder : {base.config, base.state, locations.configBase, locations.stateFolder}) {
        const QFileInfo info(folder);
        EXPECT_TRUE(info.isDir()) << folder.toStdString();
        EXPECT_EQ(info.permissions() & (QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther), 0)
            << folder.toStdString();
    }
    EXPECT_TRUE(QDir(program.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_EQ(FileLocationsLogLine(locations),
              "Settings are kept in " + user.path() + "/config/Kelvane/Config/, the log and the script in "
                  + user.path() + "/state/Kelvane/ (nothing is written to the program folder " + program.path() + "/)");
}

// Root may write into an installed program folder; its marker keeps the folder clean all the same.
TEST(FileLocations, AnInstalledProgramFolderIsNeverWrittenToEvenWhenItCouldBe)
{
    QTemporaryDir program, user;
    QFile marker(program.filePath(InstalledMarkerName));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    const FileLocations locations = DecideFileLocations(program.path(), {user.path() + "/config", user.path() + "/state"});
    EXPECT_FALSE(locations.portable);
    EXPECT_EQ(locations.stateFolder, user.path() + "/state/Kelvane/");
    EXPECT_EQ(QDir(program.path()).entryList(QDir::Files | QDir::Hidden), QStringList{InstalledMarkerName});
}

TEST(FileLocations, UserFoldersFollowTheEnvironmentWhereItIsAbsolute)
{
    struct Case {
        const char *what;
        QByteArray config, state;
        QString expectedConfig, expectedState;
    };
    const QString home = QDir::homePath();
    const Case cases[] = {
        {"set", "/xdg/config", "/xdg/state/", "/xdg/config", "/xdg/state"},
        {"empty", "", "", home + "/.config", home + "/.local/state"},
        {"relative, which is not valid", "config", "./state", home + "/.config", home + "/.local/state"},
    };
    for (const Case &c : cases) {
        const EnvironmentVariable config("XDG_CONFIG_HOME", c.config);
        const EnvironmentVariable state("XDG_STATE_HOME", c.state);
        const UserBaseFolders folders = UserBaseFolders::fromEnvironment();
        EXPECT_EQ(folders.config, c.expectedConfig) << c.what;
        EXPECT_EQ(folders.state, c.expectedState) << c.what;
    }
}
