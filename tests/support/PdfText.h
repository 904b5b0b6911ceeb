#pragma once

#include <QString>
#include <QStringList>

// What a command-line tool prints on its standard output; empty when it did not finish in time.
QString toolOutput(const QString &program, const QStringList &arguments);

// pdftotext gives the shaped letters' presentation forms, the Farsi yeh for a medial Arabic yeh
// (one glyph serves both), Arabic-Indic digits for Persian ones, and marks the direction of its
// runs: texts are compared after folding these look-alikes together and dropping the marks.
QString foldedText(const QString &text);

// The text of a PDF file as pdftotext lays it out, folded.
QString pdfText(const QString &path);
