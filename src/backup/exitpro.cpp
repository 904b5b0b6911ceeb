#include "backup/exitpro.h"

#include "backup/Frmbackup.h"
#include "common/Twips.h"
#include "widgets/Navigation.h"
#include "widgets/PictureButton.h"
#include "widgets/SkinPictures.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace {
// The two picture buttons are drawn at this size, in pixels.
constexpr QSize pictureSize(96, 35);

QString backupCaption() { return QStringLiteral("تهيه نسخه پشتيبان"); }
} // namespace

exitpro::exitpro(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("exitpro"));
    setAttribute(Qt::WA_DeleteOnClose);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(backupCaption());
    setFixedSize(twipsSize(4500, 2250));
    move(twipsPoint(5000, 4500));
    // Moving over the background brings the plain pictures back.
    setMouseTracking(true);

    Label1 = new QLabel(QStringLiteral("آيا براي خروج از برنامه اطمينان داريد"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(150, 225, 4200, 525));
    Label1->setAlignment(Qt::AlignCenter);
    QFont questionFont = Label1->font();
    questionFont.setBold(true);
    questionFont.setPointSizeF(questionFont.pointSizeF() * 1.15);
    Label1->setFont(questionFont);

    Check1 = new QCheckBox(backupCaption(), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(twipsRect(600, 900, 3660, 390));

    m_confirm = new PictureButton(this, QRect(twipsPoint(2460, 1500), pictureSize), "k1",
                                  SkinPictures::confirmPicture(pictureSize, false), "k2",
                                  SkinPictures::confirmPicture(pictureSize, true), SkinPictures::confirmText());
    m_cancel = new PictureButton(this, QRect(twipsPoint(600, 1500), pictureSize), "C1",
                                 SkinPictures::cancelPicture(pictureSize, false), "C2",
                                 SkinPictures::cancelPicture(pictureSize, true), SkinPictures::cancelText());
    connect(m_confirm, &PictureButton::clicked, this, &exitpro::confirm);
    connect(m_cancel, &PictureButton::clicked, this, &QWidget::close);
    createTimers();
}

exitpro *exitpro::showDialog() {
    // One dialog at a time: the exit button shows it before the main window's unloading does.
    static QPointer<exitpro> loaded;
    if (!loaded)
        loaded = new exitpro;
    loaded->show();
    loaded->raise();
    loaded->activateWindow();
    return loaded;
}

void exitpro::createTimers() {
    Timer2 = addTimer("Timer2");
    Timer3 = addTimer("Timer3");
    tmCaptionAnimate = addTimer("tmCaptionAnimate");
    connect(Timer2, &QTimer::timeout, this, &exitpro::showBackupCaption);
    connect(Timer3, &QTimer::timeout, this, &exitpro::showBackingUpCaption);
    connect(tmCaptionAnimate, &QTimer::timeout, this, &exitpro::copyCaption);
    Timer2->start();
    Timer3->start();
    tmCaptionAnimate->start();
}

QTimer *exitpro::addTimer(const char *name) {
    auto *timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(500);
    return timer;
}

// Timer2 and Timer3 hand over to each other, so the caption changes every 500 ms.
void exitpro::showBackupCaption() {
    setWindowTitle(QStringLiteral(" تهيه نسخه پشتيبان"));
    Timer3->start();
    Timer2->stop();
}

void exitpro::showBackingUpCaption() {
    setWindowTitle(QStringLiteral("پشتيبان گيري"));
    Timer2->start();
    Timer3->stop();
}

void exitpro::copyCaption() { Check1->setText(windowTitle()); }

void exitpro::confirm() {
    m_confirmed = true;
    if (!Check1->isChecked()) {
        Navigation::endProgram();
        return;
    }
    // The backup window comes up before this dialog goes; the dialog stays loaded, hidden.
    Frmbackup::showNew();
    hide();
}

void exitpro::paintEvent(QPaintEvent *) {
    // Without a border of its own, the dialog draws its edge.
    QPainter painter(this);
    QLinearGradient face(0, 0, 0, height());
    face.setColorAt(0, QColor(246, 248, 252));
    face.setColorAt(1, QColor(220, 228, 240));
    painter.fillRect(rect(), face);
    painter.setPen(QPen(QColor(70, 90, 130), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void exitpro::mouseMoveEvent(QMouseEvent *) {
    m_confirm->showPlain();
    m_cancel->showPlain();
}

void exitpro::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

// Closing without confirming cancels: the main window comes back (loaded anew) before the dialog
// goes.
void exitpro::closeEvent(QCloseEvent *event) {
    if (!m_confirmed)
        Navigation::showMainWindow();
    event->accept();
}
