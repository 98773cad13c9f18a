#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <string>

#include "engine/net/HttpLimits.h"

// One HTTP exchange on libcurl, shared by FetchUrlText and HttpClient: no cookie engine, the
// agent name of the running program, the proxy from the environment, redirects followed,
// the limits of HttpLimits, the body decoded from UTF-8 as it streams in.
struct TransferRequest {
    QByteArray url;
    bool http10 = false;  // request line version HTTP/1.0
    bool post = false;
    QByteArray postBody;                       // bytes sent as the body of a POST
    QList<QByteArray> headers;                 // added in this order after the library's own
    bool keepOnlyStatus200 = false;            // any other final status: keep no body
    QByteArray* rawBody = nullptr;             // when set, the body's bytes go here, not decoded
    const std::atomic_bool* cancel = nullptr;  // set from another thread to end the transfer
    const HttpLimits* limits = nullptr;        // nullptr: the default limits
};

struct TransferResult {
    int code = 0;       // the library's result code, 0 for success
    std::string error;  // the library's description when code != 0
    long status = 0;    // final HTTP status, 0 when none was received
};

// body and cookies receive what has arrived, also when the transfer fails part-way.
TransferResult PerformTransfer(const TransferRequest& request, QString& body, QString* cookies);

// The running program's file name without directory and extension: the User-Agent.
const QByteArray& AgentName();
