#include "info/Frm2.h"

#include "common/Twips.h"
#include "info/PageRule.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "widgets/FieldBinding.h"
#include "widgets/Notices.h"
#include "widgets/SkinLabel.h"
#include "widgets/SkinObject.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextFrame>

namespace {

QString resourceText(const QString &path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

QString pageText(int number) { return resourceText(QStringLiteral(":/info/pages/page%1.html").arg(number)); }

// The pages are typeset text on their own light green ground: the same in every theme, so the
// window's skin must not reach them.
const char *const pageStyle = "QTextBrowser { background: rgb(206, 231, 131); color: #1f2a12; border: none; "
                              "padding: 0; margin: 0; }";

// Room beside the lines, so the text does not run to the page's edge; little above and below, where
// the page's height is spent on its lines.
void setPageMargins(QTextDocument *document) {
    QTextFrame *page = document->rootFrame();
    QTextFrameFormat format = page->frameFormat();
    format.setLeftMargin(12);
    format.setRightMargin(12);
    format.setTopMargin(4);
    format.setBottomMargin(4);
    page->setFrameFormat(format);
}

} // namespace

Frm2::Frm2(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Frm2"));
    setModal(true);
    setLayoutDirection(Qt::RightToLeft);
    setWindowTitle(QStringLiteral("ويژگي هاي روانسنجي"));
    buildControls();
    applyTheme(Skin1, this, Text1->text());
    buildPages();
    Text2->setText(QStringLiteral("1"));
}

QTextBrowser *Frm2::page(int number) const { return Pic1.at(number - 1); }

void Frm2::buildControls() {
    setFixedSize(twipsSize(9150, 8580));

    Label1 = new SkinLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(240, 540, 1905, 375));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setCaption(QStringLiteral("شماره صفحه"));

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(twipsRect(600, 975, 1185, 435));
    Text2->setAlignment(Qt::AlignCenter);
    connect(Text2, &QLineEdit::textChanged, this, &Frm2::pageNumberChanged);
    Label1->setBuddy(Text2);

    Command2 = new QPushButton(QStringLiteral("بعد"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(240, 1740, 1905, 555));
    connect(Command2, &QPushButton::clicked, this, &Frm2::nextPage);

    Command3 = new QPushButton(QStringLiteral("قبل"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(twipsRect(240, 2400, 1905, 555));
    connect(Command3, &QPushButton::clicked, this, &Frm2::previousPage);

    Command6 = new QPushButton(QStringLiteral("خروج"), this);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command6->setGeometry(twipsRect(240, 7860, 1905, 555));
    connect(Command6, &QPushButton::clicked, this, &Frm2::close);

    Adodc1 = new DataSource(Schema::settingsTable, this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();
    FieldBinding::bind(Text1, Adodc1, Schema::theme);

    Skin1 = new SkinObject(this);
    Skin1->setObjectName(QStringLiteral("Skin1"));
}

void Frm2::buildPages() {
    // One style for the five pages' text, kept beside them.
    const QString pagesStyleSheet = resourceText(QStringLiteral(":/info/pages/pages.css"));
    for (int number = 1; number <= PageRule::lastPage; ++number) {
        auto *box = new QTextBrowser(this);
        box->setObjectName(QStringLiteral("Pic1_%1").arg(number));
        box->setGeometry(twipsRect(2385, 45, 6645, 8415));
        box->setFrameShape(QFrame::NoFrame);
        box->setStyleSheet(QString::fromUtf8(pageStyle));
        box->setOpenLinks(false);
        box->setFocusPolicy(Qt::NoFocus);
        box->document()->setDefaultStyleSheet(pagesStyleSheet);
        box->setHtml(pageText(number));
        setPageMargins(box->document());
        box->hide();
        Pic1.append(box);
    }
}

void Frm2::pageNumberChanged() {
    if (PageRule::step(PageRule::value(Text2->text())) == PageRule::Step::PastLastPage) {
        showNotice(this, Notices::endReached);
        // Shows the last page through this same rule.
        Text2->setText(QString::number(PageRule::lastPage));
    }
    const double value = PageRule::value(Text2->text());
    switch (PageRule::step(value)) {
    case PageRule::Step::FirstPage:
        Text2->setText(QStringLiteral("1"));
        break;
    case PageRule::Step::ShowPage:
        showPage(PageRule::page(value));
        break;
    case PageRule::Step::PastLastPage:
    case PageRule::Step::KeepPage:
        break;
    }
}

void Frm2::showPage(int number) {
    for (QTextBrowser *box : std::as_const(Pic1))
        box->hide();
    page(number)->show();
}

void Frm2::nextPage() { Text2->setText(PageRule::moved(Text2->text(), +1)); }

void Frm2::previousPage() { Text2->setText(PageRule::moved(Text2->text(), -1)); }
