#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class WholeFileCheck;

// What the program does when its database turns out damaged while it runs: found by a read that
// meets a damaged page (the database's damage listener), or by the check of the whole file that
// starts once the main window has painted itself. The recovery box says so and offers the way
// back, as at start: leaving ends the program, the file left where it is; with a backup or a new
// database in the file's place, a fresh main window takes the place of every window. A read that
// meets the server's connection lost is told in a box naming the server and libpq's reason.
class DamageRoad : public QObject {
public:
    explicit DamageRoad(QObject *parent = nullptr);
    ~DamageRoad() override;

    // Starts the check of the whole file after the window's first paint.
    void checkAfterFirstPaint(QWidget *mainWindow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void damageFound();
    void offerWayBack();

    WholeFileCheck *m_check = nullptr;
    QPointer<QWidget> m_watchedWindow;
    bool m_onRoad = false;
};
