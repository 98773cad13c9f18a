#pragma once

#include <QString>

// The outside hosts the program talks to, each "host" or "host:port", or with the scheme to use
// ("http://host:port"). Built-in defaults, each overridable by one environment variable
// (QUIMB_SERVICE_HOST, ...). The Baidu hosts are reached over HTTPS unless their setting names
// another scheme; the others over plain HTTP.
struct ServiceHosts {
    QString service;   // hostname.txt, version.txt, emulesvr.txt, Quimb.7z
    QString stats;     // Statistics.txt
    QString magnet;    // the magnet search site
    QString netdisk;   // Baidu Netdisk
    QString passport;  // Baidu passport
    QString vcode;     // Baidu verification images
    // A server.met file whose servers join the server list (QUIMB_SERVER_MET); empty: none.
    QString serverMet;

    static ServiceHosts defaults();
    // The defaults with every QUIMB_* variable that is set and not empty applied.
    static ServiceHosts fromEnvironment();
};

// The address of a host setting's root, without a trailing "/": the setting itself when it
// names its scheme, else defaultScheme + "://" + the setting.
QString HostUrl(const QString& host, QStringView defaultScheme);
