#include "examinees/ExamineeDeletion.h"

#include "store/DataSource.h"
#include "store/Transaction.h"

namespace {
bool fail(QString *error, const QString &description) {
    if (error)
        *error = description;
    return false;
}

bool deleteBoth(DataSource &examinee, DataSource &answer, QString *error) {
    Transaction transaction;
    if (!transaction.isActive())
        return fail(error, transaction.lastError());
    if (!examinee.deleteCurrent())
        return fail(error, examinee.lastError());
    if (!answer.noCurrentRow() && !answer.deleteCurrent())
        return fail(error, answer.lastError());
    if (!transaction.commit())
        return fail(error, transaction.lastError());
    return true;
}
} // namespace

bool deleteExamineeRows(DataSource &examinee, DataSource &answer, QString *error) {
    if (deleteBoth(examinee, answer, error))
        return true;
    // The transaction is rolled back by now: the sources must not go on as if their rows were gone.
    examinee.refresh();
    answer.refresh();
    return false;
}
