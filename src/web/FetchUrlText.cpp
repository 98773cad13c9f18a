#include "web/FetchUrlText.h"

#include "web/CurlTransfer.h"

QString FetchUrlText(const QString& url, const std::atomic_bool* cancel) {
    QString body;
    try {
        TransferRequest request;
        request.url = url.toUtf8();
        request.keepOnlyStatus200 = true;
        request.cancel = cancel;
        const TransferResult result = PerformTransfer(request, body, nullptr);
        if (result.status != 200) body.clear();
    } catch (...) {
        // Out of memory or the like: the fetch fails like any other.
    }
    return body;
}
