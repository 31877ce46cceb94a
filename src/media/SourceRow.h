#pragma once
// The columns of a row of the source grid, in order: the index every caller uses.
namespace SourceRow {
enum Column { CheckColumn = 0, FileNameColumn, FileSizeColumn, DurationColumn, StartTimeColumn, EndTimeColumn,
              CutTimeColumn, ColumnCount };
} // namespace SourceRow
