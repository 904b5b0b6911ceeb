#include "info/Credits.h"

#include "common/AppVersion.h"
#include "common/Hosts.h"

#include <QUrl>

namespace {

// Slots 0 to 8 take part in the loop; 9 and 10 are kept empty and never shown.
constexpr int loopedSlots = 9;
constexpr int slotCount = 11;

QString padded(const QString &word) {
    QStringList letters;
    for (const QChar letter : word)
        letters.append(letter);
    return letters.join(QStringLiteral("   "));
}

} // namespace

namespace Credits {

QStringList slotTexts() {
    QStringList texts = {
        QStringLiteral("نام نرم افزار:"),
        QStringLiteral("کلتو (%1)").arg(appTitleAndVersion()),
        QStringLiteral("طراحی و برنامه‌نویسی: گروه نرم‌افزاری کلتو"),
        QStringLiteral("تلفن پشتیبانی: در صفحهٔ تماس وب‌سایت"),
        QStringLiteral("پست الکترونیکی: %1").arg(Hosts::contactEmail()),
        QStringLiteral("وب‌سایت: %1").arg(Hosts::contactWeb()),
        QStringLiteral("فروشگاه: %1").arg(QUrl(Hosts::shopSite()).host()),
    };
    while (texts.size() < slotCount)
        texts.append(QString());
    return texts;
}

QString revealLine() {
    const QStringList words = {QStringLiteral("کلتو"), QStringLiteral("سنجش"), QStringLiteral("سبک‌های"),
                               QStringLiteral("دفاعی")};
    QStringList paddedWords;
    for (const QString &word : words)
        paddedWords.append(padded(word));
    return paddedWords.join(QLatin1Char('.'));
}

} // namespace Credits

CreditLoop::CreditLoop(QStringList slotTexts) : m_slots(std::move(slotTexts)) {}

QString CreditLoop::slotText(int slot) const { return m_slots.value(slot); }

int CreditLoop::position() const { return m_position; }

QString CreditLoop::next() {
    const QString text = slotText(m_position);
    m_position = (m_position + 1) % loopedSlots;
    return text;
}

RevealLine::RevealLine(QString line) : m_line(std::move(line)) {}

QString RevealLine::text() const { return m_line; }

bool RevealLine::step() {
    if (m_search.isEmpty() || m_search == m_replacement)
        return false;
    const int at = m_line.indexOf(m_search);
    if (at >= 0) {
        m_line.replace(at, m_search.size(), m_replacement);
        return true;
    }
    if (m_search == QLatin1String("."))
        return false; // no dot is left: the line is whole and stays so
    m_search = QStringLiteral(".");
    m_replacement = QStringLiteral(" ");
    return true;
}
