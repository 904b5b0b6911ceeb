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

// Overwrites pages in the middle of an SQLite file (4096 bytes each) with a fixed pattern, as a
// failing disk would: the header and the tables' first pages stay whole, so the file still opens.
// False when the file is too small to have such pages.
bool damageMiddlePages(const QString &path, int pages = 3);
// The same for pages in the middle of one table or index only (named as the schema names it).
bool damagePagesOf(const QString &path, const QString &btree, int pages);

// A small disk for one test: a tmpfs of the given size mounted on a folder of the test's own, in
// a mount namespace of this process's own (gone with the process, seen by nobody else); unmounted
// at destruction. error() says why not (not root): the test then skips.
class SmallDisk {
public:
    SmallDisk(const QString &folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;
    QString error() const { return m_error; }

private:
    QString m_folder;
    QString m_error;
};

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
