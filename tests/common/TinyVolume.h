#pragma once
// A folder that is a small filesystem of its own (tmpfs of `size`, "64k" say), optionally made
// read-only after `prepare` has filled it. Only root may mount: `mounted` is false elsewhere and
// the test skips.
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <sys/mount.h>

struct TinyVolume {
    QTemporaryDir dir;
    bool mounted = false;

    TinyVolume(const char *size, bool readOnly, const std::function<void(const QString &folder)> &prepare)
    {
        const QByteArray path = QFile::encodeName(dir.path());
        const QByteArray options = QByteArray("size=") + size;
        mounted = ::mount("tmpfs", path.constData(), "tmpfs", 0, options.constData()) == 0;
        if (!mounted)
            return;
        prepare(dir.path() + QLatin1Char('/'));
        if (readOnly)
            ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_RDONLY, options.constData());
    }
    ~TinyVolume()
    {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    TinyVolume(const TinyVolume &) = delete;
    TinyVolume &operator=(const TinyVolume &) = delete;
};
