#pragma once

#include <stdexcept>
#include <string>

// The HTTP library's failure (no connection, unresolved host, broken transfer, time-out) as it
// leaves HttpClient::Get and HttpClient::PostForm: its code and its own description.
class HttpError : public std::runtime_error {
public:
    HttpError(int code, const std::string& description)
        : std::runtime_error(description), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};
