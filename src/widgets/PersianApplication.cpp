#include "widgets/PersianApplication.h"

#include "common/PersianFonts.h"
#include "widgets/KeyboardAccess.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QTranslator>

namespace {

// Persian texts drawn with an underlined shortcut letter lose the joining of their letters.
class PersianStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == QStyle::SH_UnderlineShortcut)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The texts of Qt's standard buttons and dialogs (OK, Yes, No, the file dialog) in Persian.
void installPersianQtTexts(QApplication &app) {
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

void setUpPersianApplication(QApplication &app) {
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setStyle(new PersianStyle);

    usePersianApplicationFont();
    mapReportFontNames();

    installPersianQtTexts(app);
    KeyboardAccess::install(app);
}
