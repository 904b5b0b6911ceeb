#pragma once

#include <QString>

class DataSource;
class QWidget;

// The dialogs around writing a file for the user: where to save it, and what came of it.
namespace ExportDialogs {
// Asks where to save (Qt's own dialog, the suggested name in the user's documents); the path
// chosen, empty when the user cancels.
QString askSavePath(QWidget *owner, const QString &suggestedName, const QString &nameFilter);
// The notice that the file is saved, or the failure in a box the user closes.
void reportOutcome(QWidget *owner, bool saved, const QString &failure);

// The examinees the directory's grid shows (under its filter) as a CSV file the user chooses,
// with a progress dialog that can stop it. Nothing is left behind when it is stopped or fails.
void exportExaminees(QWidget *owner, const DataSource &shown);
} // namespace ExportDialogs
