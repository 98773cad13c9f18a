#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QDialog;

// Answers the modal dialogs that appear while a test drives the window, and records them.
class ModalWatcher : public QObject {
    Q_OBJECT
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
    };

    // Message boxes are answered with answer, other dialogs are closed.
    explicit ModalWatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);

    QList<Seen> m_seen;
    // Handles other dialogs instead of closing them (it must end them itself).
    std::function<void(QDialog*)> m_onDialog;

private:
    void Poll();

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};
