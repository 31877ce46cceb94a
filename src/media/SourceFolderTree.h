#pragma once
// The video files of a folder tree: a folder stands for the videos in it and in every folder
// below it. In each folder its own videos come first, then its folders, each in natural name
// order ("Week 2" before "Week 10"). A folder reached twice (through a link) is walked once;
// one that cannot be read is named and passed over.
#include <QString>
#include <QStringList>

#include <atomic>

struct FolderTreeVideos {
    QStringList videos;           // full paths, in the order above
    QStringList unreadableFolders; // folders that could not be listed
    bool stopped = false;          // `stop` was set before the walk was over
};

// Walks the tree under `folder`; `stop`, when given and set, ends the walk early.
FolderTreeVideos VideoFilesInTree(const QString &folder, const std::atomic<bool> *stop = nullptr);

// What a list of added paths stands for: every folder replaced by the videos of its tree, other
// paths as they are, in their place. Folders without a video are named.
struct ExpandedPaths {
    QStringList paths;
    QStringList foldersWithoutVideo;
    QStringList unreadableFolders;
    bool stopped = false;
};
ExpandedPaths ExpandFolderTrees(const QStringList &paths, const std::atomic<bool> *stop = nullptr);
