#pragma once

#include "store/EngineSettings.h"

#include <QObject>

class QFrame;
class QLineEdit;
class QPushButton;
class SkinLabel;

// The main window's database panel: which engine holds the register now (the SQLite file's path,
// or the server with its SSL mode), the server for Kelto.ini (host, port, database, user), a save
// that writes Kelto.ini through EngineSettings, and a test of the connection to the server as
// typed. A change takes effect at the next start.
class DatabasePanel : public QObject {
    Q_OBJECT
public:
    // Makes the controls on the panel's frame, filled from Kelto.ini, or the server in use.
    explicit DatabasePanel(QFrame *frame);
    // Once the panel shows: the engine in use and the file's server read anew.
    void begin();

private slots:
    void save();
    void testConnection();

private:
    QLineEdit *addBox(const char *name, const QString &label, int left, int top, int width, int labelWidth);
    EngineSettings::Typed typed() const;

    QFrame *m_frame;
    SkinLabel *LblEngineInUse = nullptr;
    QLineEdit *TxtHost = nullptr;
    QLineEdit *TxtPort = nullptr;
    QLineEdit *TxtDatabase = nullptr;
    QLineEdit *TxtUser = nullptr;
    SkinLabel *LblNextStart = nullptr;
    QPushButton *CmdSaveServer = nullptr;
    QPushButton *CmdTestServer = nullptr;
    QPushButton *CmdCloseDatabase = nullptr;
};
