#include "gui/Clistdlg.h"

#include <algorithm>

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTableView>

#include "engine/baidu/BaiduSession.h"
#include "engine/text/WindowsCommandLine.h"
#include "gui/CVcode.h"
#include "gui/CommandDispatch.h"
#include "res/ResourceIds.h"

Clistdlg::Clistdlg(QWidget* parent) : QWidget(parent) {
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("IDC_LIST"));
    m_list->setModel(&m_model);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this] { OnListRClick(); });
    // Rows arrive one window call at a time, thousands a second: repaint the list at most
    // every kRepaintMs instead of after each call.
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setInterval(kRepaintMs);
    connect(&m_repaintTimer, &QTimer::timeout, this, [this] { m_list->setUpdatesEnabled(true); });
    const auto holdRepaint = [this] {
        if (m_repaintTimer.isActive()) return;
        m_list->setUpdatesEnabled(false);
        m_repaintTimer.start();
    };
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, holdRepaint);
    connect(&m_model, &QAbstractItemModel::dataChanged, this, holdRepaint);
    connect(&m_model, &QAbstractItemModel::modelReset, this, holdRepaint);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) m_selectionMark = current.sibling(current.row(), 0);
            });
}

Clistdlg::~Clistdlg() = default;

void Clistdlg::OnInitDialog() {
    m_pPlayer = std::make_unique<CDapctrl1>();
    m_bPlayerCreated = m_pPlayer->Create();
}

void Clistdlg::SetupList() {
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSortingEnabled(false);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_list->font()).height() + 4);
    QHeaderView* header = m_list->horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    for (int column = 0; column < 4; ++column)
        header->resizeSection(column, kResultColumns[column].width);
}

int Clistdlg::GetSelectionMark() const {
    return m_selectionMark.isValid() ? m_selectionMark.row() : -1;
}

std::unique_ptr<QMenu> Clistdlg::LoadListMenu() {
    auto menu = std::make_unique<QMenu>(QStringLiteral("列表菜单"), this);
    const struct {
        int id;
        const char16_t* text;
    } items[] = {
        {res::ID_CLOUD_PLAY, u"云播放"},
        {res::ID_OFFLINE_DOWNLOAD, u"下载到百度网盘"},
        {res::ID_COPY_LINK, u"复制下载地址"},
    };
    for (const auto& item : items) menu->addAction(QString::fromUtf16(item.text))->setData(item.id);
    if (m_searchRunning && m_searchRunning())
        menu->addAction(QStringLiteral("停止搜索"))->setData(res::ID_STOP_SEARCH);
    return menu;
}

void Clistdlg::OnCommand(int id) {
    RunCommand(this, [&] {
        switch (id) {
            case res::ID_COPY_LINK:
                OnCopyLink();
                break;
            case res::ID_OFFLINE_DOWNLOAD:
                OnOfflineDownload();
                break;
            case res::ID_CLOUD_PLAY:
                OnCloudPlay();
                break;
            case res::ID_STOP_SEARCH:
                if (m_stopSearch) m_stopSearch();
                break;
            default:
                break;
        }
    });
}

void Clistdlg::OnListRClick() {
    const std::unique_ptr<QMenu> menu = LoadListMenu();
    if (QAction* chosen = menu->exec(QCursor::pos())) OnCommand(chosen->data().toInt());
}

void Clistdlg::OnListDblClk() {
    OnCommand(res::ID_CLOUD_PLAY);
}

void Clistdlg::OnCopyLink() {
    // Several rows selected: their links, one per line, in list order; else the mark's link.
    QString link = GetItemText(GetSelectionMark(), 3);
    QModelIndexList selected = m_list->selectionModel()->selectedRows(3);
    if (selected.size() > 1) {
        std::sort(selected.begin(), selected.end(),
                  [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        QStringList links;
        for (const QModelIndex& index : selected) links << GetItemText(index.row(), 3);
        link = links.join(u'\n');
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return;  // no clipboard: nothing copied, nothing said
    // Plain text in the locale's charset, which is what the desktop's text targets carry.
    clipboard->setText(link);
}

void Clistdlg::OnOfflineDownload() {
    if (m_baidu == nullptr) return;
    BaiduSession& session = *m_baidu;
    if (!session.m_hasCredentials) {
        ShowMessage(this, QStringLiteral("请先登陆百度"), QStringLiteral("错误"),
                    QMessageBox::Critical);
        return;
    }
    const QString link = GetItemText(GetSelectionMark(), 3);
    int result = session.AddOfflineTask(link);
    if (result == 403) {
        {
            CVcode dialog(session, this);
            dialog.DoModal();  // however it closes, the task is sent again
        }
        result = session.RetryOfflineTask(link);
        if (result == 403) {
            ShowMessage(this, QStringLiteral("验证失败，请重新下载并验证"), QStringLiteral("错误"),
                        QMessageBox::Critical);
            return;
        }
        // -1 and -5 after the retry get the texts of the first attempt: silence would hide them.
    }
    switch (result) {
        case 0:
            ShowMessage(this,
                        QStringLiteral("成功添加任务，请打开百度网盘进行查看\n"
                                       "若网盘里没有，请查看网盘里的离线下载任务列表"),
                        QStringLiteral("提示"), QMessageBox::Information);
            break;
        case -1:
            ShowMessage(this, QStringLiteral("种子被态度屏蔽或种子错误，无法下载"),
                        QStringLiteral("提示"), QMessageBox::Information);
            break;
        default:
            ShowMessage(this, QStringLiteral("百度网盘离线任务过多，需要开通百度vip"),
                        QStringLiteral("错误"), QMessageBox::Critical);
            break;
    }
}

void Clistdlg::OnCloudPlay() {
    if (!m_bPlayerCreated) {
        ShowMessage(this, QStringLiteral("请先安装迅雷影音"), QStringLiteral("错误"),
                    QMessageBox::Critical);
        return;
    }
    const int mark = GetSelectionMark();
    const QString link = GetItemText(mark, 3);
    const QString name = GetItemText(mark, 0);
    if (m_pPlayer)
        m_pPlayer->SetNamedValue(QStringLiteral("sXmpArg"), BuildXmpCommandLine(link, name));
}

void Clistdlg::OnClose() {
    m_pPlayer.reset();
}

bool Clistdlg::eventFilter(QObject* watched, QEvent* event) {
    // A double-click on a row plays the selection mark; on empty space it does nothing. The
    // list handles the click first (it may move the mark), then the command runs.
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::LeftButton &&
            m_list->indexAt(click->position().toPoint()).isValid())
            QMetaObject::invokeMethod(this, &Clistdlg::OnListDblClk, Qt::QueuedConnection);
    }
    // From the keyboard: Ctrl+C copies the links as 复制下载地址 does, Enter plays.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            OnCommand(res::ID_COPY_LINK);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            OnCommand(res::ID_CLOUD_PLAY);
            return true;
        }
    }
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && m_searchRunning &&
        m_searchRunning()) {
        OnCommand(res::ID_STOP_SEARCH);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
