// quimb: the window.
#include <QApplication>

#include "gui/CQuimbApp.h"

int main(int argc, char** argv) {
    CQuimbApp::PrepareProcess();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quimb"));
    QApplication::setApplicationVersion(QStringLiteral(QUIMB_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("quimb"));
    CQuimbApp app;
    app.InitInstance();
    return 0;
}
