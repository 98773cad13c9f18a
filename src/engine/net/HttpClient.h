#pragma once

#include <QString>

#include "engine/net/HttpLimits.h"
#include "engine/net/HttpReply.h"

// An HTTP/1.0 client with a fixed, browser-like set of headers and hand-made cookies: the caller
// puts the Cookie value in, and reads the Set-Cookie values of the last response out.
// Get and PostForm throw HttpError when the exchange itself fails; an error status is no failure.
class HttpClient {
public:
    virtual ~HttpClient() = default;

    HttpReply Get();
    HttpReply PostForm();
    // The bounds of every exchange from now on (the defaults until set).
    void SetLimits(const HttpLimits& limits) { m_limits = limits; }

    QString m_responseBody;     // body of the last response
    QString m_responseCookies;  // every Set-Cookie value of the last response, no separator
    // The request description: set by callers, never changed by the operations.
    QString m_host;      // "host" or "host:port" (plain HTTP), or "scheme://host[:port]"
    QString m_path;      // path with query; empty means the root document
    QString m_formData;  // body of PostForm, sent in the ANSI code page
    QString m_cookie;    // value of the Cookie header

private:
    HttpReply Exchange(bool post);

    HttpLimits m_limits;
};
