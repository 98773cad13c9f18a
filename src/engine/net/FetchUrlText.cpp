#include "engine/net/FetchUrlText.h"

#include <curl/curl.h>

#include "engine/net/CurlTransfer.h"

FetchResult FetchUrl(const QString& url, const std::atomic_bool* cancel, const HttpLimits* limits) {
    FetchResult result;
    try {
        TransferRequest request;
        request.url = url.toUtf8();
        request.keepOnlyStatus200 = true;
        request.cancel = cancel;
        request.limits = limits;
        const TransferResult transfer = PerformTransfer(request, result.body, nullptr);
        if (transfer.code != 0) {
            result.error = QString::fromStdString(transfer.error);
            result.timedOut = transfer.code == CURLE_OPERATION_TIMEDOUT;
        } else if (transfer.status != 200)
            result.error = QStringLiteral("HTTP %1").arg(transfer.status);
    } catch (...) {
        // Out of memory or the like: the fetch fails like any other.
        result.body.clear();
        result.error = QStringLiteral("out of memory");
    }
    return result;
}

QString FetchUrlText(const QString& url, const std::atomic_bool* cancel) {
    return FetchUrl(url, cancel).body;
}
