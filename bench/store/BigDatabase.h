#pragma once

#include <QString>

// Builds a Kelto database at path (created by the program's own Database::open) holding the given
// number of examinees, each with a complete answer row: codes "K0000001" upwards, groups A to G in
// turn, a few hundred distinct names. One transaction, prepared statements. The program's
// connection is closed again afterwards. False with error on failure.
bool buildBigDatabase(const QString &path, int examinees = 100000, QString *error = nullptr);

// The code of the examinee with the given number (0-based), as buildBigDatabase writes it.
QString bigDatabaseCode(int number);
