#include "TempProgramFolder.h"

#include "widgets/ThemeTable.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>

TempProgramFolder::TempProgramFolder() : m_previousFolder(QDir::currentPath()) {
    if (!m_dir.isValid())
        return;
    const QDir skins(QStringLiteral(KELTO_SOURCE_DIR "/skins"));
    for (const QString &name : themeSkinFiles()) {
        if (skins.exists(name))
            QFile::copy(skins.filePath(name), m_dir.filePath(name));
    }
    QDir::setCurrent(m_dir.path());
}

TempProgramFolder::~TempProgramFolder() {
    Database::close();
    QDir::setCurrent(m_previousFolder);
}

bool TempProgramFolder::isValid() const { return m_dir.isValid(); }

QString TempProgramFolder::path() const { return m_dir.path(); }

QString TempProgramFolder::filePath(const QString &relative) const { return m_dir.filePath(relative); }

bool TempProgramFolder::openDatabase(QString *errorMessage) {
    return Database::open(Database::relativePath(), errorMessage);
}
