#pragma once

class FrmTest;
class QWidget;

// A test run from the main window: the code is asked for, the examinee's answer row decides
// whether the examinee exists, and the test window opens modally on that examinee. The test
// window is loaded once and kept, hidden, between runs; after a run closes it is loaded anew
// and made ready for the next one.
namespace TestRun {
void open(QWidget *mainWindow);
// The loaded test window; null before the first run of the program.
FrmTest *window();
} // namespace TestRun
