#pragma once

// quimb-cli as a child process on the simulated network, for the end-to-end tests.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdint>
#include <vector>

#include "engine/settings/ServiceHosts.h"

// Starts quimb-cli with the service, statistics and magnet hosts of hosts and no server.met;
// extra settings override those.
inline void StartCli(QProcess& process, const ServiceHosts& hosts, const QStringList& arguments,
                     const QProcessEnvironment& extra = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUIMB_SERVICE_HOST"), hosts.service);
    environment.insert(QStringLiteral("QUIMB_STATS_HOST"), hosts.stats);
    environment.insert(QStringLiteral("QUIMB_MAGNET_HOST"), hosts.magnet);
    environment.remove(QStringLiteral("QUIMB_SERVER_MET"));
    environment.insert(extra);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUIMB_CLI_PATH), arguments);
}

// A fixture file; false when it cannot be written.
inline bool WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}
