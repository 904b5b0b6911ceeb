#pragma once

#include <memory>

class FrmCode;
class QTableView;

// The examinee directory's grid (DataGrid1).
QTableView *gridOf(FrmCode *window);
// Opens the directory and waits until its grid has painted the first screen; milliseconds. For the
// directory's benchmarks on either engine.
double openDirectory(std::unique_ptr<FrmCode> *window);
