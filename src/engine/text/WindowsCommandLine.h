#pragma once

#include <QString>
#include <QStringList>

// Splits a command line into arguments the way a Windows program's start-up code does:
// blanks and tabs separate, quotes group (a doubled quote inside a group is a literal quote),
// 2n backslashes before a quote give n backslashes, 2n+1 give n and a literal quote, and
// backslashes before anything else stay as they are.
QStringList SplitWindowsCommandLine(const QString& commandLine);

// The player's command line for a link: "\"link\" /sname name /sstartfrom Quimb /sopenfrom Quimb".
QString BuildXmpCommandLine(const QString& link, const QString& name);
