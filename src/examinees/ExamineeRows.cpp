#include "examinees/ExamineeRows.h"

#include "common/AsciiDigits.h"
#include "examinees/ExamineeFields.h"
#include "store/Connection.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "store/Transaction.h"

#include <QHash>
#include <QLocale>
#include <QTime>
#include <initializer_list>

namespace {
const QString codeField = ExamineeFields::name(ExamineeFields::Code);

QHash<QString, QString> valuesOf(const DataSource &source) {
    QHash<QString, QString> values;
    for (int field = 0; field < ExamineeFields::count; ++field) {
        const QString name = ExamineeFields::name(ExamineeFields::Field(field));
        values.insert(name, source.value(name));
    }
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

// Saves the sources in order and commits; the reason of the first step that fails.
bool saveAll(Transaction &transaction, std::initializer_list<DataSource *> sources, QString *error) {
    QString why;
    for (DataSource *source : sources) {
        if (!source->save()) {
            why = source->lastError();
            break;
        }
    }
    if (why.isEmpty() && transaction.commit())
        return true;
    if (error)
        *error = why.isEmpty() ? transaction.lastError() : why;
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
        if (saveAll(transaction, {&answers, &examinees}, error))
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

DetailsSave saveExaminee(DataSource &examinee, DataSource &answerRow, const QString &storedCode,
                         DataSource &examineeCheck, DataSource &answerCheck, QString *error) {
    if (examinee.noCurrentRow()) {
        // No row to store the details in: the save refuses, touching nothing, and tells why.
        examinee.save();
        if (error)
            *error = examinee.lastError();
        return DetailsSave::Failed;
    }
    const QString newCode = examinee.value(codeField);
    // An examinee without a code could never be selected again.
    if (newCode.isEmpty())
        return DetailsSave::CodeMissing;
    if (newCode != storedCode && codeInUse(examineeCheck, answerCheck, newCode, storedCode))
        return DetailsSave::CodeInUse;
    const bool hasAnswerRow = !answerRow.noCurrentRow();
    const QHash<QString, QString> edited = valuesOf(examinee);
    const QStringList unsavedDetails = examinee.unsavedFields();
    const QStringList unsavedAnswers = answerRow.unsavedFields();
    {
        Transaction transaction;
        if (!transaction.isActive()) {
            if (error)
                *error = transaction.lastError();
            return DetailsSave::Failed;
        }
        if (hasAnswerRow && newCode != answerRow.value(codeField))
            answerRow.setValue(codeField, newCode);
        // The answer row goes first: a failure leaves the examinee's edits unsaved, to be saved again.
        if (hasAnswerRow ? saveAll(transaction, {&answerRow, &examinee}, error)
                         : saveAll(transaction, {&examinee}, error))
            return DetailsSave::Saved;
    }
    if (Database::connectionLost()) {
        // The rows cannot be read again: they stay as edited, every change to be saved again once
        // the server is back (a changed code on the answer row too).
        examinee.markUnsaved(unsavedDetails);
        answerRow.markUnsaved(unsavedAnswers);
        if (hasAnswerRow && newCode != storedCode)
            answerRow.markUnsaved({codeField});
        return DetailsSave::Failed;
    }
    answerRow.setFilter(codeField, storedCode);
    examinee.setFilter(codeField, storedCode);
    setValues(examinee, edited);
    return DetailsSave::Failed;
}
} // namespace ExamineeRows
