#pragma once

#include <QString>
#include <QStringList>

// Codes are stored with ASCII digits, however they were typed. A register kept before that rule
// may hold codes written with Persian or Arabic-Indic digits, which no box can reach any more
// (every box now turns typed digits into ASCII ones): this writes them with ASCII digits, the
// examinee row and the answer row together, once, as the database opens.
namespace StoredCodeDigits {
// Rewrites every such code of the open database in one transaction. A code whose ASCII form
// another examinee already holds ("۱۲" beside "12") is left as it is and listed in clashes, so
// that no two examinees are ever merged. False, with error, when the database refused the change;
// nothing is then changed.
bool foldStoredCodes(QStringList *clashes, QString *error);
} // namespace StoredCodeDigits
