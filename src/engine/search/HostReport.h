#pragma once

#include <QList>
#include <QString>
#include <mutex>
#include <utility>

// Which hosts of a search could not be reached, and why, and whether any could: threads of
// the search write it, the caller reads it once the search has ended.
class HostReport {
public:
    using Failure = std::pair<QString, QString>;  // host, reason

    // The first failure of each host is kept.
    void Failed(const QString& host, const QString& reason) {
        std::lock_guard lock(m_mutex);
        for (const Failure& failure : m_failures)
            if (failure.first == host) return;
        m_failures.append({host, reason});
    }
    void Reached() {
        std::lock_guard lock(m_mutex);
        m_reached = true;
    }

    QList<Failure> failures() const {
        std::lock_guard lock(m_mutex);
        return m_failures;
    }
    bool anyReached() const {
        std::lock_guard lock(m_mutex);
        return m_reached;
    }

private:
    mutable std::mutex m_mutex;
    QList<Failure> m_failures;
    bool m_reached = false;
};
