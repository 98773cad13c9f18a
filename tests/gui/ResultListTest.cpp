// The result list page on the offscreen platform: colours, menu, copy, selection mark and
// cloud play through a stand-in player.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "GuiTestMain.h"
#include "ModalWatcher.h"
#include "engine/baidu/BaiduSession.h"
#include "engine/text/WindowsCommandLine.h"
#include "gui/Clistdlg.h"
#include "gui/RowColour.h"
#include "res/ResourceIds.h"

namespace {

void AddRow(Clistdlg& page, const QString& name, const QString& sources, const QString& link) {
    ResultListModel& model = page.model();
    const int row = model.rowCount();
    model.InsertItem(row, QStringLiteral("11"));
    model.SetItemText(row, 0, name);
    model.SetItemText(row, 1, QStringLiteral("1.00 MB"));
    model.SetItemText(row, 2, sources);
    model.SetItemText(row, 3, link);
}

QColor ColourOf(Clistdlg& page, int row, int column) {
    return page.model().index(row, column).data(Qt::ForegroundRole).value<QColor>();
}

QPoint CentreOfRow(Clistdlg& page, int row) {
    return page.m_list->visualRect(page.model().index(row, 0)).center();
}

// A page shown at a useful size, its player looked for with QUIMB_PLAYER set to player.
struct PageFixture {
    explicit PageFixture(const QString& player) {
        qputenv("QUIMB_PLAYER", player.toLocal8Bit());
        m_page.resize(900, 400);
        m_page.SetupList();
        m_page.m_list->setGeometry(0, 0, 900, 400);
        m_page.OnInitDialog();
        m_page.show();
    }
    Clistdlg m_page;
};

}  // namespace

class ResultListTest : public QObject {
    Q_OBJECT
private slots:
    void coloursFollowSourcesAndTheNameAbove();
    void menuHoldsTheThreeCommandsInOrder();
    void copyLinkPutsTheWholeLinkOnTheClipboard();
    void commandsActOnTheSelectionMark();
    void cloudPlayHandsTheCommandLineToThePlayer();
    void cloudPlayWithoutAPlayerAsksForOne();
    void severalRowsAndTheKeyboard();
};

void ResultListTest::coloursFollowSourcesAndTheNameAbove() {
    const QColor black(0, 0, 0), skyBlue(0, 204, 255), redOrange(255, 51, 0);
    PageFixture fixture(QStringLiteral("/nonexistent"));
    Clistdlg& page = fixture.m_page;
    AddRow(page, QStringLiteral("A"), {}, QStringLiteral("l1"));
    AddRow(page, QStringLiteral("A"), {}, QStringLiteral("l2"));
    AddRow(page, QStringLiteral("B"), QStringLiteral("7"), QStringLiteral("l3"));
    AddRow(page, QStringLiteral("B"), QStringLiteral("3"), QStringLiteral("l4"));
    const QColor expected[] = {black, skyBlue, redOrange, skyBlue};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            QCOMPARE(ColourOf(page, row, column), expected[row]);

    // The boundary of "more than 4", and an empty first name equal to the empty name above.
    QCOMPARE(RowTextColour(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("5")),
             kManySourcesColour);
    QCOMPARE(RowTextColour(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("4")),
             kPlainRowColour);
    QCOMPARE(RowTextColour(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("abc")),
             kPlainRowColour);
    page.model().InsertItem(0, QString());
    QCOMPARE(ColourOf(page, 0, 0), skyBlue);
    // Row 1 ("A") no longer repeats the name above it.
    QCOMPARE(ColourOf(page, 1, 0), black);
}

void ResultListTest::menuHoldsTheThreeCommandsInOrder() {
    Clistdlg page;
    const auto menu = page.LoadListMenu();
    QCOMPARE(menu->title(), QStringLiteral("列表菜单"));
    const auto actions = menu->actions();
    QCOMPARE(actions.size(), 3);
    const QStringList texts = {QStringLiteral("云播放"), QStringLiteral("下载到百度网盘"),
                               QStringLiteral("复制下载地址")};
    const int ids[] = {res::ID_CLOUD_PLAY, res::ID_OFFLINE_DOWNLOAD, res::ID_COPY_LINK};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(actions[i]->text(), texts[i]);
        QCOMPARE(actions[i]->data().toInt(), ids[i]);
    }
    // The download item reaches the offline download: without credentials it asks for a login.
    BaiduSession session(ServiceHosts::defaults());
    page.SetBaiduSession(&session);
    ModalWatcher watcher;
    page.OnCommand(res::ID_OFFLINE_DOWNLOAD);
    QCOMPARE(watcher.m_seen.size(), 1);
    QCOMPARE(watcher.m_seen[0].text, QStringLiteral("请先登陆百度"));
    QCOMPARE(watcher.m_seen[0].title, QStringLiteral("错误"));
    QCOMPARE(watcher.m_seen[0].icon, QMessageBox::Critical);
}

void ResultListTest::copyLinkPutsTheWholeLinkOnTheClipboard() {
    PageFixture fixture(QStringLiteral("/nonexistent"));
    Clistdlg& page = fixture.m_page;
    const QString link = QStringLiteral(
        "ed2k://|file|%E6%98%9F%E9%99%85%E7%A9%BF%E8%B6%8A 星际穿越.mkv|734003200|"
        "0123456789ABCDEF0123456789ABCDEF|/");
    AddRow(page, QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("ed2k://|file|a|1|A|/"));
    AddRow(page, QStringLiteral("星际穿越.mkv"), QStringLiteral("9"), link);
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 1));
    QCOMPARE(page.GetSelectionMark(), 1);
    page.OnCommand(res::ID_COPY_LINK);
    QCOMPARE(QGuiApplication::clipboard()->text(), link);
}

void ResultListTest::commandsActOnTheSelectionMark() {
    PageFixture fixture(QStringLiteral("/nonexistent"));
    Clistdlg& page = fixture.m_page;
    for (int i = 0; i < 4; ++i)
        AddRow(page, QStringLiteral("n%1").arg(i), {}, QStringLiteral("link%1").arg(i));

    // No selection yet: the link reads as empty and the copy puts an empty text.
    QCOMPARE(page.GetSelectionMark(), -1);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    page.OnCommand(res::ID_COPY_LINK);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());

    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 2));
    QCOMPARE(page.GetSelectionMark(), 2);
    // A click on empty space clears the selection; the mark stays on the last row selected.
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, QPoint(100, 380));
    QVERIFY(page.m_list->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(page.GetSelectionMark(), 2);
    page.OnCommand(res::ID_COPY_LINK);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("link2"));

    // With several rows selected the mark is where the last selection was made.
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 0));
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      CentreOfRow(page, 3));
    QCOMPARE(page.m_list->selectionModel()->selectedRows().size(), 2);
    QCOMPARE(page.GetSelectionMark(), 3);

    // A row inserted above moves the mark with its row; emptying the list clears it.
    page.model().InsertItem(0, QStringLiteral("new"));
    QCOMPARE(page.GetSelectionMark(), 4);
    page.model().DeleteAllItems();
    QCOMPARE(page.GetSelectionMark(), -1);
}

void ResultListTest::cloudPlayHandsTheCommandLineToThePlayer() {
    QTemporaryDir dir;
    const QString player = dir.filePath(QStringLiteral("player"));
    const QString argsFile = dir.filePath(QStringLiteral("args"));
    QFile script(player);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > %1.tmp\n"
                       "mv %1.tmp %1\n")
            .arg(argsFile)
            .toLocal8Bit());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    PageFixture fixture(player);
    Clistdlg& page = fixture.m_page;
    QVERIFY(page.m_bPlayerCreated);
    AddRow(page, QStringLiteral("other"), {}, QStringLiteral("magnet:?xt=urn:btih:00"));
    AddRow(page, QStringLiteral("Movie 1.mkv"), QStringLiteral("3"),
           QStringLiteral("ed2k://|file|Movie 1.mkv|123|ABC|/"));
    QCOMPARE(BuildXmpCommandLine(page.GetItemText(1, 3), page.GetItemText(1, 0)),
             QStringLiteral("\"ed2k://|file|Movie 1.mkv|123|ABC|/\" /sname Movie 1.mkv "
                            "/sstartfrom Quimb /sopenfrom Quimb"));

    ModalWatcher watcher;
    // The double-click's first click makes the row the selection mark.
    QTest::mouseDClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 1));
    QTRY_VERIFY(QFile::exists(argsFile));
    QFile args(argsFile);
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromLocal8Bit(args.readAll()),
             QStringLiteral("ed2k://|file|Movie 1.mkv|123|ABC|/\n/sname\nMovie\n1.mkv\n"
                            "/sstartfrom\nQuimb\n/sopenfrom\nQuimb\n"));
    QVERIFY(watcher.m_seen.isEmpty());
}

void ResultListTest::cloudPlayWithoutAPlayerAsksForOne() {
    PageFixture fixture(QStringLiteral("/nonexistent/player"));
    Clistdlg& page = fixture.m_page;
    QVERIFY(!page.m_bPlayerCreated);
    AddRow(page, QStringLiteral("a"), {}, QStringLiteral("magnet:?xt=urn:btih:00"));
    ModalWatcher watcher;
    page.OnCommand(res::ID_CLOUD_PLAY);
    QTest::mouseDClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 0));
    QTRY_COMPARE(watcher.m_seen.size(), 2);
    for (const auto& seen : watcher.m_seen) {
        QCOMPARE(seen.title, QStringLiteral("错误"));
        QCOMPARE(seen.text, QStringLiteral("请先安装迅雷影音"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
    }
}

// Several selected rows copy all their links; Ctrl+C copies as the menu does; Enter plays the
// current row; a double-click on no row does nothing.
void ResultListTest::severalRowsAndTheKeyboard() {
    PageFixture fixture(QStringLiteral("/nonexistent/player"));
    Clistdlg& page = fixture.m_page;
    for (int i = 0; i < 4; ++i)
        AddRow(page, QStringLiteral("n%1").arg(i), {}, QStringLiteral("link%1").arg(i));
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 3));
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      CentreOfRow(page, 1));
    page.OnCommand(res::ID_COPY_LINK);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("link1\nlink3"));
    QGuiApplication::clipboard()->clear();
    page.m_list->setFocus();
    QTest::keyClick(page.m_list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("link1\nlink3"));
    // One row selected: its link alone, as always.
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {}, CentreOfRow(page, 2));
    QTest::keyClick(page.m_list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("link2"));

    ModalWatcher watcher;  // no player: playing says so
    QTest::mouseDClick(page.m_list->viewport(), Qt::LeftButton, {}, QPoint(100, 380));
    QTest::qWait(50);
    QCOMPARE(watcher.m_seen.size(), 0);
    QTest::keyClick(page.m_list, Qt::Key_Return);
    QTRY_COMPARE(watcher.m_seen.size(), 1);
    QCOMPARE(watcher.m_seen[0].text, QStringLiteral("请先安装迅雷影音"));
}

QUIMB_GUI_TEST_MAIN(ResultListTest)
#include "ResultListTest.moc"
