#pragma once

#include <QString>

class CQuimbDlg;

// The application object: prepares the process and runs the one main window.
class CQuimbApp {
public:
    // What must happen before the QApplication exists (the web engine's settings).
    static void PrepareProcess();
    // Runs the main window modally, searching keyword at once when it is not empty. Returns
    // false: the process ends when the window has closed.
    bool InitInstance(const QString& keyword = {});

    // The main window while it runs, for code that needs the window itself.
    static CQuimbDlg* m_pMainWnd;
};
