#pragma once
// One window per settings folder. The first program to start listens on a local socket in the
// user's runtime folder; a later start hands the files named on its command line to it (the
// window adds them and comes to the front) and ends. A lock file around the look-and-listen
// keeps two programs started at the same moment from both becoming the first.
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;

// The socket of the window that keeps its settings in `configFolder`:
// <runtime folder>/kelvane-<hash of the folder>.
QString SingleInstanceSocketPath(const QString &configFolder);

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString socketPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Outcome {
        HandedOver,    // a running window took the files: this program ends
        Listening,     // this is the first window; others hand their files to it
        AnotherWindow, // a window of its own was asked for while another one runs
        Alone,         // no socket could be set up: this window goes on without one
    };
    // Hands `files` (absolute paths; none only raises the window) to the running window, or
    // starts listening when there is none. Blocks for at most a few seconds.
    Outcome handOverOrListen(const QStringList &files);
    // --new-window: listens when no window runs yet, else leaves the running one alone.
    Outcome listenUnlessRunning();

    // The reason the socket could not be set up, for the log (Alone).
    const QString &problem() const { return m_problem; }

Q_SIGNALS:
    // Another start handed these files over (possibly none): add them and raise the window.
    void filesHandedOver(const QStringList &files);

private:
    enum class Mode { HandOver, OwnWindow };
    Outcome start(const QStringList &files, Mode mode);
    bool handOver(const QStringList &files);
    bool someoneListens();
    bool listen();
    void receive();

    QString m_socketPath;
    std::unique_ptr<QLocalServer> m_server;
    QString m_problem;
};
