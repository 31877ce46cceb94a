#include "engine/OutputTemporaries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allOf(std::string_view text, bool (*test)(char))
{
    for (const char c : text) {
        if (!test(c))
            return false;
    }
    return !text.empty();
}

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

// Calls `visit` with the name of every regular file in `folder` (not following links) and its
// modification time; stops early when the folder can't be read.
template <typename Visit>
void forEachFile(const QString &folder, Visit visit)
{
    const DirPtr dir(::opendir(QFile::encodeName(folder).constData()));
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir.get())) {
        struct stat info {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            visit(QByteArray(entry->d_name), std::chrono::system_clock::from_time_t(info.st_mtime));
    }
}

QString pathIn(const QString &folder, const QByteArray &name)
{
    return QDir(folder).filePath(QFile::decodeName(name));
}

bool removeIn(const QString &folder, const QByteArray &name)
{
    return ::unlink((QFile::encodeName(QDir(folder).path()) + '/' + name).constData()) == 0;
}

} // namespace

bool IsOutputTemporaryName(const QByteArray &fileName, pid_t pid, const QByteArray &outputName)
{
    std::string_view name(fileName.constData(), static_cast<size_t>(fileName.size()));
    const std::string_view suffix = OutputTemporarySuffix;
    const std::string_view marker = OutputTemporaryMarker;
    constexpr size_t randomPart = 6;
    if (!name.starts_with('.') || !name.ends_with(suffix))
        return false;
    name.remove_suffix(suffix.size());
    if (name.size() < randomPart + 1 || !allOf(name.substr(name.size() - randomPart), isLetterOrDigit))
        return false;
    name.remove_suffix(randomPart);
    if (!name.ends_with('-'))
        return false;
    name.remove_suffix(1);
    const size_t markerAt = name.rfind(marker);
    if (markerAt == std::string_view::npos || markerAt < 2) // "." and a name of at least one byte
        return false;
    const std::string_view digits = name.substr(markerAt + marker.size());
    if (!allOf(digits, isDigit))
        return false;
    if (pid != 0 && digits != std::to_string(pid))
        return false;
    const std::string_view stem = name.substr(1, markerAt - 1);
    return outputName.isEmpty() || std::string_view(outputName.constData(), static_cast<size_t>(outputName.size()))
                                       .starts_with(stem);
}

QStringList RemoveOutputTemporaries(const QString &outputPath, pid_t pid)
{
    const QFileInfo output(outputPath);
    const QString folder = output.absolutePath();
    const QByteArray outputName = QFile::encodeName(output.fileName());
    QStringList removed;
    forEachFile(folder, [&](const QByteArray &name, std::chrono::system_clock::time_point) {
        if (IsOutputTemporaryName(name, pid, outputName) && removeIn(folder, name))
            removed << pathIn(folder, name);
    });
    return removed;
}

TEndHandler RemoveTemporaryWhenFailed(const QString &outputPath)
{
    return [outputPath](pid_t pid, const TExitStatus &status) {
        if (!status.succeeded() && !outputPath.isEmpty())
            RemoveOutputTemporaries(outputPath, pid);
    };
}

QStringList RemoveStaleOutputTemporaries(const QString &folder, std::chrono::system_clock::time_point now,
                                         const std::function<void(const QString &)> &log)
{
    QStringList removed;
    forEachFile(folder, [&](const QByteArray &name, std::chrono::system_clock::time_point changed) {
        if (now - changed < StaleTemporaryAge || !IsOutputTemporaryName(name) || !removeIn(folder, name))
            return;
        removed << pathIn(folder, name);
        if (log)
            log(QStringLiteral("Removed an unfinished file that a stopped conversion left behind: ") + removed.last());
    });
    return removed;
}
