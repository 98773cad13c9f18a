// quimb-screenshot: runs the real window on the simulated network, searches, and saves a
// picture of the window with its results (for the README).
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <cstdio>

#include "DevNet.h"
#include "gui/CQuimbApp.h"
#include "gui/CQuimbDlg.h"
#include "gui/Clistdlg.h"
#include "res/ResourceIds.h"

int main(int argc, char** argv) {
    CQuimbApp::PrepareProcess();
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() < 3) {
        std::fputs("usage: quimb-screenshot OUT.png KEYWORD [ed2k]\n", stderr);
        return 2;
    }
    devnet::DevNet net;
    net.AddDemoEd2kServers(5);
    net.Start();

    CQuimbDlg dialog(net.hosts());
    dialog.OnInitDialog();
    dialog.show();
    if (args.size() > 3 && args[3] == QLatin1String("ed2k"))
        static_cast<QRadioButton*>(dialog.GetDlgItem(res::IDC_ED2K_ENGINE))->setChecked(true);
    static_cast<QLineEdit*>(dialog.GetDlgItem(res::IDC_KEYWORD))->setText(args[2]);
    dialog.OnSearch();

    auto* search = static_cast<QPushButton*>(dialog.GetDlgItem(res::IDC_SEARCH));
    QElapsedTimer timer;
    timer.start();
    QTest::qWait(200);
    while (!search->isEnabled() && timer.elapsed() < 30000) QTest::qWait(50);
    dialog.m_listPage->m_list->selectRow(2);
    QTest::qWait(300);
    const bool saved = dialog.grab().save(args[1]);
    dialog.done(0);
    net.Stop();
    std::fprintf(stderr, "quimb-screenshot: %d rows, %s\n", dialog.m_listPage->model().rowCount(),
                 saved ? "saved" : "NOT saved");
    return saved ? 0 : 1;
}
