#include "media/TimeText.h"
#include "BatchFixtures.h"

#include "common/Ffmpeg.h"
#include "settings/OptionTables.h"
#include "settings/QualityProfiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

bool writeRandomBytes(const QString &path, int size)
{
    QRandomGenerator generator(20080314);   // the same bytes on every run
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = static_cast<char>(generator.bounded(256));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == size;
}

class MediaFolder {
public:
    MediaFolder()
    {
        const QString sound = QStringLiteral("sine=frequency=440:sample_rate=8000");
        make("one_second.avi", {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-f", "lavfi", "-i", sound, "-t",
                                "1", "-c:v", "mpeg4", "-c:a", "mp2"});
        make("ten_minutes.wav", {"-f", "lavfi", "-i", sound, "-t", "600", "-c:a", "pcm_s16le"});
        make("one_second.rm", {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-f", "lavfi", "-i",
                               "sine=frequency=440:sample_rate=44100", "-t", "1", "-c:v", "rv10", "-c:a", "ac3"});
        make("video_only.avi", {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=10", "-t", "1", "-c:v", "mpeg4"});
        if (QFile empty(m_folder.filePath("zero_bytes.avi")); empty.open(QIODevice::WriteOnly))
            m_made << QStringLiteral("zero_bytes.avi");
        if (writeRandomBytes(m_folder.filePath("corrupt.avi"), 64 * 1024))
            m_made << QStringLiteral("corrupt.avi");
    }
    QString path(const QString &name) const { return m_made.contains(name) ? m_folder.filePath(name) : QString(); }

private:
    void make(const char *name, const QStringList &arguments)
    {
        if (runFfmpeg(arguments + QStringList{m_folder.filePath(QString::fromLatin1(name))}))
            m_made << QString::fromLatin1(name);
    }
    QTemporaryDir m_folder;
    QStringList m_made;
};

} // namespace

QString BatchMedia::path(const QString &name)
{
    static const MediaFolder folder;
    return folder.path(name);
}

BatchSetup::BatchSetup()
{
    custom.FillAllSelectors();
    options.setSelectedIndex(Selector::OutputType, Mp3);
    custom.setOutputFolderText(outputFolder);
}

QString BatchSetup::addRow(const QString &fixture, const QString &name, bool checked, const QString &end,
                          const QString &start)
{
    const QString copy = inputFolder + name;
    QFile::copy(BatchMedia::path(fixture), copy);
    SourceItem item = WholeFileItem(copy, 1024, ReadTimeText(end) * 1000);
    item.startMs = ReadTimeText(start) * 1000;
    item.checked = checked;
    sources.appendItem(item);
    return copy;
}

bool BatchRunFixture::runToEnd()
{
    const qsizetype before = finished.size();
    return batch.RunBatch(s.sources) && (finished.size() > before || finished.wait(120000));
}
