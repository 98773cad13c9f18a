#pragma once

#include <QString>
#include <atomic>

// One GET of a complete "http://" address. Returns the body decoded from UTF-8, or an empty text
// when the address cannot be opened or the status is not 200; a transfer that breaks off returns
// what has arrived. Never throws. cancel, when given and set, ends the transfer early.
QString FetchUrlText(const QString& url, const std::atomic_bool* cancel = nullptr);
