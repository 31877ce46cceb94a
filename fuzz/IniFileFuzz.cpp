// The INI store and the user settings reading arbitrary bytes; then one write, which must be
// read back as written and leave every other line as it was.
#include "FuzzSupport.h"

#include "settings/IniFile32.h"
#include "settings/UserSettings.h"
#include "support/StrFunc.h"

#include <QDir>
#include <QFile>

namespace {

// The file's lines as bytes: ended by CR, LF or CR LF, the text ended by a NUL.
QList<QByteArray> rawLines(QByteArray bytes)
{
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes.truncate(nul);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines << bytes.mid(start, i - start);
        i += bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

bool holdsLineEnd(const QString &text) { return text.contains(u'\r') || text.contains(u'\n'); }

// A key that the store can find again after writing it: no "=" or line end inside, nothing it
// trims away at its ends.
bool isPlainKey(const QString &key)
{
    return !key.isEmpty() && !key.contains(u'=') && !holdsLineEnd(key) && TrimControls(key) == key;
}

// The last key of the file that WriteString can take as it stands, or a usual one.
QString keyToWrite(const QStringList &lines)
{
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const qsizetype eq = line->indexOf(u'=');
        const QString key = eq < 0 ? QString() : TrimControls(line->left(eq));
        if (isPlainKey(key))
            return key;
    }
    return QStringLiteral("OutDir");
}

void readEverything(const TIniFile32 &ini)
{
    QStringList sections;
    ini.ReadSections(sections);
    for (const QString &section : sections) {
        for (const QString &line : ini.lines()) {
            const QString key = TrimControls(line.section(u'=', 0, 0));
            const QString value = ini.ReadString(section, key, QStringLiteral("default"));
            FUZZ_EXPECT(!value.isEmpty());
            FUZZ_EXPECT(!holdsLineEnd(value));
            ini.ReadInteger(section, key, -1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool madeConfig = QDir().mkpath(scratchFolder() + QStringLiteral("Config"));
    FUZZ_EXPECT(madeConfig);
    const QString path = scratchFolder() + QStringLiteral("Config/UserSettings.ini");
    writeBytes(path, data, size);

    TIniFile32 ini(path);
    if (ini.lines().size() <= 64)   // every section against every line: keep it quick
        readEverything(ini);

    const TUserSettings settings(scratchFolder());
    UserSettingsState state;
    settings.LoadUserSettings(state);
    settings.LoadInitialFolder();

    QStringList sections;
    ini.ReadSections(sections);
    const QString section = sections.value(0, QStringLiteral("USRInfo"));
    const QString key = keyToWrite(ini.lines());
    const QString value = QStringLiteral(" C:/Out = [x]y ");
    const QList<QByteArray> before = rawLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    ini.WriteString(section, key, value);
    FUZZ_EXPECT(ini.ReadString(section, key, QString()) == TrimControls(value));

    // The bytes of the lines other than the one written (or the new section's) stay as they
    // were: either one line was replaced, or lines were inserted and the old ones follow in order.
    QFile saved(path);
    FUZZ_EXPECT(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> after = rawLines(saved.readAll());
    qsizetype kept = 0;
    if (after.size() == before.size()) {
        for (qsizetype i = 0; i < before.size(); ++i)
            kept += before[i] == after[i];
        FUZZ_EXPECT(kept >= before.size() - 1);
    } else {
        FUZZ_EXPECT(after.size() > before.size() && after.size() <= before.size() + 3);
        for (qsizetype j = 0; j < after.size() && kept < before.size(); ++j)
            kept += before[kept] == after[j];
        FUZZ_EXPECT(kept == before.size());
    }

    // What was saved is what a new instance reads.
    FUZZ_EXPECT(TIniFile32(path).lines() == ini.lines());
    return 0;
}
