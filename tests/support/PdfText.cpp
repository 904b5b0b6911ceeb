#include "PdfText.h"

#include <QProcess>

QString toolOutput(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

QString foldedText(const QString &text) {
    QString result = text.normalized(QString::NormalizationForm_KC);
    result.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    for (QChar &c : result) {
        if (c == QChar(0x06CC))
            c = QChar(0x064A);
        else if (c.unicode() >= 0x0660 && c.unicode() <= 0x0669)
            c = QChar(0x06F0 + c.unicode() - 0x0660);
    }
    return result;
}

QString pdfText(const QString &path) {
    return foldedText(toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}));
}
