#pragma once

#include <QString>
#include <atomic>

#include "engine/net/HttpLimits.h"

// What one GET gave: the body decoded from UTF-8, and why it failed, if it did.
struct FetchResult {
    QString body;   // empty unless the status was 200; what arrived when the transfer broke off
    QString error;  // empty on success: the library's reason, or "HTTP STATUS"
    bool timedOut = false;  // it failed on a time limit
};

// One GET of a complete "http://" (or "https://") address. Never throws. cancel, when given
// and set, ends the transfer early; limits, when given, replace the default HTTP limits.
FetchResult FetchUrl(const QString& url, const std::atomic_bool* cancel = nullptr,
                     const HttpLimits* limits = nullptr);

// The body of FetchUrl alone: an empty text when the address cannot be opened or the status is
// not 200; a transfer that breaks off returns what has arrived.
QString FetchUrlText(const QString& url, const std::atomic_bool* cancel = nullptr);
