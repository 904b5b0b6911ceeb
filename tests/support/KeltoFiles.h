#pragma once

#include <QString>
#include <QStringList>

// What the open database holds now, read past every data source: the first column of every row
// the query gives.
QStringList columnInFile(const QString &sql);
// The first value the query gives (value, unless null, bound to its one parameter); "<none>" when
// it gives no row.
QString valueInFile(const QString &sql, const QString &value = {});

// A Kelto database with the given number of examinees (codes "0", "1", …), built by the program
// itself at path and closed again.
void makeKeltoDatabase(const QString &path, int examinees);

// Makes a file or folder unwritable even for root (the immutable attribute, chattr); undone at
// destruction. done() is false where the attribute is not available.
class Immutable {
public:
    explicit Immutable(const QString &path);
    ~Immutable();
    Immutable(const Immutable &) = delete;
    Immutable &operator=(const Immutable &) = delete;
    bool done() const { return m_done; }

private:
    QString m_path;
    bool m_done = false;
};
