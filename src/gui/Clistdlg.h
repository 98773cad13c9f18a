#pragma once

#include <QPersistentModelIndex>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "gui/CDapctrl1.h"
#include "gui/ResultListModel.h"
#include "gui/ResultListWindowPort.h"

class BaiduSession;
class QMenu;
class QTableView;

// The result list page (tab "搜索"): the four-column list, its context menu and the commands
// that act on the row at the selection mark.
class Clistdlg : public QWidget {
    Q_OBJECT
public:
    explicit Clistdlg(QWidget* parent = nullptr);
    ~Clistdlg() override;

    // Creates the player stand-in; whether it exists is decided here, once.
    void OnInitDialog();
    // Grid lines, movable columns, full-row selection, then the four columns.
    void SetupList();

    // The index of the row where the user last made a selection, -1 when there is none.
    int GetSelectionMark() const;
    QString GetItemText(int row, int column) const { return m_model.GetItemText(row, column); }

    // The popup "列表菜单": 云播放, 下载到百度网盘, 复制下载地址, each carrying its command id,
    // and 停止搜索 while a search runs.
    std::unique_ptr<QMenu> LoadListMenu();
    // Runs the command id of the list menu.
    void OnCommand(int id);

    void OnListRClick();
    void OnListDblClk();
    void OnCopyLink();
    void OnOfflineDownload();
    void OnCloudPlay();
    void OnClose();

    // While running() says a search runs, the menu offers "停止搜索" and Escape in the list
    // stops it with stop().
    void SetSearchStop(std::function<bool()> running, std::function<void()> stop) {
        m_searchRunning = std::move(running);
        m_stopSearch = std::move(stop);
    }

    // The main window's Baidu account, which the offline download uses.
    void SetBaiduSession(BaiduSession* session) { m_baidu = session; }

    ResultListModel& model() { return m_model; }
    ResultListWindowPort& port() { return m_port; }

    QTableView* m_list = nullptr;  // control 1002
    std::unique_ptr<CDapctrl1> m_pPlayer;
    bool m_bPlayerCreated = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kRepaintMs = 40;

    ResultListModel m_model;
    QTimer m_repaintTimer;
    ResultListWindowPort m_port{m_model};
    QPersistentModelIndex m_selectionMark;
    BaiduSession* m_baidu = nullptr;
    std::function<bool()> m_searchRunning;
    std::function<void()> m_stopSearch;
};
