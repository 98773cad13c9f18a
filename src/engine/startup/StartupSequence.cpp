#include "engine/startup/StartupSequence.h"

#include <QStringList>

#include "engine/net/FetchUrlText.h"

#ifndef QUIMB_VERSION_MAJOR
#error "the build defines the product version"
#endif

QString GetOwnVersionText() {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(QUIMB_VERSION_MAJOR)
        .arg(QUIMB_VERSION_MINOR)
        .arg(QUIMB_VERSION_PATCH)
        .arg(QUIMB_VERSION_TWEAK);
}

HttpLimits StartupHttpLimits() {
    HttpLimits limits;
    limits.connectTimeoutMs = 5000;
    limits.stallTimeoutMs = 15000;
    limits.totalTimeoutMs = 15000;
    return limits;
}

bool RunStartupSequence(const ServiceHosts& hosts, StartupWindow& window, ServerTable& table,
                        const std::atomic_bool* cancel) {
    const HttpLimits limits = StartupHttpLimits();
    QStringList failedHosts;
    QStringList slowHosts;
    // The body of one start-up file; a failure is reported once per host, and a host that ran
    // into a time limit is not asked again: its files count as empty.
    auto fetch = [&](const QString& host, const QString& path) {
        if (slowHosts.contains(host)) return QString();
        FetchResult result = FetchUrl(HostUrl(host, u"http") + path, cancel, &limits);
        if (result.timedOut) slowHosts << host;
        if (!result.error.isEmpty() && !failedHosts.contains(host)) {
            failedHosts << host;
            window.ReportFailure(host, result.error);
        }
        return result.body;
    };
    window.NavigateAdPage(fetch(hosts.service, QStringLiteral("/hostname.txt")));

    const QString published = fetch(hosts.service, QStringLiteral("/version.txt"));
    if (published.isEmpty()) return true;

    // Any difference counts, an older version or a trailing line break included.
    if (GetOwnVersionText() != published && window.AskUpdate(published)) {
        window.OpenUpdateArchive(HostUrl(hosts.service, u"http") + QStringLiteral("/Quimb.7z"));
        window.EndDialogOk();
    }
    (void)fetch(hosts.stats, QStringLiteral("/Statistics.txt"));
    ParseServerList(fetch(hosts.service, QStringLiteral("/emulesvr.txt")), table);
    return false;
}
