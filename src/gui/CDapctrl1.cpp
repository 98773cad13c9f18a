#include "gui/CDapctrl1.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

#include "engine/text/WindowsCommandLine.h"

namespace {

QString FindExecutable(const QString& nameOrPath) {
    if (nameOrPath.contains(u'/')) {
        const QFileInfo info(nameOrPath);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(nameOrPath);
}

}  // namespace

bool CDapctrl1::Create() {
    m_program.clear();
    const QString chosen = qEnvironmentVariable("QUIMB_PLAYER");
    if (!chosen.isEmpty()) {
        m_program = FindExecutable(chosen);
    } else {
        for (const char* player : kKnownPlayers) {
            m_program = FindExecutable(QString::fromLatin1(player));
            if (!m_program.isEmpty()) break;
        }
    }
    return !m_program.isEmpty();
}

int CDapctrl1::SetNamedValue(const QString& name, const QString& value) {
    if (name != QLatin1String("sXmpArg") || m_program.isEmpty()) return 0;
    if (!QProcess::startDetached(m_program, SplitWindowsCommandLine(value)))
        throw std::runtime_error(
            QStringLiteral("%1 could not be started").arg(m_program).toStdString());
    return 0;
}
