#include "app/DatabasePanel.h"

#include "app/PanelControls.h"
#include "common/AppVersion.h"
#include "store/Database.h"
#include "store/StoreMessages.h"
#include "widgets/WaitingMessageBox.h"

#include <QFrame>
#include <QLineEdit>

namespace {
constexpr int rowHeight = 435;
constexpr int labelGap = 30; // between a box and its label, on the box's right
} // namespace

DatabasePanel::DatabasePanel(QFrame *frame) : QObject(frame), m_frame(frame) {
    LblEngineInUse = addLabel(frame, "LblEngineInUse", 120, 120, 5835, 555);
    TxtHost = addBox("TxtHost", StoreMessages::hostLabel(), 2400, 780, 2500, 1000);
    TxtPort = addBox("TxtPort", StoreMessages::portLabel(), 120, 780, 1400, 800);
    TxtDatabase = addBox("TxtDatabase", StoreMessages::databaseLabel(), 2400, 1320, 2500, 1000);
    TxtUser = addBox("TxtUser", StoreMessages::userLabel(), 120, 1320, 1400, 800);
    LblNextStart = addLabel(frame, "LblNextStart", 120, 1860, 5835, 330);
    LblNextStart->setCaption(StoreMessages::takesEffectAtNextStart());

    CmdSaveServer = addButton(frame, "CmdSaveServer", QStringLiteral("ذخيره "), 3960, 2280, 1100, 495);
    CmdTestServer = addButton(frame, "CmdTestServer", StoreMessages::testConnection(), 2160, 2280, 1700, 495);
    CmdCloseDatabase = addButton(frame, "CmdCloseDatabase", QStringLiteral("انصراف"), 960, 2280, 1100, 495);
    connect(CmdSaveServer, &QPushButton::clicked, this, &DatabasePanel::save);
    connect(CmdTestServer, &QPushButton::clicked, this, &DatabasePanel::testConnection);
    connect(CmdCloseDatabase, &QPushButton::clicked, frame, &QWidget::hide);
}

QLineEdit *DatabasePanel::addBox(const char *name, const QString &label, int left, int top, int width, int labelWidth) {
    auto *box = new QLineEdit(m_frame);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(twipsRect(left, top, width, rowHeight));
    // Names of hosts, folders and roles read left to right.
    box->setLayoutDirection(Qt::LeftToRight);
    SkinLabel *caption = addLabel(m_frame, "", left + width + labelGap, top, labelWidth, rowHeight);
    caption->setCaption(label);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter); // beside its box
    caption->setBuddy(box);
    return box;
}

void DatabasePanel::begin() {
    const EngineSettings::Choice inUse = Database::serverInUse();
    LblEngineInUse->setCaption(inUse.onServer ? StoreMessages::serverInUse(inUse.serverName(), inUse.sslMode)
                                              : StoreMessages::fileInUse(Database::filePath()));
    // The file's server when it names one (also one not yet in use), else the server in use.
    EngineSettings::Choice server;
    QString ignored;
    if (!EngineSettings::read(EngineSettings::filePath(), &server, &ignored) || !server.onServer)
        server = inUse;
    TxtHost->setText(server.host);
    TxtPort->setText(QString::number(server.port));
    TxtDatabase->setText(server.database);
    TxtUser->setText(server.user);
    TxtHost->setFocus();
}

EngineSettings::Typed DatabasePanel::typed() const {
    return {TxtHost->text(), TxtPort->text(), TxtDatabase->text(), TxtUser->text()};
}

void DatabasePanel::save() {
    const QString path = EngineSettings::filePath();
    QString error;
    if (!EngineSettings::writeServer(path, typed(), &error)) {
        WaitingMessageBox::show(m_frame->window(), error, appTitle(), QMessageBox::Warning);
        return;
    }
    WaitingMessageBox::show(m_frame->window(), StoreMessages::serverWritten(path), appTitle(),
                            QMessageBox::Information);
    m_frame->hide();
}

void DatabasePanel::testConnection() {
    EngineSettings::Choice server;
    QString message;
    if (!EngineSettings::typedServer(EngineSettings::filePath(), typed(), &server, &message)) {
        WaitingMessageBox::show(m_frame->window(), message, appTitle(), QMessageBox::Warning);
        return;
    }
    // The events run while libpq waits: the panel takes no second press meanwhile.
    m_frame->setEnabled(false);
    const bool reached = Database::reachServer(server, &message);
    m_frame->setEnabled(true);
    WaitingMessageBox::show(m_frame->window(), message, appTitle(),
                            reached ? QMessageBox::Information : QMessageBox::Warning);
}
