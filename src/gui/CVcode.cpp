#include "gui/CVcode.h"

#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "engine/baidu/BaiduSession.h"
#include "engine/baidu/VcodeImage.h"
#include "gui/CommandDispatch.h"
#include "gui/DialogUnits.h"

CVcode::CVcode(BaiduSession& session, QWidget* parent) : QDialog(parent), m_session(session) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFont(DialogUnits::DialogFont(8));
    const DialogUnits units(font());
    setFixedSize(units.x(98), units.y(98));
    setAutoFillBackground(true);

    auto* prompt = new QLabel(QStringLiteral("请输入验证码"), this);
    prompt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    prompt->setGeometry(units.rect(16, 14, 66, 8));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("IDC_VCODE_EDIT"));
    m_edit->setGeometry(units.rect(16, 58, 66, 14));
    auto* confirm = new QPushButton(QStringLiteral("确定"), this);
    confirm->setAutoDefault(false);
    confirm->setGeometry(units.rect(25, 74, 50, 14));
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("IDC_VCODE_PICTURE"));
    m_picture->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_picture->setGeometry(units.rect(16, 27, 66, 23));
    connect(confirm, &QPushButton::clicked, this, &CVcode::OnConfirm);
    m_edit->setFocus();
}

int CVcode::DoModal() {
    RunCommand(this, [this] { OnShowWindow(); });
    return exec();
}

void CVcode::OnShowWindow() {
    const QString address = m_session.m_vcodeImageUrl;
    m_imagePath = DownloadVcodeImage(address);
    // The reader goes by the file's content, whatever its name says.
    QImageReader reader(m_imagePath);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    m_picture->setFrameStyle(QFrame::NoFrame);
    if (image.isNull()) {
        m_picture->clear();
        return;
    }
    // Shown at its own size from the control's corner, never scaled.
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->resize(image.size());
}

void CVcode::OnConfirm() {
    m_session.SetVerifyCode(m_edit->text());
    if (!m_imagePath.isEmpty() && m_imagePath != QLatin1String(kVcodeImageError))
        QFile::remove(m_imagePath);
    accept();
}

void CVcode::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();
            return;  // the dialog cannot be dismissed this way
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OnConfirm();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}
