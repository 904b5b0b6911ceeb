#include "scoring/DataRPrint.h"
#include "widgets/PersianApplication.h"
#include "support/PdfText.h"

#include <QApplication>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList valueLabels{"Label29", "Label30", "Label31", "Label32", "Label33", "Label34", "Label35", "Label43",
                              "Label44", "Label45", "Label46", "Label47", "Label48", "Label55", "Label56", "Label57",
                              "Label58", "Label59", "Label66", "Label67", "Label68", "Label69", "Label70"};

int pdfPages(const QString &path) {
    return QRegularExpression(R"(Pages:\s+(\d+))").match(toolOutput("pdfinfo", {path})).captured(1).toInt();
}

struct Word {
    QRectF box; // points
    QString text;
};

QList<Word> pdfWords(const QString &path) {
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    for (const auto &m : word.globalMatch(toolOutput("pdftotext", {"-bbox", path, "-"})))
        words.append({QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                      m.captured(5)});
    return words;
}

// Where a label of the layout lies on the A4 page, in points: the report is centred across the
// sheet, one inch below its top edge.
QRectF labelOnPage(const DataRPrint &report, const QString &name) {
    const ReportLabel *label = report.layout().section(detailSectionName())->label(name);
    const double left = (595.0 - report.layout().width / 20.0) / 2;
    return {left + label->left / 20.0, 72 + label->top / 20.0, label->width / 20.0, label->height / 20.0};
}

DataRPrint examineeReport() {
    DataRPrint report;
    const QList<QPair<QString, QString>> captions{{"Label9", "کلينيک روانشناسي آرامش"},
                                                  {"Label5", "مريم"},
                                                  {"Label10", "کريمي اصفهاني"},
                                                  {"Label11", "34"},
                                                  {"Label17", "زن"},
                                                  {"Label19", "متاهل"},
                                                  {"Label21", "الف"},
                                                  {"Label12", "کارشناسي"},
                                                  {"Label13", "1403/02/15"},
                                                  {"Label14", "تهران خيابان ملاصدرا پلاک ۱۲"}};
    for (const auto &[label, text] : captions)
        report.setCaption(label, text);
    for (int box = 0; box < valueLabels.size(); ++box)
        report.setCaption(valueLabels[box], QString::number(box + 2));
    return report;
}

} // namespace

class DataRPrintTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void textsOnThePage_data();
    void textsOnThePage();
    void valuesInTheirPlaces_data();
    void valuesInTheirPlaces();
    void rowsOfTheDataSource_data();
    void rowsOfTheDataSource();
    void emptyClinicKeepsTheCaptions();
    void longValueDoesNotRunIntoItsNeighbour();
    void exportToMissingFolderFails();
    void previewIsOwnerlessAndGoesWhenClosed();

private:
    QString exported(const DataRPrint &report, const QString &name);

    QTemporaryDir m_dir;
    QString m_filled;
    QString m_page;
    QList<Word> m_words;
};

QString DataRPrintTest::exported(const DataRPrint &report, const QString &name) {
    const QString path = m_dir.filePath(name);
    QString error;
    if (!report.exportPdf(path, &error))
        qWarning() << error;
    return path;
}

// Painted as in the program: right to left throughout.
void DataRPrintTest::initTestCase() {
    setUpPersianApplication(*qApp);
    QVERIFY(m_dir.isValid());
    m_filled = exported(examineeReport(), "filled.pdf");
    m_page = pdfText(m_filled);
    m_words = pdfWords(m_filled);
    QVERIFY(!m_words.isEmpty());
    QCOMPARE(pdfPages(m_filled), 1);
}

void DataRPrintTest::textsOnThePage_data() {
    QTest::addColumn<QString>("text");
    for (const char *text :
         {"کلينيک روانشناسي آرامش", "مريم", "کريمي اصفهاني", "متاهل", "1403/02/15", "تهران خيابان ملاصدرا پلاک ۱۲",
          "گزارش نتيجه تست سبک هاي دفاعي Kelto", "خيالپردازي اوتيستيک", "support@kelto.example"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void DataRPrintTest::textsOnThePage() {
    QFETCH(QString, text);
    QVERIFY2(m_page.contains(foldedText(text)), qPrintable(m_page));
}

void DataRPrintTest::valuesInTheirPlaces_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("value");
    for (int box = 0; box < valueLabels.size(); ++box)
        QTest::newRow(qPrintable(valueLabels[box])) << valueLabels[box] << QString::number(box + 2);
    QTest::newRow("age") << "Label11"
                         << "34";
    QTest::newRow("date") << "Label13"
                          << "1403/02/15";
}

// Each score stands centred under its caption, in its own row; the examinee's details keep to the
// right edge of their labels, beside their captions.
void DataRPrintTest::valuesInTheirPlaces() {
    QFETCH(QString, label);
    QFETCH(QString, value);
    const DataRPrint report;
    const QRectF place = labelOnPage(report, label);
    const bool centred = report.layout().section(detailSectionName())->label(label)->alignment & Qt::AlignHCenter;
    const auto found = std::find_if(m_words.cbegin(), m_words.cend(), [&](const Word &word) {
        const double offset = centred ? word.box.center().x() - place.center().x() : word.box.right() - place.right();
        return word.text == value && qAbs(offset) < 1.5 && word.box.top() > place.top() - 3 &&
               word.box.top() < place.bottom();
    });
    QVERIFY2(found != m_words.cend(), qPrintable(QString("no %1 at %2,%3").arg(value).arg(place.x()).arg(place.y())));
}

void DataRPrintTest::rowsOfTheDataSource_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("examineeShown");
    QTest::newRow("no row: a blank form") << 0 << 1 << false;
    QTest::newRow("one row") << 1 << 1 << true;
    QTest::newRow("three rows") << 3 << 3 << true;
}

void DataRPrintTest::rowsOfTheDataSource() {
    QFETCH(int, rows);
    QFETCH(int, pages);
    QFETCH(bool, examineeShown);
    DataRPrint report = examineeReport();
    report.setRowCount(rows);
    const QString path = exported(report, QString("rows%1.pdf").arg(rows));
    QCOMPARE(pdfPages(path), pages);
    const QString page = pdfText(path);
    QVERIFY(page.contains(foldedText("سبک هاي دفاعي رشد نايافته")));
    QVERIFY(page.contains(foldedText("کلينيک روانشناسي آرامش")));
    QCOMPARE(page.contains(foldedText("کريمي اصفهاني")), examineeShown);
    QCOMPARE(page.count(foldedText("نمره کل")), 3 * pages);
}

void DataRPrintTest::emptyClinicKeepsTheCaptions() {
    DataRPrint report = examineeReport();
    report.setCaption("Label9", {});
    report.setCaption("Label14", {});
    const QString path = exported(report, "noclinic.pdf");
    QCOMPARE(pdfPages(path), 1);
    const QString page = pdfText(path);
    for (const char *caption : {"گزارش نتيجه تست سبک هاي دفاعي Kelto", "آدرس", "نام خانوادگي", "والايش", "مريم"})
        QVERIFY2(page.contains(foldedText(QString::fromUtf8(caption))), caption);
    QVERIFY(!page.contains(foldedText("روانشناسي")));
}

// A family name far longer than its label is drawn smaller, not over the age caption beside it.
void DataRPrintTest::longValueDoesNotRunIntoItsNeighbour() {
    DataRPrint report;
    report.setCaption("Label10", "عبدالحسين زاده قره باغي تبريزي اصفهاني");
    const QRectF row = labelOnPage(report, "Label10");
    QList<QRectF> glyphs;
    for (const Word &word : pdfWords(exported(report, "long.pdf")))
        if (qAbs(word.box.top() - row.top()) < 4)
            glyphs << word.box;
    QVERIFY(glyphs.size() > 20);
    for (int i = 0; i < glyphs.size(); ++i)
        for (int j = i + 1; j < glyphs.size(); ++j)
            QVERIFY2(glyphs[i].intersected(glyphs[j]).width() < 0.5, qPrintable(QString::number(glyphs[i].x())));
}

void DataRPrintTest::exportToMissingFolderFails() {
    QString error;
    QVERIFY(!DataRPrint().exportPdf(m_dir.filePath("missing/report.pdf"), &error));
    QVERIFY(!error.isEmpty());
}

void DataRPrintTest::previewIsOwnerlessAndGoesWhenClosed() {
    QPointer<QWidget> preview = examineeReport().showPreview();
    QVERIFY(preview);
    QVERIFY(preview->isVisible());
    QVERIFY(!preview->parentWidget());
    QVERIFY(!preview->isModal());
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QVERIFY(pages);
    QTRY_COMPARE(pages->pageCount(), 1);
    preview->close();
    QTRY_VERIFY(preview.isNull());
}

QTEST_MAIN(DataRPrintTest)
#include "DataRPrintTest.moc"
