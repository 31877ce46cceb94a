#pragma once
// Keeps the source list in a file between runs. At start-up restore() puts the saved list into
// the model; from then on every change of the list (or of what its rows were converted into)
// is written a moment later, replacing the file atomically, so a crash loses at most the
// changes of that moment. saveNow() writes at once what is still due (the window closing).
//
// A file that cannot be read (damaged, or written by a newer version) is never overwritten: it
// is renamed aside under a name of its own, the list starts empty and the log says so.
#include "media/SourceListFile.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class SourceListModel;

class SourceListStore final : public QObject {
    Q_OBJECT
public:
    using Logger = std::function<void(const QString &line)>;
    static constexpr int SaveDelayMs = 400;

    // `model` must outlive the store; `log` takes one line for each problem (it must not throw).
    SourceListStore(QString filePath, SourceListModel &model, Logger log, QObject *parent = nullptr);

    // Reads the file into the model (replacing what it holds) and starts keeping it. Rows whose
    // file is gone are marked missing. A missing file is an empty list.
    void restore();
    // Writes the list now when a change is still waiting. False when it could not be written.
    bool saveNow();
    const QString &filePath() const { return m_filePath; }
    // Where an unreadable file was put aside by restore(); empty when none was.
    const QString &keptAside() const { return m_keptAside; }

private:
    void changed();
    bool write();
    void putAside(const QString &problem);

    QString m_filePath;
    SourceListModel &m_model;
    Logger m_log;
    QTimer m_delay;
    bool m_due = false;
    bool m_failing = false; // the last write failed (logged once until one succeeds)
    QString m_keptAside;
};

// Marks every row whose file is not there as missing, and every other as present. Returns the
// ids of the missing ones, in row order.
QList<SourceItemId> MarkMissingFiles(SourceListModel &model);
