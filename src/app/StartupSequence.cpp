#include "app/StartupSequence.h"

#include "web/FetchUrlText.h"

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

bool RunStartupSequence(const ServiceHosts& hosts, StartupWindow& window, ServerTable& table) {
    const QString service = QStringLiteral("http://") + hosts.service;
    window.NavigateAdPage(FetchUrlText(service + QStringLiteral("/hostname.txt")));

    const QString published = FetchUrlText(service + QStringLiteral("/version.txt"));
    if (published.isEmpty()) return true;

    // Any difference counts, an older version or a trailing line break included.
    if (GetOwnVersionText() != published && window.AskUpdate(published)) {
        window.OpenUpdateArchive(service + QStringLiteral("/Quimb.7z"));
        window.EndDialogOk();
    }
    (void)FetchUrlText(QStringLiteral("http://") + hosts.stats + QStringLiteral("/Statistics.txt"));
    ParseServerList(FetchUrlText(service + QStringLiteral("/emulesvr.txt")), table);
    return false;
}
