#include "gui/DialogWindowPort.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "gui/CQuimbDlg.h"
#include "gui/OwnerThreadCall.h"

namespace {

QString ControlText(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    return {};
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
}

}  // namespace

QString DialogWindowPort::text(int id) {
    return CallOnOwnerThread(&m_dialog, m_off,
                             [&] { return ControlText(m_dialog.GetDlgItem(id)); });
}

void DialogWindowPort::setText(int id, const QString& text) {
    CallOnOwnerThread(&m_dialog, m_off, [&] { SetControlText(m_dialog.GetDlgItem(id), text); });
}

void DialogWindowPort::setEnabled(int id, bool enabled) {
    CallOnOwnerThread(&m_dialog, m_off, [&] {
        if (QWidget* control = m_dialog.GetDlgItem(id)) control->setEnabled(enabled);
    });
}

bool DialogWindowPort::isChecked(int id) {
    return CallOnOwnerThread(&m_dialog, m_off, [&] {
        auto* button = qobject_cast<QAbstractButton*>(m_dialog.GetDlgItem(id));
        return button != nullptr && button->isChecked();
    });
}

void DialogWindowPort::showResultsTab() {
    CallOnOwnerThread(&m_dialog, m_off, [this] { m_dialog.ShowResultsTab(); });
}
