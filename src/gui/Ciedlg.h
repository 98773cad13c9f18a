#pragma once

#include <QWidget>

class CExplorer1;

// The ad page (tab "广告"): one browser control.
class Ciedlg : public QWidget {
    Q_OBJECT
public:
    explicit Ciedlg(QWidget* parent = nullptr);

    CExplorer1* m_browser;  // control 1001
};
