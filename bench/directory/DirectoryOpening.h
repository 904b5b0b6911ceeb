#pragma once

#include <memory>

class FrmCode;
class QString;
class QTableView;

// Copies the skin files into the folder and makes it the working folder, as a program folder the
// directory's window is drawn in.
void useAsProgramFolder(const QString &folder, const QString &skins);

// The examinee directory's grid (DataGrid1).
QTableView *gridOf(FrmCode *window);
// Opens the directory and waits until its grid has painted the first screen; milliseconds. For the
// directory's benchmarks on either engine.
double openDirectory(std::unique_ptr<FrmCode> *window);
