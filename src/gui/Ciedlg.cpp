#include "gui/Ciedlg.h"

#include "gui/CExplorer1.h"
#include "gui/DialogUnits.h"

Ciedlg::Ciedlg(QWidget* parent) : QWidget(parent), m_browser(new CExplorer1(this)) {
    const DialogUnits units(font());
    resize(units.x(316), units.y(183));
    m_browser->setGeometry(units.rect(7, 7, 302, 169));
}
