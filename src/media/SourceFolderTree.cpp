#include "media/SourceFolderTree.h"

#include "media/SourceFileTypes.h"
#include "support/NaturalOrder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include <dirent.h>

namespace {

// Whether the folder can be listed, by trying (a permission check may answer for another user).
bool canList(const QString &folder)
{
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    closedir(dir);
    return true;
}

class TreeWalk {
public:
    explicit TreeWalk(const std::atomic<bool> *stop) : m_stop(stop) {}

    void walk(const QString &folder)
    {
        if (stopAsked())
            return;
        const QString real = QFileInfo(folder).canonicalFilePath();
        if (real.isEmpty() || m_seen.contains(real))
            return;
        m_seen.insert(real);
        const QDir dir(folder);
        if (!canList(folder)) {
            m_result.unreadableFolders << folder;
            return;
        }
        QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
        QStringList folders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::NoSort);
        std::sort(files.begin(), files.end(), NaturallyBefore);
        std::sort(folders.begin(), folders.end(), NaturallyBefore);
        for (const QString &name : std::as_const(files)) {
            if (IsAcceptedSourceFile(name))
                m_result.videos << dir.filePath(name);
        }
        for (const QString &name : std::as_const(folders))
            walk(dir.filePath(name));
    }

    FolderTreeVideos result()
    {
        m_result.stopped = stopAsked();
        return std::move(m_result);
    }

private:
    bool stopAsked() const { return m_stop && m_stop->load(); }

    const std::atomic<bool> *m_stop;
    QSet<QString> m_seen;
    FolderTreeVideos m_result;
};

} // namespace

FolderTreeVideos VideoFilesInTree(const QString &folder, const std::atomic<bool> *stop)
{
    TreeWalk walk(stop);
    walk.walk(QDir::cleanPath(folder));
    return walk.result();
}

ExpandedPaths ExpandFolderTrees(const QStringList &paths, const std::atomic<bool> *stop)
{
    ExpandedPaths expanded;
    for (const QString &path : paths) {
        if (stop && stop->load()) {
            expanded.stopped = true;
            break;
        }
        if (!QFileInfo(path).isDir()) {
            expanded.paths << path;
            continue;
        }
        FolderTreeVideos tree = VideoFilesInTree(path, stop);
        if (tree.videos.isEmpty() && !tree.stopped)
            expanded.foldersWithoutVideo << path;
        expanded.paths << tree.videos;
        expanded.unreadableFolders << tree.unreadableFolders;
        expanded.stopped = expanded.stopped || tree.stopped;
    }
    return expanded;
}
