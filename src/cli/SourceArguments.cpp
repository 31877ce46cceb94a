#include "cli/SourceArguments.h"

#include "media/SourceFileTypes.h"
#include "media/SourceFolderTree.h"
#include "support/FileFunc.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString typesText()
{
    return AcceptedSourceExtensions().join(u' ');
}

} // namespace

SourceList CollectSources(const QStringList &arguments, const QString &workingFolder)
{
    SourceList list;
    QStringList paths;
    const QDir base(workingFolder);
    for (const QString &argument : arguments) {
        const QString path = QDir::cleanPath(base.absoluteFilePath(argument));
        const QFileInfo info(path);
        if (info.isDir()) {
            const FolderTreeVideos tree = VideoFilesInTree(path);
            for (const QString &folder : tree.unreadableFolders)
                list.rejected << RejectedSource{folder, QStringLiteral("this folder cannot be read.")};
            if (tree.videos.isEmpty() && tree.unreadableFolders.isEmpty())
                list.rejected << RejectedSource{argument, QStringLiteral("this folder holds no video files (%1).").arg(typesText())};
            paths << tree.videos;
        } else if (!info.exists() && !info.isSymLink()) {
            list.rejected << RejectedSource{argument, QStringLiteral("no such file.")};
        } else if (!IsAcceptedSourceFile(path)) {
            list.rejected << RejectedSource{argument, QStringLiteral("not a video type this program converts (%1).").arg(typesText())};
        } else {
            paths << path;
        }
    }
    list.accepted = DistinctPaths(paths);
    return list;
}
