#include "profile/ProfileWindow.h"

#include "common/AsciiDigits.h"
#include "profile/ExportDialogs.h"
#include "scoring/ScoringKey.h"
#include "widgets/Notices.h"
#include "widgets/WaitingMessageBox.h"

#include <QBoxLayout>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>

namespace {
// Pixels of a saved picture for each unit of the page.
constexpr double pictureScale = 1.6;

class ProfilePage : public QWidget {
public:
    ProfilePage(const QList<ProfileSeries> &series, QWidget *parent) : QWidget(parent), m_series(series) {
        setObjectName(QStringLiteral("profilePage"));
        setMinimumSize((ProfileSheet::pageSize * 0.5).toSize());
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        ProfileSheet::paint(painter, rect(), m_series);
    }

private:
    const QList<ProfileSeries> &m_series;
};

QString refusal(const QString &missing) {
    return QString::fromUtf8(refusalText) + QStringLiteral("\n\n") + missing;
}

bool commitOrFail(QSaveFile &file, bool written, QString *error) {
    if (written && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}
} // namespace

ProfileWindow *ProfileWindow::open(const QString &code, QWidget *owner) {
    const ScoreProfile::Examinee examinee = ScoreProfile::read(code);
    if (!examinee.found) {
        showNotice(owner, Notices::deleteCodeNotFound);
        return nullptr;
    }
    auto *window = new ProfileWindow(examinee, owner);
    window->show();
    return window;
}

ProfileWindow::ProfileWindow(const ScoreProfile::Examinee &examinee, QWidget *owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("ProfileWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(QStringLiteral("نيمرخ نمرات") + QStringLiteral(" - ") + examinee.code);
    m_series << ProfileSeries{examinee, ScoreProfile::fromAnswers(examinee.answers), ProfileSheet::seriesColour(0)};
    buildControls();
    showSeries();
}

void ProfileWindow::buildControls() {
    auto *buttons = new QHBoxLayout;
    m_compareCode = new QLineEdit(this);
    m_compareCode->setObjectName(QStringLiteral("compareCode"));
    m_compareCode->setPlaceholderText(QStringLiteral("کد آزمودني را وارد کنيد"));
    m_compareButton = new QPushButton(QStringLiteral("مقايسه"), this);
    m_compareButton->setObjectName(QStringLiteral("compareButton"));
    m_savePdfButton = new QPushButton(QStringLiteral("ذخيره PDF"), this);
    m_savePdfButton->setObjectName(QStringLiteral("savePdfButton"));
    m_savePngButton = new QPushButton(QStringLiteral("ذخيره PNG"), this);
    m_savePngButton->setObjectName(QStringLiteral("savePngButton"));
    auto *closeButton = new QPushButton(QStringLiteral("خروج"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    buttons->addWidget(m_compareCode);
    buttons->addWidget(m_compareButton);
    buttons->addStretch();
    buttons->addWidget(m_savePdfButton);
    buttons->addWidget(m_savePngButton);
    buttons->addWidget(closeButton);

    m_page = new ProfilePage(m_series, this);
    m_refusal = new QLabel(this);
    m_refusal->setObjectName(QStringLiteral("refusalLabel"));
    m_refusal->setWordWrap(true);
    m_refusal->setAlignment(Qt::AlignCenter);
    QFont refusalFont = m_refusal->font();
    refusalFont.setPointSizeF(refusalFont.pointSizeF() * 1.3);
    m_refusal->setFont(refusalFont);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_page, 1);
    layout->addWidget(m_refusal, 1);

    const auto compare = [this]() { compareWith(m_compareCode->text()); };
    connect(m_compareButton, &QPushButton::clicked, this, compare);
    connect(m_compareCode, &QLineEdit::returnPressed, this, compare);
    connect(m_savePdfButton, &QPushButton::clicked, this, [this]() { saveAs(true); });
    connect(m_savePngButton, &QPushButton::clicked, this, [this]() { saveAs(false); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 960);
}

const QList<ProfileSeries> &ProfileWindow::series() const { return m_series; }

void ProfileWindow::showSeries() {
    const ScoreProfile::Profile &profile = m_series.first().profile;
    const bool complete = profile.isComplete();
    m_page->setVisible(complete);
    m_refusal->setVisible(!complete);
    m_refusal->setText(complete ? QString()
                                : ProfileSheet::detailLines(m_series.first().examinee).join(u'\n') +
                                      QStringLiteral("\n\n") + refusal(profile.missing));
    for (QWidget *control : {static_cast<QWidget *>(m_compareCode), static_cast<QWidget *>(m_compareButton),
                             static_cast<QWidget *>(m_savePdfButton), static_cast<QWidget *>(m_savePngButton)})
        control->setEnabled(complete);
    m_page->update();
}

void ProfileWindow::compareWith(const QString &typed) {
    const QString code = withAsciiDigits(typed.trimmed());
    if (code.isEmpty()) {
        showNotice(this, Notices::examineeCodeMissing);
        return;
    }
    const ScoreProfile::Examinee other = ScoreProfile::read(code);
    if (!other.found) {
        showNotice(this, Notices::deleteCodeNotFound);
        return;
    }
    const ScoreProfile::Profile profile = ScoreProfile::fromAnswers(other.answers);
    if (!profile.isComplete()) {
        WaitingMessageBox::show(this, refusal(profile.missing), QStringLiteral("خطا"), QMessageBox::Warning);
        return;
    }
    m_series = {m_series.first(), ProfileSeries{other, profile, ProfileSheet::seriesColour(1)}};
    showSeries();
}

bool ProfileWindow::savePdf(const QString &path, QString *error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return commitOrFail(file, false, error);
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(windowTitle());
    writer.setCreator(QStringLiteral("Kelto"));
    QPainter painter;
    if (!painter.begin(&writer))
        return commitOrFail(file, false, error);
    ProfileSheet::paint(painter, QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height())), m_series);
    return commitOrFail(file, painter.end(), error);
}

bool ProfileWindow::savePng(const QString &path, QString *error) const {
    QImage picture((ProfileSheet::pageSize * pictureScale).toSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        ProfileSheet::paint(painter, picture.rect(), m_series);
    }
    QSaveFile file(path);
    const bool opened = file.open(QIODevice::WriteOnly);
    return commitOrFail(file, opened && picture.save(&file, "PNG"), error);
}

void ProfileWindow::saveAs(bool pdf) {
    // A code may hold characters that separate folders in a path.
    QString name = m_series.first().examinee.code;
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    name += (pdf ? QStringLiteral(".pdf") : QStringLiteral(".png"));
    const QString path =
        ExportDialogs::askSavePath(this, name, pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("PNG (*.png)"));
    if (path.isEmpty())
        return;
    QString failure;
    const bool saved = pdf ? savePdf(path, &failure) : savePng(path, &failure);
    ExportDialogs::reportOutcome(this, saved, failure);
}
