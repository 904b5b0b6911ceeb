#pragma once

#include <QString>
#include <QTemporaryDir>

// A throw-away program folder for a test: a temporary folder made the working folder (the old
// one comes back at destruction), with the eleven skin files of the source tree copied in.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder &) = delete;
    TempProgramFolder &operator=(const TempProgramFolder &) = delete;

    bool isValid() const;
    QString path() const;
    // Absolute path of a file in the folder.
    QString filePath(const QString &relative) const;
    // Opens DBKelto/DBKelto.mdb in the folder through the program's one connection, creating it
    // when missing. The connection is closed again at destruction.
    bool openDatabase(QString *errorMessage = nullptr);

private:
    QTemporaryDir m_dir;
    QString m_previousFolder;
};
