// The real main window on the offscreen platform, against the simulated network.
#include <QAction>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTableView>
#include <QTest>

#include "GuiFixture.h"
#include "GuiTestMain.h"
#include "ModalWatcher.h"
#include "engine/ed2k/Ed2kSession.h"
#include "engine/search/MemoryWindow.h"
#include "engine/search/SearchDriver.h"
#include "gui/CExplorer1.h"
#include "gui/Ciedlg.h"
#include "gui/Clistdlg.h"
#include "gui/DialogUnits.h"
#include "gui/TabControl.h"

namespace {

// Records the addresses the desktop is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> m_opened;
public slots:
    void open(const QUrl& url) { m_opened.append(url); }
};

// Every row the engine finds for keyword with its in-memory window on the same network.
QList<MemoryResultList::Row> RowsFromEngine(devnet::DevNet& net, const QString& keyword,
                                            bool ed2k) {
    MemoryDialog dialog;
    MemoryResultList list;
    ServerTable servers;
    if (ed2k) {
        dialog.setChecked(res::IDC_ED2K_ENGINE, true);
        for (const auto& server : net.m_ed2kServers)
            ParseServerList(QString::fromStdString(server->ListEntry()), servers);
    }
    dialog.setText(res::IDC_KEYWORD, keyword);
    SearchDriver driver(dialog, list, servers, net.hosts());
    driver.OnSearch();
    driver.WaitUntilEnded();
    return list.rows();
}

QList<MemoryResultList::Row> RowsOf(Clistdlg& page) {
    QList<MemoryResultList::Row> rows;
    for (int r = 0; r < page.model().rowCount(); ++r)
        rows.append({page.GetItemText(r, 0), page.GetItemText(r, 1), page.GetItemText(r, 2),
                     page.GetItemText(r, 3)});
    return rows;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void controlsShowTheirTexts();
    void enterInTheKeywordBoxSearchesOnlyWithAKeyword();
    void enterInTheUserNameBoxMovesToThePassword();
    void tabsSwitchPages();
    void magnetSearchFillsTheListAndReleasesTheButton();
    void ed2kSearchShowsProgressAndRowsOfEveryServer();
    void layoutFollowsTheTemplateThenTheWindowSize();
    void updateQuestionOnlyForADifferentVersion_data();
    void updateQuestionOnlyForADifferentVersion();
    void answeringYesOpensTheArchiveAndEndsTheWindow();
    void unreachableServiceHostStillOpensWithTheKeywordFocused();
    void aboutBoxFromF1AndTheContextMenu();
    void closingDuringAnEd2kSearchEndsItsThreads();
    void aRunningSearchCanBeStoppedAndKeepsItsRows();
};

void MainWindowTest::controlsShowTheirTexts() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quimb种子搜索器"));
    QCOMPARE(gui.Button(res::IDC_SEARCH)->text(), QStringLiteral("搜索"));
    QVERIFY(gui.Button(res::IDC_SEARCH)->isDefault());
    QCOMPARE(gui.Button(res::IDC_LOGIN)->text(), QStringLiteral("登陆"));
    QCOMPARE(gui.Radio(res::IDC_MAGNET_ENGINE)->text(),
             QStringLiteral("磁力引擎（XP下搜索汉字可能会失败)"));
    QCOMPARE(gui.Radio(res::IDC_ED2K_ENGINE)->text(),
             QStringLiteral("电驴引擎(资源更全面，但搜索速度较慢)"));
    QVERIFY(gui.Radio(res::IDC_MAGNET_ENGINE)->isChecked());
    QCOMPARE(gui.Edit(res::IDC_PASSWORD)->echoMode(), QLineEdit::Password);
    auto* count = static_cast<QLabel*>(dialog.GetDlgItem(res::IDC_COUNT));
    QCOMPARE(count->text(), QStringLiteral("共搜到：0"));
    QCOMPARE(count->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(dialog.m_tab->tabBar()->count(), 2);
    QCOMPARE(dialog.m_tab->tabBar()->tabText(0), QStringLiteral("广告"));
    QCOMPARE(dialog.m_tab->tabBar()->tabText(1), QStringLiteral("搜索"));
    QCOMPARE(dialog.m_tab->GetCurSel(), 0);
    QVERIFY(dialog.m_adPage->isVisible());
    QVERIFY(!dialog.m_listPage->isVisible());
    // The ad page shows the published address.
    QVERIFY(dialog.m_adPage->m_browser->LocationURL().startsWith(QStringLiteral("http://")));
    auto* list = dialog.m_listPage->m_list;
    const QStringList headings = {QStringLiteral("文件名"), QStringLiteral("文件大小"),
                                  QStringLiteral("可用源数(仅针对电驴搜索结果)"),
                                  QStringLiteral("链接地址")};
    const int widths[] = {400, 100, 100, 400};
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(list->model()->headerData(c, Qt::Horizontal).toString(), headings[c]);
        QCOMPARE(list->columnWidth(c), widths[c]);
    }
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
}

void MainWindowTest::enterInTheKeywordBoxSearchesOnlyWithAKeyword() {
    GuiFixture gui;
    gui.m_net.m_magnet.SetTotalHits(25);
    gui.m_net.m_magnet.SetDelayMs(300);
    CQuimbDlg& dialog = gui.Open();
    QLineEdit* keyword = gui.Edit(res::IDC_KEYWORD);
    keyword->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), keyword);

    QTest::keyClick(keyword, Qt::Key_Return);
    QTest::qWait(100);
    QVERIFY(gui.m_net.m_magnet.requests().empty());
    QCOMPARE(dialog.m_tab->GetCurSel(), 0);
    QVERIFY(!dialog.IsSearching());

    keyword->setText(QStringLiteral("abc"));
    QTest::keyClick(keyword, Qt::Key_Return);
    // The result page is in front before the first page has arrived.
    QCOMPARE(dialog.m_tab->GetCurSel(), 1);
    QVERIFY(dialog.m_listPage->isVisible());
    QVERIFY(!dialog.m_adPage->isVisible());
    QCOMPARE(dialog.m_listPage->model().rowCount(), 0);
    QVERIFY(dialog.IsSearching());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsSearching(), 20000);
    QCOMPARE(dialog.m_listPage->model().rowCount(), 25);
}

void MainWindowTest::enterInTheUserNameBoxMovesToThePassword() {
    GuiFixture gui;
    gui.Open();
    QLineEdit* userName = gui.Edit(res::IDC_USERNAME);
    userName->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), userName);
    QTest::keyClick(userName, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), gui.Edit(res::IDC_PASSWORD));
}

void MainWindowTest::tabsSwitchPages() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    QTabBar* bar = dialog.m_tab->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(dialog.m_tab->GetCurSel(), 1);
    QVERIFY(dialog.m_listPage->isVisible());
    QVERIFY(!dialog.m_adPage->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    QVERIFY(dialog.m_adPage->isVisible());
    QVERIFY(!dialog.m_listPage->isVisible());
    // A search selects the result tab by program; a click on "广告" still brings the ad back.
    dialog.ShowResultsTab();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    QVERIFY(dialog.m_adPage->isVisible());
    QVERIFY(!dialog.m_listPage->isVisible());
}

void MainWindowTest::magnetSearchFillsTheListAndReleasesTheButton() {
    GuiFixture gui;
    gui.m_net.m_magnet.SetTotalHits(45);
    gui.m_net.m_magnet.SetDelayMs(200);
    CQuimbDlg& dialog = gui.Open();
    gui.Edit(res::IDC_KEYWORD)->setText(QStringLiteral("星际穿越"));
    QTest::mouseClick(gui.Button(res::IDC_SEARCH), Qt::LeftButton);
    QTRY_VERIFY(!gui.Button(res::IDC_SEARCH)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(gui.Button(res::IDC_SEARCH)->isEnabled(), 20000);
    QVERIFY(!dialog.IsSearching());

    const auto expected = RowsFromEngine(gui.m_net, QStringLiteral("星际穿越"), false);
    QCOMPARE(expected.size(), 45);
    QCOMPARE(RowsOf(*dialog.m_listPage), expected);
    auto* count = static_cast<QLabel*>(dialog.GetDlgItem(res::IDC_COUNT));
    QCOMPARE(count->text(), QStringLiteral("共搜到：45"));
    QCOMPARE(count->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

void MainWindowTest::ed2kSearchShowsProgressAndRowsOfEveryServer() {
    GuiFixture gui;
    devnet::Ed2kServerConfig slow;
    slow.answerDelayMs = 2500;  // long enough for the caption to pass ".." twice
    slow.seed = 7;
    gui.m_net.AddEd2kServer(slow);
    devnet::Ed2kServerConfig packed;
    packed.packed = true;
    packed.segments = 3;
    packed.seed = 8;
    gui.m_net.AddEd2kServer(packed);
    devnet::Ed2kServerConfig refusing;
    refusing.mode = devnet::Ed2kMode::Refuse;
    gui.m_net.AddEd2kServer(refusing);
    CQuimbDlg& dialog = gui.Open();
    QCOMPARE(dialog.serverTable().m_serverCount, 3);

    gui.Radio(res::IDC_ED2K_ENGINE)->setChecked(true);
    QVERIFY(!gui.Radio(res::IDC_MAGNET_ENGINE)->isChecked());
    gui.Edit(res::IDC_KEYWORD)->setText(QStringLiteral("movie"));
    dialog.OnSearch();
    QPushButton* search = gui.Button(res::IDC_SEARCH);
    QTRY_COMPARE(search->text(), QStringLiteral("正在搜索.."));
    QVERIFY(!search->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(search->isEnabled(), 20000);
    QCOMPARE(search->text(), QStringLiteral("搜索"));

    auto expected = RowsFromEngine(gui.m_net, QStringLiteral("movie"), true);
    auto shown = RowsOf(*dialog.m_listPage);
    QVERIFY(!shown.isEmpty());
    // Sessions finish in any order; the set of rows is what counts.
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    QCOMPARE(shown, expected);
    auto* count = static_cast<QLabel*>(dialog.GetDlgItem(res::IDC_COUNT));
    QCOMPARE(count->text(), QStringLiteral("共搜到：%1").arg(shown.size()));
}

void MainWindowTest::layoutFollowsTheTemplateThenTheWindowSize() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    const DialogUnits units(dialog.font());
    QCOMPARE(dialog.size(), QSize(units.x(598), units.y(361)));
    QCOMPARE(dialog.m_tab->geometry(), units.rect(0, 34, 598, 327));
    const int w0 = dialog.m_tab->width();
    const int h0 = dialog.m_tab->height();
    QCOMPARE(dialog.m_listPage->geometry(), QRect(4, 23, w0 - 8, h0 - 27));
    QCOMPARE(dialog.m_adPage->m_browser->geometry(), QRect(0, 0, w0 - 8, h0 - 27));
    QCOMPARE(dialog.m_listPage->m_list->geometry(), QRect(0, 0, w0 - 8, h0 - 27));

    dialog.resize(1280, 900);
    QTRY_COMPARE(dialog.size(), QSize(1280, 900));
    QCOMPARE(dialog.m_tab->geometry(), QRect(2, 60, 1276, 838));
    QCOMPARE(dialog.m_adPage->geometry(), QRect(2, 23, 1272, 813));
    QCOMPARE(dialog.m_listPage->geometry(), QRect(2, 23, 1272, 813));
    QCOMPARE(dialog.m_adPage->m_browser->geometry(), QRect(4, 1, 1268, 817));
    QCOMPARE(dialog.m_listPage->m_list->geometry(), QRect(4, 1, 1268, 817));
}

void MainWindowTest::updateQuestionOnlyForADifferentVersion_data() {
    QTest::addColumn<QString>("published");
    QTest::addColumn<bool>("asked");
    QTest::newRow("same") << "2.0.0.5" << false;
    QTest::newRow("higher") << "2.0.0.6" << true;
    QTest::newRow("lower") << "1.9.9.9" << true;
    QTest::newRow("line break after") << "2.0.0.5\n" << true;
}

void MainWindowTest::updateQuestionOnlyForADifferentVersion() {
    QFETCH(QString, published);
    QFETCH(bool, asked);
    GuiFixture gui;
    gui.m_net.m_service.SetVersion(published.toStdString());
    devnet::Ed2kServerConfig config;
    gui.m_net.AddEd2kServer(config);
    CQuimbDlg& dialog = gui.Create();
    ModalWatcher watcher(QMessageBox::No);
    QVERIFY(dialog.PrepareToRun());
    QCOMPARE(watcher.m_seen.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(watcher.m_seen[0].title, QStringLiteral("提示"));
        QCOMPARE(watcher.m_seen[0].text, QStringLiteral("有新版本，是否更新？"));
        QCOMPARE(watcher.m_seen[0].icon, QMessageBox::Information);
        QCOMPARE(watcher.m_seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    }
    // No keeps the window, with the statistics hit made and the server table filled.
    QVERIFY(!dialog.EndedDuringInit());
    QCOMPARE(gui.m_net.m_stats.requests().size(), std::size_t{1});
    QCOMPARE(dialog.serverTable().m_serverCount, 1);
}

void MainWindowTest::answeringYesOpensTheArchiveAndEndsTheWindow() {
    GuiFixture gui;
    gui.m_net.m_service.SetVersion("3.0.0.0");
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
    CQuimbDlg& dialog = gui.Create();
    ModalWatcher watcher(QMessageBox::Yes);
    QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));  // returns without ever showing
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(watcher.m_seen.size(), 1);
    QVERIFY(dialog.EndedDuringInit());
    QCOMPARE(recorder.m_opened,
             QList<QUrl>{QUrl(QStringLiteral("http://%1/Quimb.7z")
                                  .arg(QString::fromStdString(gui.m_net.m_service.hostPort())))});
    QCOMPARE(gui.m_net.m_stats.requests().size(), std::size_t{1});
    const auto service = gui.m_net.m_service.requests();
    QVERIFY(std::find(service.begin(), service.end(), "/emulesvr.txt") != service.end());
}

void MainWindowTest::unreachableServiceHostStillOpensWithTheKeywordFocused() {
    ServiceHosts hosts = ServiceHosts::defaults();
    hosts.service = QStringLiteral("127.0.0.1:1");
    hosts.stats = QStringLiteral("127.0.0.1:1");
    CQuimbDlg dialog(hosts);
    ModalWatcher watcher;
    QVERIFY(dialog.PrepareToRun());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.GetDlgItem(res::IDC_KEYWORD));
    QCOMPARE(dialog.serverTable().m_serverCount, 0);
    QCOMPARE(dialog.m_adPage->m_browser->LocationURL(), QString());
    QVERIFY(watcher.m_seen.isEmpty());
    // Why an eD2k search will find no servers, where the count goes; the details on hover.
    const auto* count = qobject_cast<QLabel*>(dialog.GetDlgItem(res::IDC_COUNT));
    QCOMPARE(count->text(), QStringLiteral("无法连接服务主机"));
    QVERIFY(count->toolTip().startsWith(QStringLiteral("无法连接服务主机 127.0.0.1:1：")));
}

void MainWindowTest::aboutBoxFromF1AndTheContextMenu() {
    GuiFixture gui;
    CQuimbDlg& dialog = gui.Open();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const auto actions = dialog.actions();
    QVERIFY(!actions.isEmpty());
    QCOMPARE(actions.last()->text(), QStringLiteral("关于 Quimb(&A)..."));
    QCOMPARE(dialog.contextMenuPolicy(), Qt::ActionsContextMenu);
    ModalWatcher watcher;
    QTest::keyClick(&dialog, Qt::Key_F1);
    QTRY_COMPARE(watcher.m_seen.size(), 1);
    QCOMPARE(watcher.m_seen[0].title, QStringLiteral("关于 Quimb"));
    actions.last()->trigger();
    QTRY_COMPARE(watcher.m_seen.size(), 2);
    // Other system commands do nothing here.
    dialog.OnSysCommand(0xF060);
    QTest::qWait(50);
    QCOMPARE(watcher.m_seen.size(), 2);
}

void MainWindowTest::closingDuringAnEd2kSearchEndsItsThreads() {
    GuiFixture gui;
    gui.AddSilentEd2kServers(4);
    devnet::Ed2kServerConfig late;
    late.answerDelayMs = 30000;
    gui.m_net.AddEd2kServer(late);
    CQuimbDlg& dialog = gui.Open({5000, 60000, 60000});
    gui.Radio(res::IDC_ED2K_ENGINE)->setChecked(true);
    gui.Edit(res::IDC_KEYWORD)->setText(QStringLiteral("movie"));
    dialog.OnSearch();
    QTRY_COMPARE(gui.Button(res::IDC_SEARCH)->text(), QStringLiteral("正在搜索.."));
    QVERIFY(dialog.IsSearching());
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.IsSearching());
    gui.m_dialog.reset();
}

// The list's menu offers 停止搜索 only while a search runs; stopping ends the search at once,
// keeps the rows shown and says so; Escape in the list does the same.
void MainWindowTest::aRunningSearchCanBeStoppedAndKeepsItsRows() {
    GuiFixture gui;
    gui.AddSilentEd2kServers(3);
    devnet::Ed2kServerConfig answering;
    answering.hits = 4;
    devnet::Ed2kServer& server = gui.m_net.AddEd2kServer(answering);
    CQuimbDlg& dialog = gui.Open({5000, 60000, 60000});
    Clistdlg& page = *dialog.m_listPage;
    auto stopEntry = [&page] {
        const auto menu = page.LoadListMenu();
        for (QAction* action : menu->actions())
            if (action->data().toInt() == res::ID_STOP_SEARCH) return action->text();
        return QString();
    };
    QCOMPARE(stopEntry(), QString());  // nothing runs: the menu is as always

    gui.Radio(res::IDC_ED2K_ENGINE)->setChecked(true);
    gui.Edit(res::IDC_KEYWORD)->setText(QStringLiteral("movie"));
    for (const bool byEscape : {false, true}) {
        const std::size_t searches = server.keywords().size();
        dialog.OnSearch();
        // The list is emptied before the servers are asked: once this one is, its rows count.
        QTRY_COMPARE(server.keywords().size(), searches + 1);
        QTRY_COMPARE(page.model().rowCount(), 4);
        QVERIFY(dialog.IsSearching());
        QCOMPARE(stopEntry(), QStringLiteral("停止搜索"));
        QElapsedTimer stopping;
        stopping.start();
        if (byEscape)
            QTest::keyClick(page.m_list, Qt::Key_Escape);
        else
            page.OnCommand(res::ID_STOP_SEARCH);
        QTRY_VERIFY(!dialog.IsSearching());
        qInfo("search stopped %s after %lld ms", byEscape ? "by Escape" : "from the menu",
              static_cast<long long>(stopping.elapsed()));
        QCOMPARE(page.model().rowCount(), 4);
        QCOMPARE(gui.Button(res::IDC_SEARCH)->text(), QStringLiteral("搜索"));
        QVERIFY(gui.Button(res::IDC_SEARCH)->isEnabled());
        const auto* count = qobject_cast<QLabel*>(dialog.GetDlgItem(res::IDC_COUNT));
        QTRY_COMPARE(count->text(), QStringLiteral("共搜到：4（已停止）"));
    }
}

QUIMB_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
