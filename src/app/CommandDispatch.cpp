#include "app/CommandDispatch.h"

#include <QMessageBox>

void ShowCommandError(QWidget* owner, const QString& description) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quimb"), description, QMessageBox::Ok,
                    owner);
    box.exec();
}
