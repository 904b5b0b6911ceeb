#include "info/About.h"

#include "common/PersianFonts.h"
#include "common/Twips.h"

#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSvgRenderer>
#include <QTimer>

namespace {

// The classic 16-colour palette, by entry number, as red, green, blue.
const QColor classicPalette[16] = {
    {0, 0, 0},     {0, 0, 128},     {0, 128, 0},     {0, 128, 128},   {128, 0, 0}, {128, 0, 128},
    {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255},     {0, 255, 0}, {0, 255, 255},
    {255, 0, 0},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
};

// The credits panel's own colours and the box's own fonts: the box has a look of its own in every
// theme (it still inherits the main window's look for its button).
const QColor panelColour(250, 251, 246);
QString boxStyle() {
    QStringList families;
    for (const QString &family : persianTextFamilies())
        families.append(QLatin1Char('"') + family + QLatin1Char('"'));
    return QStringLiteral("QGroupBox#Frame1 { background: rgb(250, 251, 246); border: 1px solid #8a9a5b; "
                          "border-radius: 6px; margin-top: 14px; font-weight: bold; } "
                          "QGroupBox#Frame1::title { subcontrol-origin: margin; subcontrol-position: top left; "
                          "left: 12px; padding: 0 6px; color: #40501c; } "
                          "QGroupBox#Frame1, QLabel, QLineEdit#Text1 { font-family: %1; } "
                          "QLabel, QLineEdit#Text1 { background: transparent; border: none; } "
                          "QLineEdit#Text1 { color: #2f3d12; }")
        .arg(families.join(QStringLiteral(", ")));
}

// The panel's border stands 14 pixels down, halfway through its caption.
constexpr int panelCaptionHeight = 26;

// Each label is one line of the credits.
constexpr int labelLeft = 120;
constexpr int labelHeight = 450;
const int labelTops[] = {1920, 2640, 3240, 3840};

// A label is recycled once its top has risen to this line of its container.
constexpr int recycleLine = 1000;

// Label colours go through the label's own style sheet, which wins over the theme's colour for
// labels (the box inherits the main window's look).
void setTextColour(QLabel *label, const QColor &colour) {
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour.name()));
    // Some colours of the cycle (light green, light yellow) are too pale to read on the light panel
    // alone: they get a soft dark edge.
    auto *edge = qobject_cast<QGraphicsDropShadowEffect *>(label->graphicsEffect());
    if (!edge) {
        edge = new QGraphicsDropShadowEffect(label);
        edge->setOffset(1, 1);
        edge->setBlurRadius(2);
        label->setGraphicsEffect(edge);
    }
    edge->setColor(colour.lightnessF() > 0.45 ? QColor(0, 0, 0, 150) : QColor(0, 0, 0, 0));
}

// A strip over one end of the credits panel that fades the rolling labels out at the top and in at
// the bottom, so that no label jumps into or out of sight.
class FadeStrip : public QWidget {
public:
    FadeStrip(QWidget *parent, bool opaqueAtTop) : QWidget(parent), m_opaqueAtTop(opaqueAtTop) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QLinearGradient fade(0, 0, 0, height());
        QColor clear = panelColour;
        clear.setAlpha(0);
        fade.setColorAt(m_opaqueAtTop ? 0.0 : 1.0, panelColour);
        fade.setColorAt(0.45, m_opaqueAtTop ? panelColour : clear);
        fade.setColorAt(m_opaqueAtTop ? 1.0 : 0.0, clear);
        QPainter(this).fillRect(rect(), fade);
    }

private:
    bool m_opaqueAtTop;
};

} // namespace

About::About(QWidget *parent) : QDialog(parent), m_credits(Credits::slotTexts()), m_reveal(Credits::revealLine()) {
    setObjectName(QStringLiteral("About"));
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(QStringLiteral("about"));
    setStyleSheet(boxStyle());
    m_background = new QSvgRenderer(QStringLiteral(":/info/pictures/about.svg"), this);
    buildControls();

    move(twipsPoint(1100, 1200));
    Text1->setText(m_reveal.text());
    for (int slot = 0; slot < m_labels.size(); ++slot)
        m_labels.at(slot)->setText(m_credits.slotText(slot));

    Timer1 = addTimer("Timer1", 700);
    connect(Timer1, &QTimer::timeout, this, &About::changeColours);
    Timer10 = addTimer("Timer10", 55);
    connect(Timer10, &QTimer::timeout, this, &About::scrollCredits);
    Timer3 = addTimer("Timer3", 1);
    connect(Timer3, &QTimer::timeout, this, &About::revealNext);
}

QTimer *About::addTimer(const char *name, int intervalMs) {
    auto *timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    timer->start();
    return timer;
}

void About::buildControls() {
    // The size of the background picture, 562 x 478 pixels.
    setFixedSize(twipsSize(8430, 7170));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(240, 150, 7950, 600));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setAlignment(Qt::AlignCenter);
    Text1->setFrame(false);
    QFont lineFont = Text1->font();
    lineFont.setPointSizeF(lineFont.pointSizeF() * 1.6);
    lineFont.setBold(true);
    Text1->setFont(lineFont);

    Frame1 = new QGroupBox(QStringLiteral("درباره"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(240, 780, 7950, 5640));

    QFont labelFont = font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 1.2);
    labelFont.setBold(true);
    for (int index = 0; index < 4; ++index) {
        auto *label = new QLabel(Frame1);
        label->setObjectName(QStringLiteral("Label%1").arg(index + 1));
        label->setGeometry(twipsRect(labelLeft, labelTops[index], 7950 - 2 * labelLeft, labelHeight));
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        label->setFont(labelFont);
        setTextColour(label, QColor(30, 42, 58));
        m_labels.append(label);
    }
    buildFades();

    Command1 = new QPushButton(QStringLiteral("خروج"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(3315, 6555, 1800, 480));
    connect(Command1, &QPushButton::clicked, this, &About::close);
}

void About::buildFades() {
    // Inside the panel's border, below its caption.
    const QRect inside = Frame1->rect().adjusted(2, panelCaptionHeight, -2, -2);
    // Over the top of the panel, down to a little below where a label is recycled.
    auto *top = new FadeStrip(Frame1, true);
    top->setGeometry(inside.left(), inside.top(), inside.width(), twips(recycleLine + labelHeight) - inside.top());
    auto *bottom = new FadeStrip(Frame1, false);
    const int bottomHeight = twips(labelHeight + 300);
    bottom->setGeometry(inside.left(), inside.bottom() + 1 - bottomHeight, inside.width(), bottomHeight);
}

void About::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    m_background->render(&painter, rect());
}

void About::scrollCredits() {
    for (QLabel *label : std::as_const(m_labels)) {
        if (label->y() <= twips(recycleLine)) {
            label->move(label->x(), frameGeometry().height() - twips(1500));
            label->setText(m_credits.next());
            break;
        }
    }
    for (QLabel *label : std::as_const(m_labels))
        label->move(label->x(), label->y() - twips(15));
}

void About::changeColours() {
    if (m_colourCounter > 15)
        m_colourCounter = 0;
    setTextColour(m_labels.at(0), classicPalette[m_colourCounter]);
    m_colourCounter += 2;

    auto *random = QRandomGenerator::global();
    const auto channel = [random] { return qRound(random->generateDouble() * 255); };
    const int red = channel();
    const int green = channel();
    const int blue = channel();
    setTextColour(m_labels.at(2), QColor(red, green, blue));
}

void About::revealNext() {
    if (m_reveal.step())
        Text1->setText(m_reveal.text());
    else
        Timer3->stop();
}
