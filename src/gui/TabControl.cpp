#include "gui/TabControl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {
// The strip's height: the pages start at y 23 below it.
constexpr int kStripHeight = 22;
}  // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    m_bar->move(2, 0);
    connect(m_bar, &QTabBar::currentChanged, this, [this](int index) {
        const int previous = m_current;
        m_current = index;
        if (!m_byProgram) emit SelChanging(previous);
    });
}

void TabControl::InsertItem(int index, const QString& text) {
    m_byProgram = true;
    m_bar->insertTab(index, text);
    m_byProgram = false;
    m_bar->resize(m_bar->sizeHint().width(), kStripHeight);
}

void TabControl::SetCurSel(int index) {
    m_byProgram = true;
    m_bar->setCurrentIndex(index);
    m_byProgram = false;
    m_current = m_bar->currentIndex();
}

void TabControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, kStripHeight - 1, width(), height() - kStripHeight + 1);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
