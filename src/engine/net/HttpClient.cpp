#include "engine/net/HttpClient.h"

#include "engine/net/CurlTransfer.h"
#include "engine/net/HttpError.h"
#include "engine/settings/ServiceHosts.h"
#include "engine/text/AnsiCodec.h"

namespace {

const QByteArray kCommonHeaders[] = {
    "Accept: image/png,*/*;q=0.5",
    "Accept-Language: zh-cn,zh;q=0.5",
    "Accept-Charset: gb2312,utf-8;q=0.7,*;q=0.7",
    "Keep-Alive: 300",
    "Connection: keep-alive",
};

QByteArray CookieHeader(const QString& cookie) {
    // libcurl drops a header written "Name:" with nothing after it; "Name;" sends it empty.
    if (cookie.isEmpty()) return "Cookie;";
    return "Cookie: " + ToAnsi(cookie);
}

}  // namespace

HttpReply HttpClient::Get() {
    return Exchange(false);
}

HttpReply HttpClient::PostForm() {
    return Exchange(true);
}

HttpReply HttpClient::Exchange(bool post) {
    const QString host = m_host;
    QString path = m_path;
    m_responseCookies.clear();
    m_responseBody.clear();

    if (path.isEmpty() || !path.startsWith(u'/')) path.prepend(u'/');
    TransferRequest request;
    request.url = HostUrl(host, u"http").toUtf8() + path.toUtf8();
    request.http10 = true;
    request.limits = &m_limits;
    if (post) {
        request.post = true;
        request.postBody = ToAnsi(m_formData);
        request.headers.append("Content-Type:application/x-www-form-urlencoded");
    }
    for (const QByteArray& header : kCommonHeaders) request.headers.append(header);
    if (!post || !m_cookie.isEmpty()) request.headers.append(CookieHeader(m_cookie));

    const TransferResult result = PerformTransfer(request, m_responseBody, &m_responseCookies);
    if (result.code != 0) throw HttpError(result.code, result.error);
    return HttpReply{m_responseBody, m_responseCookies};
}
