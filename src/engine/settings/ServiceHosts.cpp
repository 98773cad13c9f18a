#include "engine/settings/ServiceHosts.h"

#include <QByteArray>
#include <cstdlib>

namespace {

void override(QString& host, const char* variable) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') host = QString::fromLocal8Bit(value).trimmed();
}

}  // namespace

ServiceHosts ServiceHosts::defaults() {
    // Our own hosts are not public yet: the .invalid names fail fast until they are configured.
    return ServiceHosts{
        QStringLiteral("service.quimb.invalid"),
        QStringLiteral("stats.quimb.invalid"),
        QStringLiteral("magnet.quimb.invalid"),
        QStringLiteral("pan.baidu.com"),
        QStringLiteral("passport.baidu.com"),
        QStringLiteral("passport.baidu.com"),
        QString(),
    };
}

ServiceHosts ServiceHosts::fromEnvironment() {
    ServiceHosts hosts = defaults();
    override(hosts.service, "QUIMB_SERVICE_HOST");
    override(hosts.stats, "QUIMB_STATS_HOST");
    override(hosts.magnet, "QUIMB_MAGNET_HOST");
    override(hosts.netdisk, "QUIMB_NETDISK_HOST");
    override(hosts.passport, "QUIMB_PASSPORT_HOST");
    override(hosts.vcode, "QUIMB_VCODE_HOST");
    override(hosts.serverMet, "QUIMB_SERVER_MET");
    return hosts;
}

QString HostUrl(const QString& host, QStringView defaultScheme) {
    if (host.contains(QStringLiteral("://"))) return host;
    return defaultScheme.toString() + QStringLiteral("://") + host;
}
