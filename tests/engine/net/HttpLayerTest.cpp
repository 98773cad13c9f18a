#include <gtest/gtest.h>

#include <chrono>

#include "RawHttpServer.h"
#include "engine/net/FetchUrlText.h"
#include "engine/net/HttpClient.h"
#include "engine/net/HttpError.h"
#include "engine/net/HttpLimits.h"

namespace {

std::string Head(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
}

std::string Ok(const std::string& body, const std::string& extraHeaders = "") {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html; charset=gbk\r\n" + extraHeaders +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// A port on which nothing listens: bind, read the port, close.
QString DeadHost() {
    int port = 0;
    {
        RawHttpServer probe;
        port = probe.port();
    }
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

TEST(HttpClient, GetSendsTheFixedHeadersInOrderWithAnEmptyCookie) {
    RawHttpServer server;
    server.SetResponse(Ok("hello"));
    HttpClient client;
    client.m_host = QString::fromStdString(server.hostPort());
    const HttpReply reply = client.Get();
    EXPECT_EQ(reply.body, "hello");

    const std::string head = Head(server.requests().at(0));
    const std::string expected =
        "GET / HTTP/1.0\r\n"
        "Host: " +
        server.hostPort() +
        "\r\n"
        "User-Agent: quimb_tests\r\n"
        "Accept: image/png,*/*;q=0.5\r\n"
        "Accept-Language: zh-cn,zh;q=0.5\r\n"
        "Accept-Charset: gb2312,utf-8;q=0.7,*;q=0.7\r\n"
        "Keep-Alive: 300\r\n"
        "Connection: keep-alive\r\n"
        "Cookie:\r\n"
        "\r\n";
    EXPECT_EQ(head, expected);
}

TEST(HttpClient, PostSendsContentTypeFirstTheAnsiBodyAndNoEmptyCookie) {
    RawHttpServer server;
    server.SetResponse(Ok("done"));
    HttpClient client;
    client.m_host = QString::fromStdString(server.hostPort());
    client.m_path = QStringLiteral("/v2/api/?login");
    client.m_formData = QStringLiteral("username=中&password=p w");
    client.PostForm();

    const std::string request = server.requests().at(0);
    const std::string head = Head(request);
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "POST /v2/api/?login HTTP/1.0");
    const auto contentType = head.find("Content-Type:application/x-www-form-urlencoded\r\n");
    ASSERT_NE(contentType, std::string::npos);
    EXPECT_LT(contentType, head.find("Accept: image/png"));
    EXPECT_EQ(head.find("Cookie"), std::string::npos);
    // The locale's charset stands in for the ANSI code page: UTF-8 here, 3 bytes for 中.
    const std::string body = "username=中&password=p w";
    EXPECT_NE(head.find("Content-Length: " + std::to_string(body.size()) + "\r\n"),
              std::string::npos);
    EXPECT_EQ(request.substr(head.size()), body);

    client.m_cookie = QStringLiteral("BAIDUID=1;BDUSS=2");
    client.PostForm();
    EXPECT_NE(Head(server.requests().at(1)).find("Cookie: BAIDUID=1;BDUSS=2\r\n"),
              std::string::npos);
    // The request description is left as it was for the next call.
    EXPECT_EQ(client.m_path, "/v2/api/?login");
}

TEST(HttpClient, SetCookieValuesAreJoinedWithoutSeparatorAndNeverSurvive) {
    RawHttpServer server;
    server.SetResponse(Ok("x", "Set-Cookie: A=1; path=/\r\nSet-Cookie: B=2; path=/\r\n"));
    HttpClient client;
    client.m_host = QString::fromStdString(server.hostPort());
    EXPECT_EQ(client.Get().cookies, "A=1; path=/B=2; path=/");
    EXPECT_EQ(client.m_responseCookies, "A=1; path=/B=2; path=/");

    server.SetResponse(Ok("y"));
    EXPECT_EQ(client.Get().cookies, "");
    EXPECT_EQ(client.m_responseBody, "y");
}

TEST(HttpLayer, ErrorStatusIsEmptyForFetchButABodyForGet) {
    RawHttpServer server;
    server.SetResponse("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n\r\nnot there");
    EXPECT_EQ(FetchUrlText(QString::fromStdString("http://" + server.hostPort() + "/a.txt")), "");
    HttpClient client;
    client.m_host = QString::fromStdString(server.hostPort());
    client.m_path = QStringLiteral("/a.txt");
    EXPECT_EQ(client.Get().body, "not there");
}

TEST(HttpLayer, UnreachableHostIsEmptyForFetchAndAnErrorForGetAndPost) {
    const QString host = DeadHost();
    EXPECT_EQ(FetchUrlText("http://" + host + "/version.txt"), "");
    EXPECT_EQ(FetchUrlText(QStringLiteral("not a url at all")), "");

    HttpClient client;
    client.m_host = host;
    client.m_responseBody = QStringLiteral("old");
    try {
        client.Get();
        FAIL() << "no error";
    } catch (const HttpError& error) {
        EXPECT_NE(error.code(), 0);
        EXPECT_FALSE(std::string(error.what()).empty());
    }
    EXPECT_EQ(client.m_responseBody, "");  // emptied before the exchange failed
    EXPECT_THROW(client.PostForm(), HttpError);
}

TEST(HttpLayer, BodyInSeveralPiecesKeepsACharacterSplitAcrossThemWhole) {
    // "中" is E4 B8 AD; the wire splits it after its first byte, then after its second.
    const std::string body =
        "ab\xE4\xB8\xAD"
        "cd\xE6\x96\x87";
    const std::string head =
        "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    using std::chrono::milliseconds;
    RawHttpServer server;
    server.SetResponse({{head + "ab\xE4", milliseconds(0)},
                        {"\xB8", milliseconds(60)},
                        {"\xAD"
                         "cd\xE6\x96",
                         milliseconds(60)},
                        {"\x87", milliseconds(60)}});
    EXPECT_EQ(FetchUrlText(QString::fromStdString("http://" + server.hostPort() + "/")),
              QStringLiteral("ab中cd文"));
    HttpClient client;
    client.m_host = QString::fromStdString(server.hostPort());
    EXPECT_EQ(client.Get().body, QStringLiteral("ab中cd文"));
}

TEST(HttpLayer, InvalidUtf8BecomesReplacementCharacters) {
    RawHttpServer server;
    server.SetResponse(
        Ok("a\xFF"
           "b"));
    EXPECT_EQ(FetchUrlText(QString::fromStdString("http://" + server.hostPort() + "/")),
              QStringLiteral("a\uFFFDb"));
}

TEST(HttpLimitsTest, ASilentHostEndsTheFetchWithWhatArrived) {
    HttpLimits limits;
    limits.stallTimeoutMs = 300;
    RawHttpServer server;
    server.SetResponse({{"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\npartial", {}},
                        {"never in time", std::chrono::milliseconds(4000)}});
    const auto start = std::chrono::steady_clock::now();
    const FetchResult result =
        FetchUrl(QString::fromStdString("http://" + server.hostPort() + "/"), nullptr, &limits);
    EXPECT_EQ(result.body, "partial");
    EXPECT_TRUE(result.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(HttpLimitsTest, AHugeBodyIsCutAtTheCap) {
    HttpLimits limits;
    limits.maxBodyBytes = 1000;
    RawHttpServer server;
    server.SetResponse(Ok(std::string(5000, 'x')));
    EXPECT_EQ(
        FetchUrl(QString::fromStdString("http://" + server.hostPort() + "/"), nullptr, &limits)
            .body.size(),
        1000);
}

}  // namespace
