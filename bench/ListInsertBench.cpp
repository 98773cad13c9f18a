// Inserts 30,000 rows into the real result list through its window port from worker threads,
// the way the eD2k sessions do (each session's rows in one call under the search mutex, at the
// position it read before), while the list is shown. Prints the total time and the longest
// stall of the GUI event loop. Arguments: [sessions (100)] [rows (30000)].
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "gui/Clistdlg.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int kRows = argc > 2 ? std::atoi(argv[2]) : 30000;
    const int sessions = argc > 1 ? std::atoi(argv[1]) : 100;

    Clistdlg page;
    page.resize(1200, 700);
    page.SetupList();
    page.m_list->setGeometry(0, 0, 1200, 700);
    page.show();
    ResultListPort& list = page.port();

    // The event loop's heartbeat: the longest gap between two ticks is the longest stall.
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestStall = 0;
    QTimer heartbeat;
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestStall = std::max(longestStall, now - lastTick);
        lastTick = now;
    });

    std::mutex searchMutex;
    std::atomic_int finished{0};
    std::vector<std::jthread> workers;
    qint64 totalNs = 0;
    QTimer::singleShot(0, [&] {
        clock.start();
        lastTick = 0;
        heartbeat.start();
        for (int s = 0; s < sessions; ++s) {
            workers.emplace_back([&, s] {
                const int rows = kRows / sessions + (s < kRows % sessions ? 1 : 0);
                QList<ResultListPort::Row> answer;
                for (int i = 0; i < rows; ++i) {
                    const QString name = QStringLiteral("Session %1 file %2.mkv").arg(s).arg(i / 2);
                    answer.append({name, QStringLiteral("700.00 MB"), QString::number(i % 9),
                                   QStringLiteral("ed2k://|file|%1|%2|%3|/")
                                       .arg(name)
                                       .arg(1000 + i)
                                       .arg(s * 100000 + i, 32, 16, QLatin1Char('0'))});
                }
                const int pos = list.rowCount();
                std::lock_guard lock(searchMutex);
                list.insertNewRows(pos, answer);
                if (++finished == sessions)
                    QMetaObject::invokeMethod(&application, [&] {
                        totalNs = clock.nsecsElapsed();
                        // Let the view catch up with its last repaint before measuring ends.
                        QTimer::singleShot(50, &application, &QApplication::quit);
                    });
            });
        }
    });
    application.exec();
    heartbeat.stop();
    workers.clear();

    std::printf("list insert bench: %d rows from %d worker threads into the shown list\n",
                page.model().rowCount(), sessions);
    std::printf("  total time:            %8.1f ms\n", totalNs / 1e6);
    std::printf("  longest event-loop stall: %6.1f ms\n", longestStall / 1e6);
    return page.model().rowCount() == kRows ? 0 : 1;
}
