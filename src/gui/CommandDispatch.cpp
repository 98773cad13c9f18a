#include "gui/CommandDispatch.h"

#include <QMessageBox>

void ShowMessage(QWidget* owner, const QString& text, const QString& title, int icon) {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), title, text, QMessageBox::Ok, owner);
    box.exec();
}

void ShowCommandError(QWidget* owner, const QString& description) {
    ShowMessage(owner, description, QStringLiteral("Quimb"), QMessageBox::Critical);
}
