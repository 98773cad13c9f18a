// The Baidu login, the verification-code dialog and the offline download in the real window,
// against the simulated passport, Netdisk and verification-image hosts.
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include "GuiFixture.h"
#include "GuiTestMain.h"
#include "ModalWatcher.h"
#include "engine/baidu/VcodeImage.h"
#include "gui/CVcode.h"
#include "gui/Clistdlg.h"

using devnet::PassportHost;

namespace {

// Answers a verification dialog: types code and confirms, or closes it when code is null.
void AnswerVcode(QDialog* dialog, const char* code) {
    auto* vcode = qobject_cast<CVcode*>(dialog);
    QVERIFY(vcode != nullptr);
    if (code == nullptr) {
        vcode->reject();
        return;
    }
    vcode->m_edit->setText(QString::fromLatin1(code));
    QTest::keyClick(vcode->m_edit, Qt::Key_Return);
}

void AddRow(Clistdlg& page, const QString& name, const QString& link) {
    page.model().InsertNewRows(page.model().rowCount(),
                               {{name, QStringLiteral("1 MB"), QStringLiteral("3"), link}});
}

}  // namespace

class BaiduTest : public QObject {
    Q_OBJECT
private slots:
    void loginLocksTheControlsAndShowsTheDisplayName();
    void failedLoginSaysSoAndKeepsTheBoxes();
    void loginVerificationShowsTheImageAndRerunsEvenWhenCancelled();
    void vcodeDialogKeys();
    void offlineDownloadReportsEachOutcome();
    void offlineDownloadVerificationRetriesOnce();
    void unreachableHostShowsTheLibraryErrorAndTheWindowStaysUsable();
};

void BaiduTest::loginLocksTheControlsAndShowsTheDisplayName() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    gui.Edit(res::IDC_USERNAME)->setText(PassportHost::kUserName);
    QLineEdit* password = gui.Edit(res::IDC_PASSWORD);
    password->setText(PassportHost::kPassword);
    password->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), password);
    ModalWatcher watcher;
    QTest::keyClick(password, Qt::Key_Return);  // Enter in the password box logs in
    QVERIFY(watcher.m_seen.isEmpty());
    QCOMPARE(gui.Edit(res::IDC_USERNAME)->text(), QString::fromUtf8(PassportHost::kDisplayName));
    QCOMPARE(password->text(), QString());
    QVERIFY(!gui.Edit(res::IDC_USERNAME)->isEnabled());
    QVERIFY(!password->isEnabled());
    QVERIFY(!gui.Button(res::IDC_LOGIN)->isEnabled());
    QCOMPARE(dialog.m_baidu.m_sessionCookie,
             QStringLiteral("BAIDUID=%1;BDUSS=%2")
                 .arg(QString::fromLatin1(devnet::NetdiskHost::kBaiduId),
                      QString::fromLatin1(PassportHost::kBduss)));
}

void BaiduTest::failedLoginSaysSoAndKeepsTheBoxes() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    ModalWatcher watcher;
    // Both boxes empty: no request, the failure box.
    QTest::mouseClick(gui.Button(res::IDC_LOGIN), Qt::LeftButton);
    QCOMPARE(watcher.m_seen.size(), 1);
    QCOMPARE(watcher.m_seen[0].text, QStringLiteral("登陆失败"));
    QCOMPARE(watcher.m_seen[0].title, QStringLiteral("错误"));
    QCOMPARE(watcher.m_seen[0].icon, QMessageBox::Critical);
    QVERIFY(gui.m_net.m_netdisk.log().empty());

    gui.Edit(res::IDC_USERNAME)->setText(PassportHost::kUserName);
    gui.Edit(res::IDC_PASSWORD)->setText(QStringLiteral("wrong"));
    dialog.OnLogin();
    QCOMPARE(watcher.m_seen.size(), 2);
    QCOMPARE(watcher.m_seen[1].text, QStringLiteral("登陆失败"));
    QVERIFY(gui.Edit(res::IDC_PASSWORD)->isEnabled());
    QCOMPARE(gui.Edit(res::IDC_PASSWORD)->text(), QStringLiteral("wrong"));
    // The password never reaches a message.
    for (const auto& seen : watcher.m_seen) QVERIFY(!seen.text.contains(QStringLiteral("wrong")));
}

void BaiduTest::loginVerificationShowsTheImageAndRerunsEvenWhenCancelled() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    gui.m_net.m_passport.AskCodeOnNextLogin();
    gui.Edit(res::IDC_USERNAME)->setText(PassportHost::kUserName);
    gui.Edit(res::IDC_PASSWORD)->setText(PassportHost::kPassword);
    ModalWatcher watcher;
    int dialogs = 0;
    QSize pictureSize;
    QString imagePath;
    watcher.m_onDialog = [&](QDialog* shown) {
        auto* vcode = qobject_cast<CVcode*>(shown);
        pictureSize = vcode->m_picture->size();
        imagePath = vcode->m_imagePath;
        QVERIFY(QFile::exists(imagePath));
        // The first dialog is closed without confirming: the login runs again with no code and
        // the passport asks again; the second gets the right code.
        AnswerVcode(shown, ++dialogs == 1 ? nullptr : PassportHost::kVerifyCode);
    };
    dialog.OnLogin();
    QCOMPARE(dialogs, 2);
    QCOMPARE(pictureSize, QSize(80, 30));  // the GIF at its own size
    QVERIFY(!QFile::exists(imagePath));    // deleted on confirmation
    QVERIFY(!gui.Button(res::IDC_LOGIN)->isEnabled());
    QCOMPARE(gui.Edit(res::IDC_USERNAME)->text(), QString::fromUtf8(PassportHost::kDisplayName));
    // The image came from the address the login cut, once per dialog.
    const auto images = gui.m_net.m_vcode.log();
    QCOMPARE(images.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(images[0].target),
             QStringLiteral("/cgi-bin/genimage?%1").arg(PassportHost::kCodeString));
    QVERIFY(!images[0].hasCookie);
}

void BaiduTest::vcodeDialogKeys() {
    GuiFixture gui;
    gui.m_net.Start();
    BaiduSession session(gui.m_net.hosts());
    session.m_vcodeImageUrl = QStringLiteral("http://%1/cgi-bin/genimage?x")
                                  .arg(QString::fromStdString(gui.m_net.m_vcode.hostPort()));
    session.m_verifyCode = QStringLiteral("old");
    CVcode vcode(session);
    vcode.OnShowWindow();
    vcode.show();
    QVERIFY(QTest::qWaitForWindowExposed(&vcode));
    QCOMPARE(vcode.m_picture->pixmap().size(), QSize(80, 30));
    QTest::keyClick(vcode.m_edit, Qt::Key_Escape);
    QVERIFY(vcode.isVisible());
    QCOMPARE(session.m_verifyCode, QStringLiteral("old"));
    // An empty box confirms as an empty code.
    QTest::keyClick(vcode.m_edit, Qt::Key_Enter);
    QVERIFY(!vcode.isVisible());
    QCOMPARE(vcode.result(), int(QDialog::Accepted));
    QCOMPARE(session.m_verifyCode, QString());

    // Not an image: saved, shown as nothing, deleted on confirmation all the same.
    gui.m_net.m_vcode.SetOverride("/cgi-bin/genimage?text", 200, "not a picture");
    session.m_vcodeImageUrl.replace(QStringLiteral("?x"), QStringLiteral("?text"));
    CVcode second(session);
    second.OnShowWindow();
    QVERIFY(second.m_picture->pixmap().isNull());
    QVERIFY(QFile::exists(second.m_imagePath));
    second.OnConfirm();
    QVERIFY(!QFile::exists(second.m_imagePath));
}

void BaiduTest::offlineDownloadReportsEachOutcome() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    Clistdlg& page = *dialog.m_listPage;
    AddRow(page, QStringLiteral("a.mkv"), QStringLiteral("magnet:?xt=urn:btih:00"));
    dialog.ShowResultsTab();
    page.m_list->selectRow(0);
    QCOMPARE(page.GetSelectionMark(), 0);
    ModalWatcher watcher;
    page.OnCommand(res::ID_OFFLINE_DOWNLOAD);
    QCOMPARE(watcher.m_seen.size(), 1);
    QCOMPARE(watcher.m_seen[0].text, QStringLiteral("请先登陆百度"));
    QVERIFY(gui.m_net.m_netdisk.log().empty());

    QVERIFY(dialog.m_baidu.SetCredentials(PassportHost::kUserName, PassportHost::kPassword) == 0);
    QCOMPARE(dialog.m_baidu.Login(), 0);
    page.OnCommand(res::ID_OFFLINE_DOWNLOAD);
    QCOMPARE(watcher.m_seen.size(), 2);
    QCOMPARE(
        watcher.m_seen[1].text,
        QStringLiteral(
            "成功添加任务，请打开百度网盘进行查看\n若网盘里没有，请查看网盘里的离线下载任务列表"));
    QCOMPARE(watcher.m_seen[1].title, QStringLiteral("提示"));
    QCOMPARE(watcher.m_seen[1].icon, QMessageBox::Information);

    gui.m_net.m_netdisk.SetVip(true);
    page.OnCommand(res::ID_OFFLINE_DOWNLOAD);
    QCOMPARE(watcher.m_seen[2].text, QStringLiteral("百度网盘离线任务过多，需要开通百度vip"));
    QCOMPARE(watcher.m_seen[2].title, QStringLiteral("错误"));
    QCOMPARE(watcher.m_seen[2].icon, QMessageBox::Critical);
    gui.m_net.m_netdisk.SetVip(false);

    const std::string cloudDl = gui.m_net.m_netdisk.log().back().target;
    gui.m_net.m_netdisk.SetOverride(cloudDl, 200, R"({"error_code":36038,"request_id":9})");
    page.OnCommand(res::ID_OFFLINE_DOWNLOAD);
    QCOMPARE(watcher.m_seen[3].text, QStringLiteral("种子被态度屏蔽或种子错误，无法下载"));
    QCOMPARE(watcher.m_seen[3].title, QStringLiteral("提示"));
    QCOMPARE(watcher.m_seen[3].icon, QMessageBox::Information);
}

void BaiduTest::offlineDownloadVerificationRetriesOnce() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    Clistdlg& page = *dialog.m_listPage;
    AddRow(page, QStringLiteral("a.mkv"), QStringLiteral("ed2k://|file|a.mkv|1|00|/"));
    page.m_list->selectRow(0);
    QCOMPARE(dialog.m_baidu.SetCredentials(PassportHost::kUserName, PassportHost::kPassword), 0);
    QCOMPARE(dialog.m_baidu.Login(), 0);
    gui.m_net.m_netdisk.ClearLog();
    gui.m_net.m_netdisk.AskCodeOnNextTask(gui.m_net.m_vcode.hostPort());
    ModalWatcher watcher;
    watcher.m_onDialog = [](QDialog* shown) { AnswerVcode(shown, nullptr); };  // cancelled
    page.OnCommand(res::ID_OFFLINE_DOWNLOAD);
    // The dialog, then the success box of the retry that was sent all the same.
    QCOMPARE(watcher.m_seen.size(), 2);
    QVERIFY(watcher.m_seen[1].text.startsWith(QStringLiteral("成功添加任务")));
    const auto log = gui.m_net.m_netdisk.log();
    QCOMPARE(log.size(), std::size_t{2});
    QVERIFY(log[1].body.find("&input=&vcode=3a1b2c3d4e") != std::string::npos);
}

void BaiduTest::unreachableHostShowsTheLibraryErrorAndTheWindowStaysUsable() {
    GuiFixture gui;
    gui.m_net.Start();
    ServiceHosts hosts = gui.m_net.hosts();
    hosts.netdisk = QStringLiteral("127.0.0.1:1");
    CQuimbDlg dialog(hosts);
    dialog.PrepareToRun();
    dialog.show();
    static_cast<QLineEdit*>(dialog.GetDlgItem(res::IDC_USERNAME))->setText(QStringLiteral("quimb"));
    static_cast<QLineEdit*>(dialog.GetDlgItem(res::IDC_PASSWORD))
        ->setText(QStringLiteral("s3cret"));
    ModalWatcher watcher;
    dialog.OnLogin();
    QCOMPARE(watcher.m_seen.size(), 1);
    QCOMPARE(watcher.m_seen[0].icon, QMessageBox::Critical);
    QVERIFY(watcher.m_seen[0].text.contains(QStringLiteral("connect"), Qt::CaseInsensitive));
    QVERIFY(!watcher.m_seen[0].text.contains(QStringLiteral("s3cret")));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.GetDlgItem(res::IDC_LOGIN)->isEnabled());
    // The offline download ends the same way, with the stored credentials.
    AddRow(*dialog.m_listPage, QStringLiteral("a"), QStringLiteral("ed2k://|file|a|1|00|/"));
    dialog.m_listPage->OnCommand(res::ID_OFFLINE_DOWNLOAD);
    QCOMPARE(watcher.m_seen.size(), 2);
    QCOMPARE(watcher.m_seen[1].icon, QMessageBox::Critical);
}

QUIMB_GUI_TEST_MAIN(BaiduTest)
#include "BaiduTest.moc"
