#include "ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

ModalWatcher::ModalWatcher(QMessageBox::StandardButton answer) : m_answer(answer) {
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::Poll);
    m_timer.start(10);
}

void ModalWatcher::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        m_seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        if (QAbstractButton* button = box->button(m_answer))
            button->click();
        else
            box->reject();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        m_seen.append({dialog->windowTitle(), {}, QMessageBox::NoIcon, {}});
        if (m_onDialog)
            m_onDialog(dialog);
        else
            dialog->reject();
    }
}
