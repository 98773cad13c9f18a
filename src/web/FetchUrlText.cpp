#include "web/FetchUrlText.h"

#include "web/CurlTransfer.h"

QString FetchUrlText(const QString& url, const std::atomic_bool* cancel) {
    QString body;
    try {
        TransferRequest request;
        request.url = url.toUtf8();
        request.keepOnlyStatus200 = true;
        request.cancel = cancel;
        PerformTransfer(request, body, nullptr);
    } catch (...) {
        // Out of memory or the like: the fetch fails like any other.
    }
    return body;
}
