#pragma once

#include <QString>

// What HttpClient::Get and HttpClient::PostForm hand back: the body of the last response and all
// its Set-Cookie values joined without a separator.
struct HttpReply {
    QString body;
    QString cookies;
};
