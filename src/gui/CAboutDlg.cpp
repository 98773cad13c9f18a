#include "gui/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "gui/DialogUnits.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 Quimb"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogUnits::DialogFont(9));
    const DialogUnits units(font());
    setFixedSize(units.x(170), units.y(62));

    auto* icon = new QLabel(this);
    icon->setGeometry(units.rect(14, 14, 20, 20));
    icon->setPixmap(QIcon(QStringLiteral(":/res/quimb.png")).pixmap(icon->size()));

    auto* version = new QLabel(QStringLiteral("Quimb，2.0.0.5 版"), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(units.rect(42, 14, 114, 8));

    auto* second = new QLabel(QStringLiteral("Linux 版，Qt 6 构建"), this);
    second->setGeometry(units.rect(42, 27, 114, 8));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setGeometry(units.rect(113, 41, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
