#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <memory>

#include "engine/baidu/BaiduSession.h"
#include "engine/ed2k/Ed2kSession.h"
#include "engine/settings/ServiceHosts.h"
#include "engine/startup/ServerTable.h"
#include "engine/startup/StartupSequence.h"
#include "gui/DialogUnits.h"
#include "gui/DialogWindowPort.h"

class Ciedlg;
class Clistdlg;
class QAction;
class QLineEdit;
class QTimer;
class SearchDriver;
class TabControl;

// The main window: keyword box, engine choice, Search, count text, Baidu login boxes and the
// tab control with the ad page and the result list page.
class CQuimbDlg : public QDialog, private StartupWindow {
    Q_OBJECT
public:
    explicit CQuimbDlg(ServiceHosts hosts, Ed2kLimits ed2kLimits = {}, QWidget* parent = nullptr);
    ~CQuimbDlg() override;

    // Initialises the window (start-up sequence included), then runs it modally. Returns the
    // dialog's result; a window that ended itself during initialisation is never shown.
    int DoModal();
    // DoModal up to the point where the window would be shown. Returns false when the window
    // ended itself during initialisation.
    bool PrepareToRun();
    // The initialisation steps in order. Returns true when the keyword box should get the
    // initial focus (the start-up sequence stopped early).
    bool OnInitDialog();

    void OnSearch();
    // Stops the running search (list menu, Escape in the list, the window's menu): its threads
    // end, the rows shown stay, and the count text says the search was stopped.
    void OnStopSearch();
    // Searches keyword as soon as the window runs (a keyword given on the command line).
    void SearchAtStart(const QString& keyword) { m_startKeyword = keyword; }
    void OnLogin();
    void OnSysCommand(int id);
    void OnTabSelChanging(int currentIndex);
    void OnSize(int cx, int cy);
    // Enter in the keyword, user name and password boxes. Returns true when consumed.
    bool PreTranslateMessage(int focusId);

    // Selects tab "搜索" by program and shows the result page.
    void ShowResultsTab();
    QWidget* GetDlgItem(int id) const { return m_controls.value(id); }
    bool EndedDuringInit() const { return m_endDialogOk; }
    bool IsSearching() const;
    const ServerTable& serverTable() const { return m_serverTable; }

    // Ends a running search: switches the ports off, then waits for the search's threads
    // while still answering their pending window calls.
    void EndSearch();

    QIcon m_hIcon;
    TabControl* m_tab;
    Ciedlg* m_adPage;
    Clistdlg* m_listPage;
    BaiduSession m_baidu;

public slots:
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    QWidget* AddControl(int id, QWidget* control, int x, int y, int w, int h);

    // StartupWindow
    void NavigateAdPage(const QString& address) override;
    bool AskUpdate(const QString& published) override;
    void OpenUpdateArchive(const QString& url) override;
    void EndDialogOk() override;
    void ReportFailure(const QString& host, const QString& reason) override;

    ServiceHosts m_hosts;
    DialogUnits m_units;  // of the window's font
    QHash<int, QWidget*> m_controls;
    QAction* m_aboutAction = nullptr;
    QAction* m_stopAction = nullptr;  // in the window's menu while a search runs
    QTimer* m_stopWatch = nullptr;    // looks for the end of a stopped search
    ServerTable m_serverTable;
    DialogWindowPort m_dialogPort{*this};
    std::unique_ptr<SearchDriver> m_driver;
    QSize m_initialSize;
    bool m_sizedByUser = false;
    bool m_endDialogOk = false;
    bool m_searchEnded = false;
    QString m_startKeyword;
};
