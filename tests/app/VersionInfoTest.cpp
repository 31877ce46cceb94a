// The file version is read back from the executable file itself.
#include "app/VersionInfo.h"
#include "app/VersionSection.h"
#include "common/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A copy of a small real ELF file (libRes.so) carrying `section` as the version section.
QString stampedFixture(const QTemporaryDir &dir, const QString &name, const QByteArray &section)
{
    const QString objcopy = QStandardPaths::findExecutable(QStringLiteral("objcopy"));
    const QString payload = dir.filePath(name + QStringLiteral(".payload"));
    const QString target = dir.filePath(name);
    if (objcopy.isEmpty() || !writeFile(payload, section))
        return {};
    QProcess process;
    process.start(objcopy, {QStringLiteral("--add-section"),
                            QStringLiteral(KELVANE_VERSION_SECTION "=") + payload,
                            builtProgramFolder() + QStringLiteral("libRes.so"), target});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return {};
    return target;
}

} // namespace

TEST(ReadVersionText, TakesMajorAndMinorOfTheStoredVersion)
{
    struct Case {
        QByteArray section;
        QString expected;
    };
    const Case cases[] = {
        {KELVANE_VERSION_MARKER "2.1.0.15", QStringLiteral("2.1")},
        {QByteArray(KELVANE_VERSION_MARKER "3.0") + '\0', QStringLiteral("3.0")},
        {KELVANE_VERSION_MARKER "2..5", QStringLiteral("2.5")},
        {KELVANE_VERSION_MARKER ".4.", QStringLiteral("4")},
        {KELVANE_VERSION_MARKER "7", QStringLiteral("7")},
        {KELVANE_VERSION_MARKER "", QString()},
        {"SOMETHING-ELSE:2.1.0.15", QString()},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    int index = 0;
    for (const Case &c : cases) {
        const QString fixture = stampedFixture(dir, QStringLiteral("fixture%1").arg(index++), c.section);
        ASSERT_FALSE(fixture.isEmpty()) << "objcopy could not build the fixture " << c.section.constData();
        EXPECT_EQ(ReadVersionText(fixture), c.expected) << c.section.constData();
    }
}

TEST(ReadVersionText, ReadsTheBuiltExecutable)
{
    EXPECT_EQ(ReadVersionText(builtProgramFolder() + QStringLiteral("kelvane")), QStringLiteral("1.0"));
}

TEST(ReadVersionText, FilesWithoutAVersionGiveTheEmptyText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile executable(builtProgramFolder() + QStringLiteral("kelvane"));
    ASSERT_TRUE(executable.open(QIODevice::ReadOnly));
    const QByteArray start = executable.read(4096);
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("truncated")), start));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("text.txt")), "2.1.0.15\n"));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("empty")), QByteArray()));

    EXPECT_EQ(ReadVersionText(builtProgramFolder() + QStringLiteral("libRes.so")), QString()); // ELF, no section
    EXPECT_EQ(ReadVersionText(dir.filePath(QStringLiteral("truncated"))), QString());
    EXPECT_EQ(ReadVersionText(dir.filePath(QStringLiteral("text.txt"))), QString());
    EXPECT_EQ(ReadVersionText(dir.filePath(QStringLiteral("empty"))), QString());
    EXPECT_EQ(ReadVersionText(dir.filePath(QStringLiteral("absent"))), QString());
}
