// quimb: the window.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "gui/CQuimbApp.h"

namespace {

const char kUsage[] =
    "usage: quimb [KEYWORD]\n"
    "       quimb --help | --version\n"
    "\n"
    "Opens the Quimb window. With KEYWORD, searches it at once with the magnet engine.\n"
    "\n"
    "  -h, --help  this text\n"
    "  --version   the version\n"
    "\n"
    "The hosts come from the QUIMB_* environment variables; see quimb(1).\n";

// --help and --version are answered before the window system is asked for a display.
int Answered(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quimb %s\n", QUIMB_VERSION_TEXT);
            return 0;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = Answered(argc, argv); status >= 0) return status;
    CQuimbApp::PrepareProcess();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quimb"));
    QApplication::setApplicationVersion(QStringLiteral(QUIMB_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("quimb"));
    // Qt's own options (-platform, ...) are gone from the arguments by now.
    QCommandLineParser parser;
    if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
        const QString why = parser.errorText().isEmpty() ? QStringLiteral("more than one keyword")
                                                         : parser.errorText();
        std::fprintf(stderr, "quimb: %s\n%s", why.toLocal8Bit().constData(), kUsage);
        return 2;
    }
    CQuimbApp app;
    app.InitInstance(parser.positionalArguments().value(0));
    return 0;
}
