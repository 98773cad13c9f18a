#include "gui/CQuimbDlg.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QDesktopServices>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <thread>

#include "engine/search/SearchDriver.h"
#include "engine/startup/ServerMet.h"
#include "engine/text/TextCut.h"
#include "gui/CAboutDlg.h"
#include "gui/CExplorer1.h"
#include "gui/CVcode.h"
#include "gui/Ciedlg.h"
#include "gui/Clistdlg.h"
#include "gui/CommandDispatch.h"
#include "gui/DialogUnits.h"
#include "gui/TabControl.h"
#include "res/ResourceIds.h"

namespace {

// Shown after "联系作者：".
constexpr char16_t kContact[] = u"q@quimb.io";

// Control ids of the static texts that have none of their own.
constexpr int kStaticUserName = -1;
constexpr int kStaticPassword = -2;
constexpr int kStaticContact = -3;
constexpr int kStaticFeedback = -4;

}  // namespace

CQuimbDlg::CQuimbDlg(ServiceHosts hosts, Ed2kLimits ed2kLimits, QWidget* parent)
    : QDialog(parent),
      m_baidu(hosts),
      m_hosts(std::move(hosts)),
      m_units(DialogUnits::DialogFont(9)) {
    m_hIcon = QIcon(QStringLiteral(":/res/quimb.png"));
    setWindowTitle(QStringLiteral("Quimb种子搜索器"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(DialogUnits::DialogFont(9));
    CreateControls();
    m_driver = std::make_unique<SearchDriver>(m_dialogPort, m_listPage->port(), m_serverTable,
                                              m_hosts, ed2kLimits);
    m_listPage->SetSearchStop([this] { return IsSearching(); }, [this] { OnStopSearch(); });
}

CQuimbDlg::~CQuimbDlg() {
    EndSearch();
}

QWidget* CQuimbDlg::AddControl(int id, QWidget* control, int x, int y, int w, int h) {
    control->setGeometry(m_units.rect(x, y, w, h));
    m_controls.insert(id, control);
    return control;
}

// The controls of the window's template, in its order (which is also the tab order).
void CQuimbDlg::CreateControls() {
    m_initialSize = QSize(m_units.x(598), m_units.y(361));
    resize(m_initialSize);

    auto* keyword = new QLineEdit(this);
    AddControl(res::IDC_KEYWORD, keyword, 7, 9, 268, 14);
    AddControl(kStaticUserName, new QLabel(QStringLiteral("百度用户名："), this), 346, 7, 41, 8);
    auto* userName = new QLineEdit(this);
    AddControl(res::IDC_USERNAME, userName, 392, 3, 56, 14);
    auto* password = new QLineEdit(this);
    password->setEchoMode(QLineEdit::Password);
    AddControl(res::IDC_PASSWORD, password, 392, 19, 56, 14);
    auto* login = new QPushButton(QStringLiteral("登陆"), this);
    login->setAutoDefault(false);
    AddControl(res::IDC_LOGIN, login, 452, 3, 39, 14);

    m_tab = new TabControl(this);
    AddControl(res::IDC_TAB, m_tab, 0, 34, 598, 327);
    m_adPage = new Ciedlg(m_tab);
    m_listPage = new Clistdlg(m_tab);
    for (QWidget* page : {static_cast<QWidget*>(m_adPage), static_cast<QWidget*>(m_listPage)}) {
        page->setFont(DialogUnits::DialogFont(8));
        page->hide();
    }
    m_controls.insert(res::IDC_BROWSER, m_adPage->m_browser);
    m_controls.insert(res::IDC_LIST, m_listPage->m_list);

    auto* search = new QPushButton(QStringLiteral("搜索"), this);
    search->setDefault(true);
    AddControl(res::IDC_SEARCH, search, 281, 9, 50, 14);
    auto* count = new QLabel(QStringLiteral("共搜到：0"), this);
    QPalette red = count->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    count->setPalette(red);
    AddControl(res::IDC_COUNT, count, 282, 26, 57, 9);
    AddControl(kStaticPassword, new QLabel(QStringLiteral("百 度 密 码："), this), 347, 22, 41, 8);
    AddControl(kStaticContact,
               new QLabel(QStringLiteral("联系作者：") + QString::fromUtf16(kContact), this), 505,
               22, 77, 8);
    AddControl(kStaticFeedback, new QLabel(QStringLiteral("若有意见或建议，请联系我"), this), 505,
               3, 83, 8);
    auto* magnet = new QRadioButton(QStringLiteral("磁力引擎（XP下搜索汉字可能会失败)"), this);
    AddControl(res::IDC_MAGNET_ENGINE, magnet, 7, 24, 130, 10);
    auto* ed2k = new QRadioButton(QStringLiteral("电驴引擎(资源更全面，但搜索速度较慢)"), this);
    AddControl(res::IDC_ED2K_ENGINE, ed2k, 140, 24, 138, 10);
    auto* engines = new QButtonGroup(this);
    engines->addButton(magnet);
    engines->addButton(ed2k);

    for (QLineEdit* edit : {keyword, userName, password}) edit->installEventFilter(this);
    connect(search, &QPushButton::clicked, this, [this] { OnSearch(); });
    connect(login, &QPushButton::clicked, this, [this] { OnLogin(); });
    connect(m_tab, &TabControl::SelChanging, this, &CQuimbDlg::OnTabSelChanging);
    m_listPage->SetBaiduSession(&m_baidu);
}

bool CQuimbDlg::OnInitDialog() {
    // Linux has no system menu to extend: the About item sits in the window's context menu and
    // on F1.
    m_aboutAction = new QAction(QStringLiteral("关于 Quimb(&A)..."), this);
    connect(m_aboutAction, &QAction::triggered, this, [this] { OnSysCommand(res::IDM_ABOUTBOX); });
    addAction(m_aboutAction);
    m_stopAction = new QAction(QStringLiteral("停止搜索"), this);
    m_stopAction->setVisible(false);
    connect(m_stopAction, &QAction::triggered, this, [this] { OnStopSearch(); });
    insertAction(m_aboutAction, m_stopAction);  // About stays the menu's last entry
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, m_aboutAction, &QAction::trigger);
    setWindowIcon(m_hIcon);
    m_serverTable = ServerTable{};

    m_tab->InsertItem(0, QStringLiteral("广告"));
    m_tab->InsertItem(1, QStringLiteral("搜索"));
    const int w = m_tab->width();
    const int h = m_tab->height();
    m_adPage->setGeometry(4, 23, w - 8, h - 27);
    m_listPage->setGeometry(4, 23, w - 8, h - 27);
    m_adPage->m_browser->setGeometry(0, 0, m_adPage->width(), m_adPage->height());
    static_cast<QRadioButton*>(GetDlgItem(res::IDC_MAGNET_ENGINE))->setChecked(true);
    m_listPage->SetupList();
    m_listPage->m_list->setGeometry(0, 0, m_listPage->width(), m_listPage->height());
    m_listPage->OnInitDialog();
    m_adPage->show();
    m_tab->SetCurSel(0);

    const bool focusKeyword = RunStartupSequence(m_hosts, *this, m_serverTable);
    // The user's own server list joins the service host's, also when the start-up stopped early.
    if (!m_hosts.serverMet.isEmpty()) {
        const QString problem = LoadServerMetFile(m_hosts.serverMet, m_serverTable);
        if (!problem.isEmpty()) std::fprintf(stderr, "quimb: %s\n", problem.toUtf8().constData());
    }
    return focusKeyword;
}

void CQuimbDlg::ReportFailure(const QString& host, const QString& reason) {
    // Without its service host an eD2k search has no servers: say why, where the count goes.
    if (host != m_hosts.service) return;
    if (auto* count = qobject_cast<QLabel*>(GetDlgItem(res::IDC_COUNT))) {
        // The label is narrow: the host and the reason go into its tooltip.
        count->setText(QStringLiteral("无法连接服务主机"));
        count->setToolTip(
            QStringLiteral("无法连接服务主机 %1：%2").arg(host, PrintableServerText(reason)));
    }
}

int CQuimbDlg::DoModal() {
    if (!PrepareToRun()) return QDialog::Accepted;
    if (!m_startKeyword.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            static_cast<QLineEdit*>(GetDlgItem(res::IDC_KEYWORD))->setText(m_startKeyword);
            OnSearch();
        });
    }
    return exec();
}

bool CQuimbDlg::PrepareToRun() {
    const bool focusKeyword = OnInitDialog();
    if (m_endDialogOk) {
        done(QDialog::Accepted);
        return false;
    }
    if (focusKeyword) GetDlgItem(res::IDC_KEYWORD)->setFocus();
    return true;
}

bool CQuimbDlg::IsSearching() const {
    return m_driver->IsRunning();
}

void CQuimbDlg::OnStopSearch() {
    if (!IsSearching()) return;
    m_driver->Cancel();
    if (m_stopWatch == nullptr) {
        m_stopWatch = new QTimer(this);
        m_stopWatch->setInterval(10);
        connect(m_stopWatch, &QTimer::timeout, this, [this] {
            if (IsSearching()) return;
            m_stopWatch->stop();
            auto* count = qobject_cast<QLabel*>(GetDlgItem(res::IDC_COUNT));
            count->setText(count->text() + QStringLiteral("（已停止）"));
            count->setToolTip(count->text());  // the label is narrow
        });
    }
    m_stopWatch->start();
}

bool CQuimbDlg::event(QEvent* event) {
    // The window's menu offers the stop only while there is something to stop.
    if (event->type() == QEvent::ContextMenu && m_stopAction != nullptr)
        m_stopAction->setVisible(IsSearching());
    return QDialog::event(event);
}

void CQuimbDlg::OnSearch() {
    RunCommand(this, [this] { m_driver->OnSearch(); });
}

void CQuimbDlg::OnLogin() {
    RunCommand(this, [this] {
        auto* userName = static_cast<QLineEdit*>(GetDlgItem(res::IDC_USERNAME));
        auto* password = static_cast<QLineEdit*>(GetDlgItem(res::IDC_PASSWORD));
        // A verification answer reruns the command; the service decides how often.
        for (;;) {
            m_baidu.SetCredentials(userName->text(), password->text());
            const int result = m_baidu.Login();
            if (result == 0) {
                userName->setEnabled(false);
                password->setEnabled(false);
                GetDlgItem(res::IDC_LOGIN)->setEnabled(false);
                password->clear();
                userName->setText(m_baidu.FetchDisplayName());
                return;
            }
            if (result != 403) {
                ShowMessage(this, QStringLiteral("登陆失败"), QStringLiteral("错误"),
                            QMessageBox::Critical);
                return;
            }
            CVcode dialog(m_baidu, this);
            dialog.DoModal();
        }
    });
}

void CQuimbDlg::OnSysCommand(int id) {
    if ((id & 0xFFF0) == res::IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.exec();
    }
}

void CQuimbDlg::OnTabSelChanging(int currentIndex) {
    if (currentIndex == 0) {
        m_adPage->hide();
        m_listPage->show();
    } else if (currentIndex == 1) {
        m_adPage->show();
        m_listPage->hide();
    }
}

void CQuimbDlg::OnSize(int cx, int cy) {
    if (m_tab == nullptr) return;
    m_tab->setGeometry(2, 60, cx - 4, cy - 62);
    const int w = m_tab->width();
    const int h = m_tab->height();
    m_adPage->setGeometry(2, 23, w - 4, h - 25);
    m_listPage->setGeometry(2, 23, w - 4, h - 25);
    m_adPage->m_browser->setGeometry(4, 1, w - 8, h - 21);
    m_listPage->m_list->setGeometry(4, 1, w - 8, h - 21);
}

bool CQuimbDlg::PreTranslateMessage(int focusId) {
    switch (focusId) {
        case res::IDC_KEYWORD:
            OnSearch();
            return true;
        case res::IDC_USERNAME:
            GetDlgItem(res::IDC_PASSWORD)->setFocus();
            return true;
        case res::IDC_PASSWORD:
            OnLogin();
            return true;
        default:
            return false;
    }
}

void CQuimbDlg::ShowResultsTab() {
    m_tab->SetCurSel(1);
    m_adPage->hide();
    m_listPage->show();
}

void CQuimbDlg::EndSearch() {
    if (m_searchEnded) return;
    m_searchEnded = true;
    m_dialogPort.SwitchOff();
    m_listPage->port().SwitchOff();
    // The search's threads may be waiting for a window call right now: keep answering those
    // (they return at once now) while another thread cancels and joins them.
    QEventLoop loop;
    std::thread joiner([this, &loop] {
        m_driver->Shutdown();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    joiner.join();
}

void CQuimbDlg::done(int result) {
    EndSearch();
    m_listPage->OnClose();
    QDialog::done(result);
}

bool CQuimbDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const int focusId = m_controls.key(QApplication::focusWidget(), 0);
            if (PreTranslateMessage(focusId)) return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CQuimbDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The template's own layout stands until the window's size first changes.
    if (!m_sizedByUser && size() == m_initialSize) return;
    m_sizedByUser = true;
    OnSize(width(), height());
}

void CQuimbDlg::NavigateAdPage(const QString& address) {
    m_adPage->m_browser->Navigate(address);
}

bool CQuimbDlg::AskUpdate(const QString&) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"),
                    QStringLiteral("有新版本，是否更新？"), QMessageBox::Yes | QMessageBox::No,
                    this);
    return box.exec() == QMessageBox::Yes;
}

void CQuimbDlg::OpenUpdateArchive(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void CQuimbDlg::EndDialogOk() {
    m_endDialogOk = true;
}
