#include "widgets/SkinLabel.h"

#include "common/Twips.h"

SkinLabel::SkinLabel(QWidget *parent) : QLabel(parent) {
    setLayoutDirection(Qt::RightToLeft);
    // Captions are shown as stored: a "<" in a clinic name is a character, not markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    // Right to left, the leading edge is the right-hand one.
    setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
}

void SkinLabel::setCaption(const QString &caption) { setText(caption); }

QString SkinLabel::caption() const { return text(); }

void SkinLabel::moveTwips(int left, int top) { move(twipsPoint(left, top)); }
