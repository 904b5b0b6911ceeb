#include "examinees/ExamineeRows.h"

#include "common/AsciiDigits.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QHash>
#include <QLocale>
#include <QStringList>
#include <QTime>

namespace {
const QString codeField = Schema::code;

// The fields of the examinee row that the program writes.
const QStringList &examineeFields() {
    static const QStringList fields = Schema::examineeFields();
    return fields;
}

QHash<QString, QString> valuesOf(const DataSource &source) {
    QHash<QString, QString> values;
    for (const QString &field : examineeFields())
        values.insert(field, source.value(field));
    return values;
}

void setValues(DataSource &source, const QHash<QString, QString> &values) {
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        source.setValue(value.key(), value.value());
}

// Codes as the look-ups compare them: the case of Latin letters aside, nothing else; digits as the
// digits they are, however typed.
bool sameCode(const QString &typedA, const QString &typedB) {
    const QString a = withAsciiDigits(typedA);
    const QString b = withAsciiDigits(typedB);
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QChar x = a.at(i);
        const QChar y = b.at(i);
        if (x != y && !(x.unicode() < 128 && y.unicode() < 128 && x.toLower() == y.toLower()))
            return false;
    }
    return true;
}

int holders(DataSource &source, const QString &code) {
    source.setFilter(codeField, withAsciiDigits(code));
    return source.recordCount();
}

// Saves the first source, then the second, and commits; the reason of the first step that fails.
bool saveBoth(Transaction &transaction, DataSource &first, DataSource &second, QString *error) {
    QString why;
    if (!first.save())
        why = first.lastError();
    else if (!second.save())
        why = second.lastError();
    else if (!transaction.commit())
        why = transaction.lastError();
    else
        return true;
    if (error)
        *error = why;
    return false;
}
} // namespace

namespace ExamineeRows {
QString timeOfDayText() {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(QTime::currentTime(), format.trimmed());
}

bool codeInUse(DataSource &examinees, DataSource &answers, const QString &code, const QString &ownCode) {
    const int own = !ownCode.isNull() && sameCode(code, ownCode) ? 1 : 0;
    if (holders(examinees, code) <= own && holders(answers, code) <= own)
        return false;
    examinees.refresh();
    answers.refresh();
    return true;
}

bool registerExaminee(DataSource &examinees, DataSource &answers, QString *error, bool *codeTaken) {
    const QHash<QString, QString> typed = valuesOf(examinees);
    {
        Transaction transaction;
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.lastError();
            return false;
        }
        answers.addNew();
        answers.setValue(codeField, typed.value(codeField));
        if (saveBoth(transaction, answers, examinees, error))
            return true;
        if (codeTaken)
            *codeTaken = answers.lastSaveWasDuplicateCode() || examinees.lastSaveWasDuplicateCode();
    }
    // Rolled back: neither row is stored, whatever the sources took for saved.
    answers.refresh();
    examinees.addNew();
    setValues(examinees, typed);
    return false;
}

bool saveExaminee(DataSource &examinee, DataSource &answerRow, QString *error) {
    const QString oldCode = answerRow.value(codeField);
    const QString newCode = examinee.value(codeField);
    const QHash<QString, QString> edited = valuesOf(examinee);
    {
        Transaction transaction;
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.lastError();
            return false;
        }
        if (newCode != oldCode)
            answerRow.setValue(codeField, newCode);
        if (saveBoth(transaction, answerRow, examinee, error))
            return true;
    }
    answerRow.setFilter(codeField, oldCode);
    examinee.setFilter(codeField, oldCode);
    setValues(examinee, edited);
    return false;
}
} // namespace ExamineeRows
