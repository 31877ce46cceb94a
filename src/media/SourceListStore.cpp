#include "media/SourceListStore.h"

#include "media/SourceListModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// "SourceList.json" → "SourceList.unreadable.json", then "SourceList.unreadable-1.json", ...:
// the first name nothing holds.
QString asideName(const QString &path)
{
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral(".unreadable"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    QString candidate = stem + suffix;
    for (int n = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = stem + QStringLiteral("-%1").arg(n) + suffix;
    return candidate;
}

} // namespace

SourceListStore::SourceListStore(QString filePath, SourceListModel &model, Logger log, QObject *parent)
    : QObject(parent), m_filePath(std::move(filePath)), m_model(model), m_log(std::move(log))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(SaveDelayMs);
    connect(&m_delay, &QTimer::timeout, this, [this] { write(); });
}

void SourceListStore::restore()
{
    QFile file(m_filePath);
    if (file.open(QIODevice::ReadOnly)) {
        const SourceListReading reading = ReadSourceListDocument(file.readAll());
        file.close();
        if (reading.outcome == SourceListReading::Outcome::Read) {
            m_model.replaceItems(reading.list.items);
            for (auto mark = reading.list.marks.cbegin(); mark != reading.list.marks.cend(); ++mark)
                m_model.setConvertedMark(SourceItemId{mark.key()}, mark.value());
            MarkMissingFiles(m_model);
        } else {
            putAside(reading.problem);
        }
    } else if (file.exists()) {
        m_log(QStringLiteral("The saved source list %1 could not be read (%2); the list starts empty.")
                  .arg(m_filePath, file.errorString()));
    }
    connect(&m_model, &SourceListModel::itemsChanged, this, &SourceListStore::changed, Qt::UniqueConnection);
    connect(&m_model, &SourceListModel::factsChanged, this, &SourceListStore::changed, Qt::UniqueConnection);
}

// Renamed, never removed: the user (or a newer version) may still want it.
void SourceListStore::putAside(const QString &problem)
{
    const QString aside = asideName(m_filePath);
    if (QFile::rename(m_filePath, aside)) {
        m_keptAside = aside;
        m_log(QStringLiteral("The saved source list could not be read (%1); it was kept as %2 and the list starts empty.")
                  .arg(problem, aside));
    } else {
        m_log(QStringLiteral("The saved source list could not be read (%1) nor put aside; the list starts empty and "
                             "is not saved this time.")
                  .arg(problem));
        m_filePath.clear(); // the file stays as it is
    }
}

void SourceListStore::changed()
{
    m_due = true;
    if (!m_delay.isActive())
        m_delay.start();
}

bool SourceListStore::saveNow()
{
    m_delay.stop();
    return !m_due || write();
}

bool SourceListStore::write()
{
    if (m_filePath.isEmpty())
        return false;
    const SavedSourceList list{m_model.items(), m_model.convertedMarks()};
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(SourceListDocument(list)) >= 0 && file.commit();
    if (!written && !m_failing)
        m_log(QStringLiteral("The source list could not be saved to %1 (%2).").arg(m_filePath, file.errorString()));
    m_failing = !written;
    m_due = !written;
    return written;
}

QList<SourceItemId> MarkMissingFiles(SourceListModel &model)
{
    QList<SourceItemId> missing;
    for (const SourceItem &item : QList<SourceItem>(model.items())) {
        const bool gone = !QFileInfo::exists(item.path);
        model.setMissing(item.id, gone);
        if (gone)
            missing << item.id;
    }
    return missing;
}
