#pragma once

#include <QWidget>

class QTabBar;

// A tab control whose pages are plain children placed by their owner, as in a dialog: the tab
// strip on top, the pages positioned in this widget's coordinates. A user's change of tab is
// announced with the selection that is still current; a change by program is not announced.
class TabControl : public QWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    void InsertItem(int index, const QString& text);
    int GetCurSel() const { return m_current; }
    void SetCurSel(int index);
    QTabBar* tabBar() const { return m_bar; }

signals:
    void SelChanging(int currentIndex);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTabBar* m_bar;
    int m_current = -1;
    bool m_byProgram = false;
};
