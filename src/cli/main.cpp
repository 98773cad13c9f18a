// quimb-cli: the engine without a window. Runs the start-up sequence, one search, and prints
// the final result list as TAB-separated lines.
#include <pthread.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "engine/search/HostReport.h"
#include "engine/search/MemoryWindow.h"
#include "engine/search/SearchDriver.h"
#include "engine/settings/ServiceHosts.h"
#include "engine/startup/ServerMet.h"
#include "engine/startup/ServerTable.h"
#include "engine/startup/StartupSequence.h"
#include "engine/text/TextCut.h"
#include "res/ResourceIds.h"

namespace {

const char kUsage[] =
    "usage: quimb-cli search [--engine magnet|ed2k] [--server-met FILE] KEYWORD\n"
    "       quimb-cli --help | --version\n"
    "\n"
    "Runs Quimb's start-up sequence and one search, then prints every row of the result\n"
    "list on stdout: file name, size, sources, link, separated by TAB (UTF-8). Backslash,\n"
    "TAB, CR, LF and NUL inside a cell are written \\\\, \\t, \\r, \\n, \\0. The count text\n"
    "and notices go to stderr. The engine is magnet unless --engine ed2k is given.\n"
    "\n"
    "  --server-met FILE  the eD2k servers of this server.met file join the list from the\n"
    "                     service host (default: QUIMB_SERVER_MET; at most 100 servers)\n"
    "\n"
    "Hosts come from QUIMB_SERVICE_HOST, QUIMB_STATS_HOST, QUIMB_MAGNET_HOST (host or\n"
    "host:port). A host that cannot be reached is named on stderr with the reason.\n"
    "\n"
    "Exit status: 0 the search ran (with or without rows); 2 usage error (a --server-met\n"
    "file that cannot be read included); 3 nothing could be reached; 130 or 143\n"
    "interrupted by SIGINT or SIGTERM (the rows found so far are printed).\n";

void Notice(const QString& text) {
    std::fprintf(stderr, "quimb-cli: %s\n", text.toUtf8().constData());
}

// The start-up sequence's window, told on stderr.
class CliStartupWindow : public StartupWindow {
public:
    void NavigateAdPage(const QString&) override {}
    bool AskUpdate(const QString& published) override {
        Notice(QStringLiteral("有新版本：%1（当前 %2）")
                   .arg(PrintableServerText(published.trimmed()), GetOwnVersionText()));
        return false;
    }
    void OpenUpdateArchive(const QString&) override {}
    void EndDialogOk() override {}
    void ReportFailure(const QString& host, const QString& reason) override {
        Notice(host + QStringLiteral(": ") + reason);
        m_failedHosts << host;
    }
    bool failed(const QString& host) const { return m_failedHosts.contains(host); }

private:
    QStringList m_failedHosts;
};

// SIGINT and SIGTERM, taken by a watcher thread instead of ending the process, so that the
// rows found so far can still be printed. Block them before any other thread starts.
class StopSignals {
public:
    StopSignals() {
        sigemptyset(&m_signals);
        sigaddset(&m_signals, SIGINT);
        sigaddset(&m_signals, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
        m_watcher = std::thread([this] {
            while (!m_done) {
                const timespec slice{0, 50'000'000};
                const int signal = sigtimedwait(&m_signals, nullptr, &slice);
                if (signal > 0) {
                    m_signal = signal;
                    m_stopped = true;
                    return;
                }
            }
        });
    }
    ~StopSignals() {
        m_done = true;
        m_watcher.join();
    }
    // The signal received, 0 while none has been.
    int signal() const { return m_signal; }
    // Raised when a signal has come.
    const std::atomic_bool& stopped() const { return m_stopped; }

private:
    sigset_t m_signals;
    std::atomic_int m_signal{0};
    std::atomic_bool m_stopped{false};
    std::atomic_bool m_done{false};
    std::thread m_watcher;
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
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
    return out;
}

int UsageError(const QString& why) {
    Notice(why);
    std::fputs(kUsage, stderr);
    return 2;
}

struct Options {
    bool magnet = true;
    QString serverMet;
    QString keyword;
};

// Reads the command line into options. Returns the exit status when the program ends here
// (--help, --version, a usage error), -1 when a search is to run.
int ParseArguments(const QStringList& arguments, Options& options) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("this text"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("the version"));
    // The usage text is our own (kUsage); the descriptions here only name the values.
    const QCommandLineOption engine(QStringLiteral("engine"), QStringLiteral("magnet or ed2k"),
                                    QStringLiteral("engine"));
    const QCommandLineOption serverMet(QStringLiteral("server-met"),
                                       QStringLiteral("a server.met file"), QStringLiteral("file"));
    parser.addOptions({help, version, engine, serverMet});
    if (!parser.parse(arguments)) return UsageError(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("quimb-cli %s\n", GetOwnVersionText().toUtf8().constData());
        return 0;
    }
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty() || words[0] != QStringLiteral("search"))
        return UsageError(QStringLiteral("no command given"));
    if (words.size() > 2)
        return UsageError(QStringLiteral("more than one keyword (quote a keyword with spaces)"));
    if (words.size() < 2 || words[1].isEmpty())
        return UsageError(QStringLiteral("no keyword given"));
    options.keyword = words[1];
    if (parser.isSet(engine)) {
        const QString value = parser.value(engine);
        if (value != QStringLiteral("magnet") && value != QStringLiteral("ed2k"))
            return UsageError(QStringLiteral("--engine needs magnet or ed2k"));
        options.magnet = value == QStringLiteral("magnet");
    }
    if (parser.isSet(serverMet)) {
        options.serverMet = parser.value(serverMet);
        if (options.serverMet.isEmpty())
            return UsageError(QStringLiteral("--server-met needs a file"));
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    StopSignals stop;
    QCoreApplication app(argc, argv);
    Options options;
    if (const int status = ParseArguments(QCoreApplication::arguments(), options); status >= 0)
        return status;
    const bool magnet = options.magnet;
    QString serverMet = options.serverMet;
    const QString keyword = options.keyword;

    const ServiceHosts hosts = ServiceHosts::fromEnvironment();
    // A file named on the command line must be readable; one named by the variable is a
    // wish, and a problem with it only a warning.
    const bool namedHere = !serverMet.isEmpty();
    if (!namedHere) serverMet = hosts.serverMet;
    QByteArray serverMetData;
    if (!serverMet.isEmpty()) {
        QString error;
        if (!ReadServerMetFile(serverMet, serverMetData, error)) {
            if (namedHere) return UsageError(error);
            Notice(error);
            serverMet.clear();
        }
    }

    ServerTable servers;
    CliStartupWindow startup;
    RunStartupSequence(hosts, startup, servers, &stop.stopped());
    if (!serverMet.isEmpty()) {
        const QString problem = AddServerMetFile(serverMet, serverMetData, servers);
        if (!problem.isEmpty()) Notice(problem);
    }

    MemoryDialog dialog;
    MemoryResultList list;
    dialog.setText(res::IDC_KEYWORD, keyword);
    dialog.setChecked(magnet ? res::IDC_MAGNET_ENGINE : res::IDC_ED2K_ENGINE, true);
    bool nothingReached = false;
    if (!stop.stopped()) {
        SearchDriver driver(dialog, list, servers, hosts);
        driver.OnSearch();
        // A stop signal cancels the search; its rows so far are printed all the same.
        while (driver.IsRunning() && !stop.stopped())
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (stop.stopped()) driver.Cancel();
        driver.WaitUntilEnded();
        const HostReport& report = *driver.report();
        const auto failures = report.failures();
        if (!stop.stopped()) {
            for (const auto& [host, reason] : failures)
                Notice(host + QStringLiteral(": ") + reason);
        }
        // Nothing could be reached: the engine's hosts all failed, or for eD2k the service host
        // that lists the servers did.
        nothingReached = !report.anyReached() &&
                         (!failures.isEmpty() || (!magnet && startup.failed(hosts.service)));
    }

    std::fprintf(stderr, "%s\n", dialog.text(res::IDC_COUNT).toUtf8().constData());
    for (const MemoryResultList::Row& row : list.rows()) {
        const QByteArray line = EscapeCell(row[0]) + '\t' + EscapeCell(row[1]) + '\t' +
                                EscapeCell(row[2]) + '\t' + EscapeCell(row[3]) + '\n';
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    }
    std::fflush(stdout);
    if (stop.signal() != 0) {
        Notice(QStringLiteral("search interrupted"));
        return 128 + stop.signal();
    }
    return nothingReached ? 3 : 0;
}
