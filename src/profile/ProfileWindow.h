#pragma once

#include "profile/ProfileSheet.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// An examinee's score profile, opened from the examinee directory: their details and the profile
// page, with a second examinee laid over it for comparison ("مقايسه": the same person before and
// after therapy, re-tested under another code), saved as PDF or PNG. An examinee with missing
// answers has no profile: the window says which items are missing instead.
class ProfileWindow : public QWidget {
    Q_OBJECT
public:
    // Opens the window on the examinee of the code, not modal, over the owner; null (after the
    // notice that there is no such examinee) when the code has no answer row.
    static ProfileWindow *open(const QString &code, QWidget *owner);

    // "مقايسه" with the code typed: that examinee's bars beside this one's.
    void compareWith(const QString &code);
    // The page as drawn on screen, written whole or not at all; error receives the failure.
    bool savePdf(const QString &path, QString *error = nullptr) const;
    bool savePng(const QString &path, QString *error = nullptr) const;

    const QList<ProfileSeries> &series() const;

private:
    ProfileWindow(const ScoreProfile::Examinee &examinee, QWidget *owner);
    void buildControls();
    void showSeries();
    void saveAs(bool pdf);

    QList<ProfileSeries> m_series;
    QWidget *m_page;
    QLabel *m_refusal;
    QLineEdit *m_compareCode;
    QPushButton *m_compareButton;
    QPushButton *m_savePdfButton;
    QPushButton *m_savePngButton;
};
