#pragma once

#include "store/DataSource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The examinees as a table for statistics programs and spreadsheets: one CSV row per examinee
// with the record, the 40 answers and the 23 scores (empty while answers are missing), under an
// English header that R, SPSS and spreadsheets take as it is. CSV as RFC 4180 writes it: UTF-8
// with a byte-order mark (so spreadsheets read Persian names as such), CRLF line ends, and a field
// that holds a comma, a quote or a line break quoted, its quotes doubled. A text that begins with
// =, +, - or @ and is not a number is written with a leading ', so a spreadsheet shows it instead of
// running it as a formula.
namespace ExamineeExport {
enum class Outcome { Written, Cancelled, Failed };

// Told the number of rows written so far, now and then while writing; false stops the export.
using Progress = std::function<bool(qint64 rowsWritten)>;
// How many rows are written between two reports of progress.
inline constexpr int progressStep = 64;

QStringList header();
// One record: its fields joined by commas, with the line end.
QByteArray csvRecord(const QStringList &fields);

// Writes the examinees under the filter (that of the directory's grid), in the grid's order, to
// the file at path. Rows are read and written one at a time, so a clinic's whole register passes
// through without being held. The file appears whole or not at all: a cancelled or failed export
// leaves whatever the path held before. error receives the failure's description.
Outcome write(const QString &path, const DataSource::Filter &filter, const Progress &progress = {},
              QString *error = nullptr);
} // namespace ExamineeExport
