#include "engine/text/WindowsCommandLine.h"

QStringList SplitWindowsCommandLine(const QString& commandLine) {
    QStringList args;
    const qsizetype n = commandLine.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && (commandLine[i] == u' ' || commandLine[i] == u'\t')) ++i;
        if (i >= n) break;
        QString arg;
        bool quoted = false;
        while (i < n) {
            const QChar c = commandLine[i];
            if (!quoted && (c == u' ' || c == u'\t')) break;
            if (c == u'\\') {
                qsizetype slashes = 0;
                while (i < n && commandLine[i] == u'\\') ++slashes, ++i;
                if (i < n && commandLine[i] == u'"') {
                    arg += QString(slashes / 2, u'\\');
                    if (slashes % 2 == 1) {
                        arg += u'"';
                        ++i;
                    }
                } else {
                    arg += QString(slashes, u'\\');
                }
                continue;
            }
            if (c == u'"') {
                if (quoted && i + 1 < n && commandLine[i + 1] == u'"') {
                    arg += u'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
                continue;
            }
            arg += c;
            ++i;
        }
        args.append(arg);
    }
    return args;
}

QString BuildXmpCommandLine(const QString& link, const QString& name) {
    return QStringLiteral("\"%1\" /sname %2 /sstartfrom Quimb /sopenfrom Quimb").arg(link, name);
}
