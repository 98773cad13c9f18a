// quimb-cli: the engine without a window. Runs the start-up sequence, one search, and prints
// the final result list as TAB-separated lines.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/ServerTable.h"
#include "app/StartupSequence.h"
#include "ed2k/ServerMet.h"
#include "platform/MemoryWindow.h"
#include "platform/ServiceHosts.h"
#include "res/ResourceIds.h"
#include "search/SearchDriver.h"

namespace {

const char kUsage[] =
    "usage: quimb-cli search [--engine magnet|ed2k] [--server-met FILE] KEYWORD\n"
    "\n"
    "Runs Quimb's start-up sequence and one search, then prints every row of the result\n"
    "list on stdout: file name, size, sources, link, separated by TAB (UTF-8). Backslash,\n"
    "TAB, CR and LF inside a cell are written \\\\, \\t, \\r, \\n. The count text and notices\n"
    "go to stderr. The engine is magnet unless --engine ed2k is given.\n"
    "\n"
    "  --server-met FILE  the eD2k servers of this server.met file join the list from the\n"
    "                     service host (default: QUIMB_SERVER_MET; at most 100 servers)\n"
    "\n"
    "Hosts come from QUIMB_SERVICE_HOST, QUIMB_STATS_HOST, QUIMB_MAGNET_HOST (host or\n"
    "host:port). Exit status: 0 search ended, 2 usage error (a --server-met file that\n"
    "cannot be read included).\n";

// The start-up sequence's window, told on stderr.
class CliStartupWindow : public StartupWindow {
public:
    void NavigateAdPage(const QString&) override {}
    bool AskUpdate(const QString& published) override {
        std::fprintf(stderr, "quimb-cli: 有新版本：%s（当前 %s）\n",
                     published.trimmed().toUtf8().constData(),
                     GetOwnVersionText().toUtf8().constData());
        return false;
    }
    void OpenUpdateArchive(const QString&) override {}
    void EndDialogOk() override {}
};

QByteArray EscapeCell(const QString& cell) {
    QByteArray out;
    for (const char c : cell.toUtf8()) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

int UsageError(const char* why) {
    if (why != nullptr) std::fprintf(stderr, "quimb-cli: %s\n", why);
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc < 2 || std::strcmp(argv[1], "search") != 0) return UsageError("no command given");

    bool magnet = true;
    QString serverMet;
    QString keyword;
    bool haveKeyword = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--engine" || arg.rfind("--engine=", 0) == 0) {
            std::string value;
            if (arg == "--engine") {
                if (i + 1 >= argc) return UsageError("--engine needs magnet or ed2k");
                value = argv[++i];
            } else {
                value = arg.substr(9);
            }
            if (value == "magnet")
                magnet = true;
            else if (value == "ed2k")
                magnet = false;
            else
                return UsageError("--engine needs magnet or ed2k");
            continue;
        }
        if (arg == "--server-met" || arg.rfind("--server-met=", 0) == 0) {
            if (arg == "--server-met") {
                if (i + 1 >= argc) return UsageError("--server-met needs a file");
                serverMet = QString::fromLocal8Bit(argv[++i]);
            } else {
                serverMet = QString::fromLocal8Bit(arg.substr(13));
            }
            if (serverMet.isEmpty()) return UsageError("--server-met needs a file");
            continue;
        }
        if (arg == "--") {
            if (i + 1 < argc && !haveKeyword) {
                keyword = QString::fromLocal8Bit(argv[++i]);
                haveKeyword = true;
            }
            if (i + 1 < argc) return UsageError("more than one keyword");
            break;
        }
        if (arg.size() > 1 && arg[0] == '-') return UsageError("unknown option");
        if (haveKeyword) return UsageError("more than one keyword (quote a keyword with spaces)");
        keyword = QString::fromLocal8Bit(argv[i]);
        haveKeyword = true;
    }
    if (!haveKeyword || keyword.isEmpty()) return UsageError("no keyword given");

    const ServiceHosts hosts = ServiceHosts::fromEnvironment();
    // A file named on the command line must be readable; one named by the variable is a
    // wish, and a problem with it only a warning.
    const bool namedHere = !serverMet.isEmpty();
    if (!namedHere) serverMet = hosts.serverMet;
    QByteArray serverMetData;
    if (!serverMet.isEmpty()) {
        QString error;
        if (!ReadServerMetFile(serverMet, serverMetData, error)) {
            if (namedHere) return UsageError(error.toUtf8().constData());
            std::fprintf(stderr, "quimb-cli: %s\n", error.toUtf8().constData());
            serverMet.clear();
        }
    }

    ServerTable servers;
    CliStartupWindow startup;
    RunStartupSequence(hosts, startup, servers);
    if (!serverMet.isEmpty()) {
        const QString problem = AddServerMetFile(serverMet, serverMetData, servers);
        if (!problem.isEmpty())
            std::fprintf(stderr, "quimb-cli: %s\n", problem.toUtf8().constData());
    }

    MemoryDialog dialog;
    MemoryResultList list;
    dialog.setText(res::IDC_KEYWORD, keyword);
    dialog.setChecked(magnet ? res::IDC_MAGNET_ENGINE : res::IDC_ED2K_ENGINE, true);
    {
        SearchDriver driver(dialog, list, servers, hosts);
        driver.OnSearch();
        driver.WaitUntilEnded();
    }

    std::fprintf(stderr, "%s\n", dialog.text(res::IDC_COUNT).toUtf8().constData());
    for (const MemoryResultList::Row& row : list.rows()) {
        const QByteArray line = EscapeCell(row[0]) + '\t' + EscapeCell(row[1]) + '\t' +
                                EscapeCell(row[2]) + '\t' + EscapeCell(row[3]) + '\n';
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    }
    std::fflush(stdout);
    return 0;
}
