#include "settings/IniFile32.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Ini : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("UserSettings.ini"); }

    void writeBytes(const QByteArray &bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray bytes() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

} // namespace

TEST_F(Ini, FirstWriteCreatesTheFileAndNewKeysGoToTheEndOfTheLastSection)
{
    TIniFile32 ini(path());
    EXPECT_EQ(ini.ReadString("USRInfo", "OutDir", "dflt"), "dflt");
    ini.WriteString("USRInfo", "OutDir", "/media/Out");
    EXPECT_EQ(bytes(), "\r\n[USRInfo]\r\nOutDir=/media/Out\r\n");
    ini.WriteInteger("USRInfo", "Shutdown", 1);
    EXPECT_EQ(bytes(), "\r\n[USRInfo]\r\nOutDir=/media/Out\r\nShutdown=1\r\n");
    ini.WriteString("USRInfo", "OutDir", " /x ");
    EXPECT_EQ(bytes(), "\r\n[USRInfo]\r\nOutDir= /x \r\nShutdown=1\r\n");
    EXPECT_EQ(TIniFile32(path()).ReadString("USRInfo", "OutDir", ""), "/x");
}

// A file written in another code page: the lines a write does not touch keep their bytes.
TEST_F(Ini, LinesThatAreNoUtf8KeepTheirBytesThroughWrites)
{
    writeBytes("; Gr\xfc\xdf\x65\r\n[USRInfo]\r\nOutDir=C:\\M\xfcller\r\nInitDir=/old\r\n[\xc4nderung]\r\nx=1\r\n");
    TIniFile32 ini(path());
    ini.WriteString("USRInfo", "InitDir", "/new");
    ini.WriteString("Other", "k", "v");
    EXPECT_EQ(bytes(), "; Gr\xfc\xdf\x65\r\n[USRInfo]\r\nOutDir=C:\\M\xfcller\r\nInitDir=/new\r\n[\xc4nderung]\r\nx=1\r\n"
                       "\r\n[Other]\r\nk=v\r\n");
    ini.EraseSection("USRInfo");
    EXPECT_EQ(bytes(), "; Gr\xfc\xdf\x65\r\n\r\n[\xc4nderung]\r\nx=1\r\n\r\n[Other]\r\nk=v\r\n");
}

TEST_F(Ini, NewKeyIsInsertedDirectlyBeforeTheNextSection)
{
    writeBytes("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    TIniFile32 ini(path());
    ini.WriteString("A", "z", "3");
    EXPECT_EQ(bytes(), "[A]\r\nx=1\r\n\r\nz=3\r\n[B]\r\ny=2\r\n");
    ini.WriteString("C", "", "ignored");
    EXPECT_EQ(bytes(), "[A]\r\nx=1\r\n\r\nz=3\r\n[B]\r\ny=2\r\n\r\n[C]\r\n");
    ini.WriteString("A", "", "ignored");
    EXPECT_EQ(bytes(), "[A]\r\nx=1\r\n\r\nz=3\r\n[B]\r\ny=2\r\n\r\n[C]\r\n");
}

TEST_F(Ini, SectionsMatchIgnoringCaseKeysExactlyAndValuesAreTrimmed)
{
    writeBytes("top=1\n[usrinfo]\r\noutdir=/a\r  k = a=b \t\nempty=\n\n   \nnoequals\n[Other]\rOnly=here\r\n");
    const TIniFile32 ini(path());
    EXPECT_EQ(ini.ReadString("USRInfo", "OutDir", "d"), "d");
    EXPECT_EQ(ini.ReadString("USRInfo", "outdir", "d"), "/a");
    EXPECT_EQ(ini.ReadString("USRInfo", "k", "d"), "a=b");
    EXPECT_EQ(ini.ReadString("USRInfo", "empty", "d"), "d");
    EXPECT_EQ(ini.ReadString("USRInfo", "Only", "d"), "d");
    EXPECT_EQ(ini.ReadString("OTHER", "Only", "d"), "here");
    EXPECT_EQ(ini.ReadString("", "top", "d"), "d");
}

TEST_F(Ini, FirstKeyWinsAndAnEmptyValueStopsTheSearch)
{
    writeBytes("[S]\nk=\nk=2\n[S]\nj=3\n");
    const TIniFile32 ini(path());
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    EXPECT_EQ(ini.ReadString("S", "j", "d"), "d"); // only the first [S] is searched
}

TEST_F(Ini, NulEndsTheTextAndLineEndsMayMix)
{
    writeBytes(QByteArray("[S]\ra=1\nb=2\r\nc=3", 17) + QByteArray("\0d=4\r\n", 6));
    const TIniFile32 ini(path());
    EXPECT_EQ(ini.lines(), QStringList({"[S]", "a=1", "b=2", "c=3"}));
    EXPECT_EQ(ini.ReadString("S", "d", "none"), "none");
}

TEST_F(Ini, ReadIntegerTakesDecimalAndHexWithin32Bits)
{
    writeBytes("[N]\nhex=0x1F\nHEX=0X1f\ndollar=$1F\nneg=-7\nplus=+12\nbad=12abc\nempty=\nbig=2147483648\n"
               "min=-2147483648\nzerox=0x\nsign=--1\nspaced=1 2\nlonehex=$\n");
    const TIniFile32 ini(path());
    const struct {
        const char *key;
        int value;
    } cases[] = {{"hex", 31},     {"HEX", 31},        {"dollar", 31}, {"neg", -7},  {"plus", 12},
                 {"bad", 99},     {"empty", 99},      {"big", 99},    {"min", INT_MIN}, {"zerox", 99},
                 {"sign", 99},    {"spaced", 99},     {"lonehex", 99}, {"missing", 99}};
    for (const auto &c : cases)
        EXPECT_EQ(ini.ReadInteger("N", c.key, 99), c.value) << c.key;
}

TEST_F(Ini, EraseSectionRemovesItsLinesAndLeavesOneEmptyLineInItsPlace)
{
    writeBytes("[A]\nx=1\n");
    TIniFile32 untouched(path());
    untouched.EraseSection("Missing");
    EXPECT_EQ(bytes(), "[A]\nx=1\n"); // not rewritten

    QFile::remove(path());
    TIniFile32 ini(path());
    ini.WriteString("A", "x", "1");
    ini.WriteString("B", "y", "2");
    ini.WriteString("C", "z", "3");
    ini.EraseSection("b");
    EXPECT_EQ(bytes(), "\r\n[A]\r\nx=1\r\n\r\n\r\n[C]\r\nz=3\r\n");
    ini.EraseSection("C"); // the two empty lines before [C] stay, and one takes its place
    EXPECT_EQ(bytes(), "\r\n[A]\r\nx=1\r\n\r\n\r\n\r\n");
    EXPECT_EQ(TIniFile32(path()).ReadString("A", "x", ""), "1");

    QFile::remove(path());
    TIniFile32 two(path());
    two.WriteString("A", "x", "1");
    two.WriteString("B", "y", "2");
    two.EraseSection("B"); // erasing the last section leaves two empty lines at the end
    EXPECT_EQ(bytes(), "\r\n[A]\r\nx=1\r\n\r\n\r\n");

    writeBytes("[First]\nk=v\n[Second]\n");
    TIniFile32 first(path());
    first.EraseSection("First");
    EXPECT_EQ(bytes(), "[Second]\r\n");
}

TEST_F(Ini, ReadSectionsListsTrimmedNamesAndLookUpFindsThem)
{
    writeBytes("  [ Spaced ]  \nk=1\n[]\n[Dup]\n[Dup]\n   \n");
    TIniFile32 ini(path());
    QStringList sections = {"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList({"Spaced", "", "Dup", "Dup"}));
    EXPECT_EQ(ini.ReadString("Spaced", "k", "d"), "1");
    EXPECT_EQ(ini.ReadString(" spaced ", "k", "d"), "1");
    ini.WriteString("Spaced", "k", "2");   // in place: no second section
    EXPECT_EQ(bytes(), "  [ Spaced ]  \r\nk=2\r\n[]\r\n[Dup]\r\n[Dup]\r\n   \r\n");
    ini.EraseSection("Spaced");
    EXPECT_EQ(bytes(), "[]\r\n[Dup]\r\n[Dup]\r\n   \r\n");

    QStringList none = {"stale"};
    TIniFile32(dir.filePath("missing.ini")).ReadSections(none);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(Ini, WritesThatCannotBeSavedRaiseAClearErrorAndLeaveTheFileAlone)
{
    TIniFile32 missingFolder(dir.filePath("Config/UserSettings.ini"));
    try {
        missingFolder.WriteString("S", "k", "v");
        FAIL() << "no error";
    } catch (const IniFileError &e) {
        EXPECT_NE(QString(e.what()).indexOf("does not exist"), -1) << e.what();
    }
    EXPECT_EQ(missingFolder.ReadString("S", "k", ""), "v"); // the lines keep the change
    EXPECT_FALSE(QFile::exists(dir.filePath("Config")));

    TIniFile32 readOnlyFolder(QStringLiteral("/proc/Kelvane-UserSettings.ini")); // not writable even by root
    EXPECT_THROW(readOnlyFolder.WriteInteger("S", "k", 1), IniFileError);

    writeBytes("[S]\nk=old\n");
    QFile::setPermissions(path(), QFile::ReadOwner);
    TIniFile32 ini(path());
    ini.WriteString("S", "k", "new"); // replaced as a whole: a read-only file in a writable folder is renamed over
    EXPECT_EQ(bytes(), "[S]\r\nk=new\r\n");
}

TEST_F(Ini, AFileThatCannotBeReadRaisesAtCreation)
{
    QDir(dir.path()).mkdir("folder.ini");
    EXPECT_THROW(TIniFile32(dir.filePath("folder.ini")), IniFileError);
}
