#pragma once

#include <QString>

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
