#include "profile/ExamineeExport.h"

#include "scoring/ScoringKey.h"
#include "store/Database.h"
#include "store/Dialect.h"
#include "store/Schema.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <array>

namespace {
using Database::quoted;

struct RecordColumn {
    QLatin1String field; // in the examinee table
    const char *header;  // in the export
};

constexpr std::array<RecordColumn, 10> recordColumns{{
    {Schema::code, "code"},
    {Schema::firstName, "first_name"},
    {Schema::lastName, "last_name"},
    {Schema::sex, "sex"},
    {Schema::age, "age"},
    {Schema::maritalStatus, "marital_status"},
    {Schema::education, "education"},
    {Schema::group, "group"},
    {Schema::date, "date"},
    {Schema::time, "time"},
}};

// The 23 scores' column names in score-box order: each style's mechanisms, then its total.
constexpr std::array<const char *, ScoringKey::boxCount> scoreColumns{"rationalization",
                                                                      "projection",
                                                                      "denial",
                                                                      "omnipotence",
                                                                      "devaluation",
                                                                      "acting_out",
                                                                      "somatization",
                                                                      "autistic_fantasy",
                                                                      "splitting",
                                                                      "passive_aggression",
                                                                      "displacement",
                                                                      "isolation",
                                                                      "immature_total",
                                                                      "suppression",
                                                                      "sublimation",
                                                                      "humour",
                                                                      "anticipation",
                                                                      "mature_total",
                                                                      "pseudo_altruism",
                                                                      "reaction_formation",
                                                                      "intellectualization",
                                                                      "undoing",
                                                                      "neurotic_total"};

// Each examinee with their answer row, if any: the first with the same code, as the scoring window
// finds it (a code compared without regard to the case of Latin letters, along the code index).
// Where the file keeps its text as UTF-8 (as Kelto makes it), the fields are read as their bytes:
// the CSV is UTF-8 too, and most of an export's time would otherwise go into converting every field
// to UTF-16 and back.
QString exportStatement(const DataSource::Filter &filter, bool asBytes) {
    const auto column = [asBytes](const char *table, const QString &field) {
        const QString name = QLatin1String(table) + QLatin1Char('.') + quoted(field);
        return asBytes ? QStringLiteral("CAST(%1 AS BLOB)").arg(name) : name;
    };
    QStringList columns;
    for (const RecordColumn &record : recordColumns)
        columns << column("e", record.field);
    for (int item = 1; item <= ScoringKey::itemCount; ++item)
        columns << column("a", QString::number(item));
    const QString rowId = Dialect::rowId();
    QString statement =
        QStringLiteral("SELECT %1 FROM %2 AS e LEFT JOIN %3 AS a ON a.%4 = "
                       "(SELECT %4 FROM %3 WHERE %5 ORDER BY %4 LIMIT 1)")
            .arg(columns.join(QLatin1Char(',')), quoted(Schema::examineeTable), quoted(Schema::answerTable), rowId,
                 Dialect::sameIgnoringCase(quoted(Schema::code), QStringLiteral("e.") + quoted(Schema::code)));
    if (!filter.field.isEmpty())
        statement +=
            QStringLiteral(" WHERE ") + Dialect::equalsIgnoringCase(QStringLiteral("e.") + quoted(filter.field));
    return statement + QStringLiteral(" ORDER BY e.") + rowId;
}

// A text that a spreadsheet would run as a formula: one that begins with =, +, - or @ and is not a
// number ("-3", "+98", "1.5" are numbers and stay as they are).
bool readAsFormula(const QByteArray &text) {
    if (text.isEmpty() || !QByteArrayView("=+-@").contains(text.front()))
        return false;
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
    return !number.match(QString::fromLatin1(text)).hasMatch();
}

// Appends one field and the comma after it to a record being written (endRecord turns the last
// comma into the line end): quoted, its quotes doubled, when it holds a comma, a quote or a line break;
// with a leading ' when a spreadsheet would take it for a formula, so that it shows as the text it is.
// The text is UTF-8, in which the special characters are the bytes they are.
void appendField(QByteArray &line, const QByteArray &field) {
    const QByteArray text = readAsFormula(field) ? '\'' + field : field;
    const auto special = [](char ch) { return ch == ',' || ch == '"' || ch == '\r' || ch == '\n'; };
    if (std::none_of(text.begin(), text.end(), special)) {
        line += text;
    } else {
        line += '"';
        for (char ch : text) {
            if (ch == '"')
                line += '"';
            line += ch;
        }
        line += '"';
    }
    line += ',';
}

void endRecord(QByteArray &line) {
    line.chop(1);
    line += "\r\n";
}

bool keepsUtf8() {
    QSqlQuery query(Database::connection());
    return !Dialect::onServer() && query.exec(QStringLiteral("PRAGMA encoding")) && query.next() &&
           query.value(0).toString() == QLatin1String("UTF-8");
}

QByteArray utf8At(const QSqlQuery &query, int column) {
    const QVariant value = query.value(column);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
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

QByteArray ExamineeExport::csvRecord(const QStringList &fields) {
    QByteArray line;
    for (const QString &field : fields)
        appendField(line, field.toUtf8());
    endRecord(line);
    return line;
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
        if (!query.prepare(exportStatement(filter, keepsUtf8())))
            return fail(file, error, query.lastError().text());
        if (!filter.field.isEmpty())
            query.addBindValue(filter.value);
        if (!query.exec())
            return fail(file, error, query.lastError().text());
    }
    const int answerColumn = int(recordColumns.size());
    const QStringList noScores(ScoringKey::boxCount);
    qint64 written = 0;
    QByteArray line;
    QStringList answers;
    while (!filter.matchesNothing && query.next()) {
        line.resize(0);
        answers.clear();
        for (int column = 0; column < answerColumn; ++column)
            appendField(line, utf8At(query, column));
        for (int item = 0; item < ScoringKey::itemCount; ++item) {
            const QByteArray answer = utf8At(query, answerColumn + item);
            appendField(line, answer);
            answers << QString::fromUtf8(answer);
        }
        for (const QString &score : missingItems(answers).isEmpty() ? scoreTexts(answers) : noScores)
            appendField(line, score.toLatin1()); // digits, a sign and a point
        endRecord(line);
        if (file.write(line) < 0)
            return fail(file, error, file.errorString());
        if (++written % progressStep == 0 && progress && !progress(written)) {
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
