#pragma once
// The diagnostic log: "log.txt" in the program folder (or the user's state folder when the program
// folder is read-only), one line per message, never truncated.
#include <QString>
#include <stdexcept>

class IClock;

// Raised when the log file cannot be created, opened or written; it reaches the caller.
class LogWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TAppFunc {
public:
    // `folder` (the log's folder) ends with the path separator; `clock` must outlive this object.
    TAppFunc(QString folder, const IClock &clock);

    // Appends "Brask Soft <short date> <long time>|<message>" + CR LF to log.txt.
    // Date and time use the user's locale. Throws LogWriteError on failure.
    void WriteLog(const QString &message) const;

    // Full path of the log file.
    QString logFilePath() const;

private:
    QString m_programFolder;
    const IClock &m_clock;
};
