// The Baidu login and offline download against the simulated Netdisk and passport hosts.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "DevNet.h"
#include "VcodeGif.h"
#include "engine/baidu/BaiduSession.h"
#include "engine/baidu/VcodeImage.h"
#include "engine/net/HttpError.h"
#include "engine/net/TcpConnection.h"
#include "engine/text/FormEncoding.h"

namespace {

using devnet::NetdiskHost;
using devnet::PassportHost;

const std::string kCloudDl = std::string("/rest/2.0/services/cloud_dl?bdstoken=") +
                             PassportHost::kToken + "&bdstoken=" + PassportHost::kToken +
                             "&channel=chunlei&clienttype=0&web=1&app_id=250528";

// A loopback port nothing listens on right now.
quint16 FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A value as the form carries it.
std::string Encoded(const QString& value) {
    return EncodeFormValue(value).toStdString();
}

class BaiduSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_net.Start();
        m_session = BaiduSession(m_net.hosts());
    }

    // The session after a normal, successful login.
    void LogIn() {
        ASSERT_EQ(m_session.SetCredentials(PassportHost::kUserName, PassportHost::kPassword), 0);
        ASSERT_EQ(m_session.Login(), 0);
        m_net.m_netdisk.ClearLog();
        m_net.m_passport.ClearLog();
    }

    std::string NetdiskHostPort() const { return m_net.m_netdisk.hostPort(); }

    devnet::DevNet m_net;
    BaiduSession m_session;
};

TEST_F(BaiduSessionTest, LoginSendsTheThreeRequestsAndBuildsTheSessionCookie) {
    ASSERT_EQ(m_session.SetCredentials("quimb", "s3cret"), 0);
    EXPECT_EQ(m_session.Login(), 0);
    EXPECT_EQ(m_session.m_token, PassportHost::kToken);
    EXPECT_EQ(m_session.m_sessionCookie, QStringLiteral("BAIDUID=%1;BDUSS=%2")
                                             .arg(QString::fromLatin1(NetdiskHost::kBaiduId),
                                                  QString::fromLatin1(PassportHost::kBduss)));

    const auto netdisk = m_net.m_netdisk.log();
    ASSERT_EQ(netdisk.size(), 1u);
    EXPECT_EQ(netdisk[0].target, "/");
    EXPECT_EQ(netdisk[0].cookie, "");  // nothing yet (the empty header's bytes: HttpLayerTest)
    const auto passport = m_net.m_passport.log();
    ASSERT_EQ(passport.size(), 2u);
    EXPECT_EQ(passport[0].target, "/v2/api/?getapi&class=login&tpl=mn&tangram=true");
    // Requests 2 and 3 carry the whole Set-Cookie text of request 1, attributes included.
    EXPECT_EQ(passport[0].cookie, m_session.m_cookie.toStdString());
    EXPECT_NE(passport[0].cookie.find("path=/; domain=.baidu.com"), std::string::npos);
    EXPECT_EQ(passport[1].method, "POST");
    EXPECT_EQ(passport[1].target, "/v2/api/?login");
    EXPECT_EQ(passport[1].cookie, passport[0].cookie);
    EXPECT_EQ(passport[1].body,
              std::string("charset=utf-8&mem_pass=on&token=") + PassportHost::kToken +
                  "&tpl=mn&username=quimb&password=s3cret&codestring=&verifycode=");

    EXPECT_EQ(m_session.FetchDisplayName(), QString::fromUtf8(PassportHost::kDisplayName));
    EXPECT_EQ(m_net.m_passport.log().back().cookie, m_session.m_sessionCookie.toStdString());
}

TEST_F(BaiduSessionTest, FailedLoginsKeepTheStoredCredentials) {
    // No credentials: no request at all.
    EXPECT_EQ(m_session.SetCredentials("", ""), -1);
    EXPECT_EQ(m_session.Login(), -1);
    EXPECT_TRUE(m_net.m_netdisk.log().empty());

    ASSERT_EQ(m_session.SetCredentials("quimb", "wrong"), 0);
    EXPECT_EQ(m_session.Login(), -1);
    // The cookie cutting left the text after "BAIDUID=" in the session cookie.
    EXPECT_TRUE(m_session.m_sessionCookie.startsWith(QString::fromLatin1(NetdiskHost::kBaiduId)));
    // An empty password box keeps the stored pair; the right one logs in.
    EXPECT_EQ(m_session.SetCredentials("quimb", ""), -1);
    EXPECT_EQ(m_session.m_password, "wrong");
    ASSERT_EQ(m_session.SetCredentials("quimb", "s3cret"), 0);
    EXPECT_EQ(m_session.Login(), 0);
}

TEST_F(BaiduSessionTest, VerificationBranchReusesTokenAndCookie) {
    m_net.m_passport.AskCodeOnNextLogin();
    ASSERT_EQ(m_session.SetCredentials("quimb", "s3cret"), 0);
    ASSERT_EQ(m_session.Login(), 403);
    EXPECT_EQ(m_session.m_codeString, PassportHost::kCodeString);
    EXPECT_EQ(m_session.m_vcodeImageUrl, QStringLiteral("http://%1/cgi-bin/genimage?%2")
                                             .arg(QString::fromStdString(m_net.m_vcode.hostPort()),
                                                  QString::fromLatin1(PassportHost::kCodeString)));
    const std::string cookie = m_net.m_passport.log().back().cookie;
    m_net.m_netdisk.ClearLog();
    m_net.m_passport.ClearLog();

    m_session.SetVerifyCode(PassportHost::kVerifyCode);
    EXPECT_EQ(m_session.Login(), 0);
    EXPECT_TRUE(m_net.m_netdisk.log().empty());  // no request 1
    const auto passport = m_net.m_passport.log();
    ASSERT_EQ(passport.size(), 1u);  // no request 2 either
    EXPECT_EQ(passport[0].cookie, cookie);
    EXPECT_EQ(passport[0].body,
              std::string("charset=utf-8&mem_pass=on&token=") + PassportHost::kToken +
                  "&tpl=mn&username=quimb&password=s3cret&codestring=" + PassportHost::kCodeString +
                  "&verifycode=Q7K3");
    EXPECT_TRUE(m_session.m_vcodeImageUrl.isEmpty());
    EXPECT_TRUE(m_session.m_vcodeString.isEmpty());
}

TEST_F(BaiduSessionTest, LoginAnswerCutsFollowTheirMarkers) {
    ASSERT_EQ(m_session.SetCredentials("quimb", "s3cret"), 0);
    // BDUSS in the cookies wins over error=257 in the body.
    m_net.m_passport.SetOverride("/v2/api/?login", 200, "error=257&codestring=abc&",
                                 "BDUSS=xyz; path=/");
    EXPECT_EQ(m_session.Login(), 0);
    EXPECT_EQ(m_session.m_bduss, "xyz");
    m_net.m_passport.SetOverride("/v2/api/?login", 200, "error=257&codestring=abc&");
    EXPECT_EQ(m_session.Login(), 403);
    EXPECT_EQ(m_session.m_codeString, "abc");
    // error=257 without "codestring": the cut starts at position 10 of the body.
    m_net.m_passport.SetOverride("/v2/api/?login", 200, "xxxxxxxxxxCODE&error=257");
    m_session.m_vcodeImageUrl.clear();
    EXPECT_EQ(m_session.Login(), 403);
    EXPECT_EQ(m_session.m_codeString, "CODE");
    // A page without "displayUsername": the text before its first "<".
    m_net.m_passport.SetOverride("/", 200, "Plain Name<br>");
    EXPECT_EQ(m_session.FetchDisplayName(), "Plain Name");
    m_net.m_passport.SetOverride("/", 200, "no tag at all");
    EXPECT_EQ(m_session.FetchDisplayName(), "");
}

TEST_F(BaiduSessionTest, AnEd2kLinkSendsOneAddTaskWithAnEmptySelection) {
    LogIn();
    const QString link =
        QStringLiteral("ed2k://|file|电影 1.mkv|734003200|0123456789ABCDEF0123456789ABCDEF|/");
    EXPECT_EQ(m_session.AddOfflineTask(link), 0);
    const auto log = m_net.m_netdisk.log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].target, kCloudDl);
    EXPECT_EQ(log[0].cookie, m_session.m_sessionCookie.toStdString());
    EXPECT_EQ(log[0].body,
              "method=add_task&app_id=250528&file_sha1=&save_path=/&selected_idx=&task_from=1&"
              "t=1443970187708&source_url=" +
                  Encoded(link) + "&type=4");
    EXPECT_EQ(devnet::FormValue(log[0].body, "source_url"), link.toStdString());
}

// Values with the form's own marks go out encoded and come back whole.
TEST_F(BaiduSessionTest, FormValuesAreEncodedAsABrowserEncodesThem) {
    EXPECT_EQ(EncodeFormValue(QStringLiteral("a&b=c+d%e f~-_.中")),
              "a%26b%3Dc%2Bd%25e%20f~-_.%E4%B8%AD");
    const QString password = QStringLiteral("p&w=1+2%3 密");
    m_net.m_passport.SetPassword(password.toStdString());
    ASSERT_EQ(m_session.SetCredentials(PassportHost::kUserName, password), 0);
    ASSERT_EQ(m_session.Login(), 0);
    EXPECT_EQ(m_net.m_passport.log().back().body.find(password.toStdString()), std::string::npos);

    const QString link = QStringLiteral("ed2k://|file|Tom & Jerry=1+1 100%.avi|1|00|/");
    m_net.m_netdisk.ClearLog();
    EXPECT_EQ(m_session.AddOfflineTask(link), 0);
    ASSERT_EQ(m_net.m_netdisk.log().size(), 1u);
    const std::string body = m_net.m_netdisk.log()[0].body;
    EXPECT_EQ(devnet::FormValue(body, "source_url"), link.toStdString());
    EXPECT_EQ(devnet::FormValue(body, "type"), "4");  // the link did not cut the form in two
}

TEST_F(BaiduSessionTest, MagnetFileChoiceTakesShortExtensions) {
    LogIn();
    const QString link =
        QStringLiteral("magnet:?xt=urn:btih:0123456789ABCDEF0123456789ABCDEF01234567");
    struct Case {
        std::vector<std::string> files;
        const char* selection;
    } cases[] = {
        {{"one.mkv", "two.rmvb", "three.txt", "readme"}, "1%2C3"},
        {{}, "1"},
        {{"a.b.mp4", "noext", "c.avi"}, "1%2C3"},
    };
    for (const Case& c : cases) {
        m_net.m_netdisk.SetFileNames(c.files);
        m_net.m_netdisk.ClearLog();
        EXPECT_EQ(m_session.AddOfflineTask(link), 0);
        const auto log = m_net.m_netdisk.log();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].body, "method=query_magnetinfo&app_id=250528&source_url=" + Encoded(link) +
                                   "&save_path=/&type=4");
        EXPECT_NE(log[1].body.find(std::string("&selected_idx=") + c.selection + "&task_from=1&"),
                  std::string::npos)
            << log[1].body;
        EXPECT_EQ(m_session.m_selectedIdx, c.selection);
    }
}

TEST_F(BaiduSessionTest, AnswerTestsDecideTheResult) {
    LogIn();
    const QString magnet = QStringLiteral("magnet:?xt=urn:btih:00");
    // vip in the file list: -5 and no add-task request.
    m_net.m_netdisk.SetVip(true);
    EXPECT_EQ(m_session.AddOfflineTask(magnet), -5);
    EXPECT_EQ(m_net.m_netdisk.log().size(), 1u);
    m_net.m_netdisk.SetVip(false);

    const std::string path = kCloudDl;
    // error_code 0 followed by a comma is an error; without a comma after it, it is not.
    m_net.m_netdisk.SetOverride(path, 200, R"({"error_code":0,"request_id":1})");
    EXPECT_EQ(m_session.AddOfflineTask(magnet), -1);
    m_net.m_netdisk.SetOverride(path, 200, R"({"request_id":1,"error_code":0})");
    EXPECT_EQ(m_session.AddOfflineTask(magnet), 0);
}

TEST_F(BaiduSessionTest, VipAtTheVeryStartOfTheCookiesDoesNotCount) {
    LogIn();
    const QString link = QStringLiteral("ed2k://|file|a|1|00|/");
    m_net.m_netdisk.SetOverride(kCloudDl, 200, "{}", "vip=1; path=/");
    EXPECT_EQ(m_session.RetryOfflineTask(link), 0);
    m_net.m_netdisk.SetOverride(kCloudDl, 200, "{}", "a=1; vip=1");
    EXPECT_EQ(m_session.RetryOfflineTask(link), -5);
}

TEST_F(BaiduSessionTest, VerificationRequestAndRetry) {
    LogIn();
    m_net.m_netdisk.AskCodeOnNextTask(m_net.m_vcode.hostPort());
    const QString link = QStringLiteral("ed2k://|file|a.mkv|1|00|/");
    ASSERT_EQ(m_session.AddOfflineTask(link), 403);
    EXPECT_EQ(m_session.m_vcodeString, "3a1b2c3d4e");
    EXPECT_EQ(m_session.m_vcodeImageUrl,
              QStringLiteral("http://%1/cgi-bin/genimage?3a1b2c3d4e")
                  .arg(QString::fromStdString(m_net.m_vcode.hostPort())));
    m_session.SetVerifyCode(QStringLiteral("wxyz"));
    EXPECT_EQ(m_session.RetryOfflineTask(link), 0);
    EXPECT_EQ(m_net.m_netdisk.log().back().body,
              "method=add_task&app_id=250528&file_sha1=&save_path=/&selected_idx=&task_from=1&"
              "t=1443970187708&source_url=" +
                  Encoded(link) + "&type=4&input=wxyz&vcode=3a1b2c3d4e");
    // The challenge stays until the next Login, which then takes its verification branch.
    EXPECT_FALSE(m_session.m_vcodeString.isEmpty());
    m_net.m_netdisk.ClearLog();
    m_net.m_passport.ClearLog();
    m_session.Login();
    EXPECT_TRUE(m_net.m_netdisk.log().empty());
    ASSERT_EQ(m_net.m_passport.log().size(), 1u);
    EXPECT_NE(m_net.m_passport.log()[0].body.find("&verifycode=wxyz"), std::string::npos);
}

TEST_F(BaiduSessionTest, AnUnreachableHostRaisesTheLibraryError) {
    ServiceHosts hosts = m_net.hosts();
    hosts.netdisk = QStringLiteral("127.0.0.1:1");
    BaiduSession session(hosts);
    session.SetCredentials("quimb", "s3cret");
    EXPECT_THROW(session.Login(), HttpError);
    EXPECT_THROW(session.AddOfflineTask(QStringLiteral("ed2k://x")), HttpError);
}

// A TLS server with a certificate no authority signed: a Baidu host named without a scheme is
// reached over HTTPS, and the certificate is checked.
TEST_F(BaiduSessionTest, BaiduHostsAreReachedOverVerifiedHttpsByDefault) {
    QTemporaryDir dir;
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    const QString certificate = dir.filePath(QStringLiteral("cert.pem"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("openssl"),
                                {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                                 "-out", certificate, "-days", "1", "-subj", "/CN=127.0.0.1"}),
              0);
    const quint16 port = FreePort();
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(QStringLiteral("openssl"), {"s_server", "-accept", QString::number(port), "-cert",
                                             certificate, "-key", key, "-www", "-quiet"});
    ASSERT_TRUE(server.waitForStarted());
    for (int i = 0; i < 200; ++i) {  // until it listens
        TcpConnection ready;
        if (ready.Connect(htonl(INADDR_LOOPBACK), htons(port),
                          TcpConnection::Clock::now() + std::chrono::milliseconds(100)))
            break;
        QThread::msleep(25);
    }

    ServiceHosts hosts = m_net.hosts();
    hosts.netdisk = QStringLiteral("127.0.0.1:%1").arg(port);
    BaiduSession session(hosts);
    session.SetCredentials("quimb", "s3cret");
    try {
        session.Login();
        ADD_FAILURE() << "an unverified certificate was accepted";
    } catch (const HttpError& error) {
        EXPECT_NE(QString::fromUtf8(error.what()).indexOf(QStringLiteral("certificate")), -1)
            << error.what();
    }
    server.kill();
    server.waitForFinished();
}

TEST_F(BaiduSessionTest, VcodeImageGoesToAPrivateFile) {
    const QString url = QStringLiteral("http://%1/cgi-bin/genimage?abc")
                            .arg(QString::fromStdString(m_net.m_vcode.hostPort()));
    const QString path = DownloadVcodeImage(url);
    ASSERT_EQ(path, VcodeImagePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), devnet::VcodeGif());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // An empty 200 answer makes an empty file; other statuses and bad addresses give "error".
    m_net.m_vcode.SetOverride("/cgi-bin/genimage?empty", 200, "");
    EXPECT_EQ(DownloadVcodeImage(url.left(url.indexOf(u'?')) + "?empty"), path);
    EXPECT_EQ(QFile(path).size(), 0);
    m_net.m_vcode.SetOverride("/cgi-bin/genimage?gone", 404, "gone");
    EXPECT_EQ(DownloadVcodeImage(url.left(url.indexOf(u'?')) + "?gone"), "error");
    EXPECT_EQ(DownloadVcodeImage(QString()), "error");
    EXPECT_EQ(DownloadVcodeImage(QStringLiteral("not an address")), "error");
    EXPECT_THROW(DownloadVcodeImage(QStringLiteral("http://127.0.0.1:1/x")), HttpError);
    QFile::remove(path);
}

}  // namespace
