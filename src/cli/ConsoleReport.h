#pragma once
// Everything kelvane-convert prints. On a terminal: one line per finished file and, below them,
// a block with one progress line per running file and a total line, redrawn in place. Without a
// terminal: one line per finished file. With --json: one JSON object per file on standard output,
// then a summary. Files that were not converted are named on standard error in every mode.
#include "cli/ItemReport.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

class QIODevice;

struct ConsoleMode {
    bool terminal = false; // standard output is a terminal
    bool json = false;
    bool quiet = false;
};

class ConsoleReport {
public:
    // `columns` tells the terminal's width; both devices must outlive the report.
    ConsoleReport(QIODevice &out, QIODevice &err, ConsoleMode mode, std::function<int()> columns = {});

    // --json and --quiet, once the command line has been read.
    void setFormat(bool json, bool quiet);

    void text(const QString &text);          // to standard output as it stands (the help)
    void usageError(const QString &message); // the message and where help is found
    void error(const QString &message);
    void warning(const QString &message);
    void item(const ItemReport &report);
    // Redraws the progress block (on a terminal, unless --json or --quiet).
    void progress(const RunProgress &progress, qint64 elapsedMs);
    // `stopSignal` is the signal that stopped the run, or 0.
    void summary(const RunCounts &counts, qint64 elapsedMs, int stopSignal);

    // "1:05", "1:02:03".
    static QString clockText(qint64 seconds);

private:
    bool live() const { return m_mode.terminal && !m_mode.json && !m_mode.quiet; }
    QStringList blockLines(const RunProgress &progress, qint64 elapsedMs) const;
    void drawBlock();
    void eraseBlock();
    void writeOut(const QString &line);
    void writeErr(const QString &line);
    void writeJson(const QByteArray &object);
    void writeRaw(QIODevice &device, const QByteArray &bytes);

    QIODevice &m_out;
    QIODevice &m_err;
    ConsoleMode m_mode;
    std::function<int()> m_columns;
    QStringList m_block;    // the block's lines as last drawn
    int m_blockShown = 0;   // lines of the block now on the screen
};
