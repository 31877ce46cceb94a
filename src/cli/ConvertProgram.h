#pragma once
// kelvane-convert from its arguments to its exit status: reads the command line, makes the
// option selection as the window does, takes the files, converts them in parallel, reports.
#include "cli/ConsoleReport.h"
#include "cli/ItemReport.h"
#include "settings/EncoderSettings.h"
#include "support/AppFunc.h"
#include "support/FileFunc.h"
#include "support/FileLocations.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

class IClock;
class ParallelConversion;
struct ConvertRequest;

// Exit statuses.
inline constexpr int ExitConverted = 0;   // every file was converted
inline constexpr int ExitSomeFailed = 1;  // some file was not converted
inline constexpr int ExitUsage = 2;       // the command line (or the profile it names) is wrong
inline int ExitStoppedBy(int signal) { return 128 + signal; }

struct ConvertEnvironment {
    FileLocations locations; // the encoders' folder, Config/ and log.txt, as the window uses them
    QString workingFolder;   // relative paths on the command line are taken from here
    int cores = 1;          // the default number of jobs
    const IClock *clock = nullptr;
};

class ConvertProgram : public QObject {
    Q_OBJECT
public:
    ConvertProgram(QStringList arguments, ConvertEnvironment environment, ConsoleReport &console,
                   QObject *parent = nullptr);
    ~ConvertProgram() override;

    // Reads the arguments and starts converting; finished tells the exit status (it may come
    // before this returns).
    void start();
    // Ctrl+C or SIGTERM: ends every running encoder and starts nothing more.
    void stop(int signal);

    // Whether the console shows the live progress block (the caller decides from the terminal).
    void setProgressInterval(int milliseconds) { m_progressInterval = milliseconds; }

Q_SIGNALS:
    void finished(int exitStatus);

private:
    void begin();
    bool prepare(const ConvertRequest &request);
    void listTracks(const ConvertRequest &request);
    QString outputFolderText(const ConvertRequest &request) const;
    void itemOver(const ItemReport &report);
    // The conversion's progress, with the counts so far once it is being stopped.
    RunProgress progress() const;
    void conversionOver();
    void finish(int exitStatus);

    QStringList m_arguments;
    ConvertEnvironment m_environment;
    ConsoleReport &m_console;
    EncoderSettings m_settings;
    TAppFunc m_log;
    TFileFunc m_fileFunc;
    QString m_outputFolder;
    std::unique_ptr<ParallelConversion> m_conversion;
    RunCounts m_counts;
    QElapsedTimer m_clock;
    QTimer m_progressTimer;
    int m_progressInterval = 0;
    int m_stopSignal = 0;
    bool m_finished = false;
};
