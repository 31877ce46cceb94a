#include "settings/UserSettings.h"

#include "settings/IniFile32.h"
#include "support/FileFunc.h"
#include "support/Platform.h"

#include <QDir>

namespace {

const QString Section = QStringLiteral("USRInfo");
const QString KeyInitDir = QStringLiteral("InitDir");
const QString KeyShowOutputDir = QStringLiteral("SHWDDir");
const QString KeyShutdown = QStringLiteral("SHUTDOWN");
const QString KeyOutDir = QStringLiteral("OutDir");
const QString KeyFilesAtOnce = QStringLiteral("FilesAtOnce");
const QString KeyLoudness = QStringLiteral("Loudness");
const QString KeyKeepOriginal = QStringLiteral("KeepOriginal");

QString checkText(bool checked) { return checked ? QStringLiteral("1") : QStringLiteral("0"); }

bool isChecked(const QString &stored) { return stored == QLatin1String("1"); }

QString readOr(const TIniFile32 &ini, const QString &key, const QString &fallback)
{
    const QString value = ini.ReadString(Section, key, fallback);
    return value.isEmpty() ? fallback : value;
}

} // namespace

int FilesAtOnceFrom(const QString &stored, int cores)
{
    bool ok = false;
    const int count = stored.toInt(&ok, 10);
    return ok && count >= 1 && count <= cores ? count : 1;
}

QString DefaultInitialFolder() { return Platform::withTrailingSeparator(QDir::homePath()); }

TUserSettings::TUserSettings(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString TUserSettings::fileName() const
{
    return m_programFolder + QStringLiteral("Config") + QChar(Platform::PathSeparator) + QStringLiteral("UserSettings.ini");
}

bool TUserSettings::ensureConfigFolder() const
{
    return QDir().mkpath(m_programFolder + QStringLiteral("Config"));
}

void TUserSettings::LoadUserSettings(UserSettingsState &state) const
{
    try {
        const TIniFile32 ini(fileName());
        state.showOutputDirectory = isChecked(ini.ReadString(Section, KeyShowOutputDir, QStringLiteral("0")));
        state.shutdown = isChecked(ini.ReadString(Section, KeyShutdown, QStringLiteral("0")));
        state.outputFolder = readOr(ini, KeyOutDir, state.outputFolder);
        state.keepOriginal = isChecked(ini.ReadString(Section, KeyKeepOriginal, QStringLiteral("0")));
    } catch (const IniFileError &) {
        // An unreadable file is left alone; the window keeps what it shows.
    }
}

std::optional<QString> TUserSettings::SaveUserSettings(const UserSettingsState &state) const
{
    ensureConfigFolder();
    try {
        // One save for the three values: a failure leaves the file as it was, never half written.
        TIniFile32 ini(fileName());
        ini.SetString(Section, KeyShowOutputDir, checkText(state.showOutputDirectory));
        ini.SetString(Section, KeyShutdown, checkText(state.shutdown));
        ini.SetString(Section, KeyOutDir, state.outputFolder);
        ini.UpdateFile();
    } catch (const IniFileError &error) {
        return QString::fromStdString(error.what());
    }
    return std::nullopt;
}

bool TUserSettings::SaveKeepOriginal(bool keep) const
{
    ensureConfigFolder();
    try {
        TIniFile32 ini(fileName());
        ini.WriteString(Section, KeyKeepOriginal, checkText(keep));
    } catch (const IniFileError &) {
        return false;
    }
    return true;
}

QString TUserSettings::LoadInitialFolder() const
{
    try {
        return readOr(TIniFile32(fileName()), KeyInitDir, DefaultInitialFolder());
    } catch (const IniFileError &) {
        return DefaultInitialFolder();
    }
}

bool TUserSettings::SaveInitialFolder(const QString &firstPickedFile) const
{
    const QString folder = TFileFunc::FileFolder(firstPickedFile);
    if (folder.isEmpty())
        return true;
    ensureConfigFolder();
    try {
        TIniFile32 ini(fileName());
        ini.WriteString(Section, KeyInitDir, folder);
    } catch (const IniFileError &) {
        return false;
    }
    return true;
}

int TUserSettings::LoadFilesAtOnce(int cores) const
{
    try {
        return FilesAtOnceFrom(TIniFile32(fileName()).ReadString(Section, KeyFilesAtOnce, QString()), cores);
    } catch (const IniFileError &) {
        return 1;
    }
}

bool TUserSettings::SaveFilesAtOnce(int count) const
{
    ensureConfigFolder();
    try {
        TIniFile32 ini(fileName());
        ini.WriteString(Section, KeyFilesAtOnce, QString::number(count));
    } catch (const IniFileError &) {
        return false;
    }
    return true;
}

LoudnessTarget TUserSettings::LoadLoudness() const
{
    try {
        return ParseLoudnessLufs(TIniFile32(fileName()).ReadString(Section, KeyLoudness, QString()));
    } catch (const IniFileError &) {
        return std::nullopt;
    }
}

std::optional<QString> TUserSettings::SaveLoudness(LoudnessTarget target) const
{
    ensureConfigFolder();
    try {
        TIniFile32 ini(fileName());
        ini.WriteString(Section, KeyLoudness, target ? QString::number(*target) : QString());
    } catch (const IniFileError &error) {
        return QString::fromStdString(error.what());
    }
    return std::nullopt;
}
