#include "gui/CQuimbApp.h"

#include <unistd.h>
#include <QCoreApplication>

#include "gui/CQuimbDlg.h"

CQuimbDlg* CQuimbApp::m_pMainWnd = nullptr;

void CQuimbApp::PrepareProcess() {
#ifdef QUIMB_HAVE_WEBENGINE
    // The web engine shares GL contexts with the widgets, and its sandbox refuses to run as root.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
}

bool CQuimbApp::InitInstance(const QString& keyword) {
    CQuimbDlg dialog(ServiceHosts::fromEnvironment());
    m_pMainWnd = &dialog;
    if (!keyword.isEmpty()) dialog.SearchAtStart(keyword);
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return false;
}
