#include "profile/ExamineeExport.h"

#include "scoring/ScoringKey.h"
#include "store/Database.h"

#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace {
using Database::quoted;

struct RecordColumn {
    const char *field;  // in the examinee table
    const char *header; // in the export
};

constexpr std::array<RecordColumn, 10> recordColumns{{
    {"Code", "code"},
    {"FName", "first_name"},
    {"LName", "last_name"},
    {"Jens", "sex"},
    {"Sen", "age"},
    {"Taahol", "marital_status"},
    {"Tahsil", "education"},
    {"Group", "group"},
    {"Date", "date"},
    {"Time", "time"},
}};

// The 23 scores' column names in score-box order: each style's mechanisms, then its total.
constexpr std::array<const char *, ScoringKey::boxCount> scoreColumns{
    "rationalization",    "projection",      "denial",          "omnipotence",
    "devaluation",        "acting_out",      "somatization",    "autistic_fantasy",
    "splitting",          "passive_aggression", "displacement", "isolation",
    "immature_total",     "suppression",     "sublimation",     "humour",
    "anticipation",       "mature_total",    "pseudo_altruism", "reaction_formation",
    "intellectualization", "undoing",        "neurotic_total"};

// Each examinee with their answer row, if any: the first with the same code, as the scoring window
// finds it (a code compared without regard to the case of Latin letters, along the code index).
QString exportStatement(const DataSource::Filter &filter) {
    QStringList columns;
    for (const RecordColumn &column : recordColumns)
        columns << QStringLiteral("e.") + quoted(QLatin1String(column.field));
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        columns << QStringLiteral("a.") + quoted(QString::number(item));
    QString statement = QStringLiteral("SELECT %1 FROM \"IDE\" AS e LEFT JOIN \"Answer\" AS a ON a.rowid = "
                                       "(SELECT rowid FROM \"Answer\" WHERE \"Code\" = e.\"Code\" COLLATE NOCASE "
                                       "ORDER BY rowid LIMIT 1)")
                            .arg(columns.join(QLatin1Char(',')));
    if (!filter.field.isEmpty())
        statement += QStringLiteral(" WHERE e.%1 = ? COLLATE NOCASE").arg(quoted(filter.field));
    return statement + QStringLiteral(" ORDER BY e.rowid");
}

// Drops what was written: the file at the path stays as it was.
ExamineeExport::Outcome fail(QSaveFile &file, QString *error, const QString &description) {
    file.cancelWriting();
    if (error)
        *error = description;
    return ExamineeExport::Outcome::Failed;
}
} // namespace

QStringList ExamineeExport::header() {
    QStringList names;
    for (const RecordColumn &column : recordColumns)
        names << QLatin1String(column.header);
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        names << QStringLiteral("item_%1").arg(item, 2, 10, QLatin1Char('0'));
    for (const char *score : scoreColumns)
        names << QLatin1String(score);
    return names;
}

QString ExamineeExport::csvField(const QString &text) {
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    for (QChar ch : text) {
        if (needsQuotes.contains(ch))
            return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                   QLatin1Char('"');
    }
    return text;
}

QByteArray ExamineeExport::csvRecord(const QStringList &fields) {
    QString line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += csvField(fields.at(i));
    }
    return line.toUtf8() + "\r\n";
}

ExamineeExport::Outcome ExamineeExport::write(const QString &path, const DataSource::Filter &filter,
                                              const Progress &progress, QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file, error, file.errorString());
    file.write("\xEF\xBB\xBF");
    file.write(csvRecord(header()));

    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    if (!filter.matchesNothing) {
        if (!query.prepare(exportStatement(filter)))
            return fail(file, error, query.lastError().text());
        if (!filter.field.isEmpty())
            query.addBindValue(filter.value);
        if (!query.exec())
            return fail(file, error, query.lastError().text());
    }
    const int answerColumn = int(recordColumns.size());
    qint64 written = 0;
    QStringList fields;
    QStringList answers;
    while (!filter.matchesNothing && query.next()) {
        fields.clear();
        answers.clear();
        for (int column = 0; column < answerColumn; ++column)
            fields << query.value(column).toString();
        for (int item = 0; item < ScoringKey::itemCount; ++item)
            answers << query.value(answerColumn + item).toString();
        fields << answers;
        if (missingItems(answers).isEmpty())
            fields << scoreTexts(answers);
        else
            fields << QStringList(ScoringKey::boxCount);
        if (file.write(csvRecord(fields)) < 0)
            return fail(file, error, file.errorString());
        if (++written % progressStep == 0 && progress && !progress(written))
            {
            file.cancelWriting();
            return Outcome::Cancelled;
        }
    }
    if (query.lastError().isValid())
        return fail(file, error, query.lastError().text());
    if (!file.commit())
        return fail(file, error, file.errorString());
    return Outcome::Written;
}
