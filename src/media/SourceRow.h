#pragma once
// One row of the source list: seven texts in column order.
#include <QString>

struct SourceRow {
    QString checkValue; // "True" when the row is to be converted, "False" otherwise
    QString fileName;   // full path as delivered by the dialog or the drop
    QString fileSize;   // size text ("1.5 MB")
    QString duration;   // hh:mm:ss
    QString startTime;  // hh:mm:ss
    QString endTime;    // hh:mm:ss
    QString cutTime;    // hh:mm:ss
    // Not a column: the file's length as the probe measured it, in milliseconds (0 when not
    // known). The duration above is its whole seconds, truncated; a conversion of the whole
    // file asks for this length, so that its last fraction of a second is not lost.
    qint64 exactMilliseconds = 0;
    // Not a column: false for a video without sound, which is added unchecked.
    bool hasSound = true;

    // Column order of the fields; the index every caller uses.
    enum Column { CheckColumn = 0, FileNameColumn, FileSizeColumn, DurationColumn, StartTimeColumn,
                  EndTimeColumn, CutTimeColumn, ColumnCount };

    QString field(int column) const;
    void setField(int column, const QString &text);
    bool isChecked() const { return checkValue == u"True"; }

    friend bool operator==(const SourceRow &, const SourceRow &) = default;
};

inline QString SourceRow::field(int column) const
{
    switch (column) {
    case CheckColumn: return checkValue;
    case FileNameColumn: return fileName;
    case FileSizeColumn: return fileSize;
    case DurationColumn: return duration;
    case StartTimeColumn: return startTime;
    case EndTimeColumn: return endTime;
    case CutTimeColumn: return cutTime;
    default: return QString();
    }
}

inline void SourceRow::setField(int column, const QString &text)
{
    switch (column) {
    case CheckColumn: checkValue = text; break;
    case FileNameColumn: fileName = text; break;
    case FileSizeColumn: fileSize = text; break;
    case DurationColumn: duration = text; break;
    case StartTimeColumn: startTime = text; break;
    case EndTimeColumn: endTime = text; break;
    case CutTimeColumn: cutTime = text; break;
    default: break;
    }
}
