#pragma once

#include <QDialog>

class BaiduSession;
class QLabel;
class QLineEdit;

// The verification-code dialog: shows the image at the session's m_vcodeImageUrl and stores
// what the user confirms in the session. Escape does not close it; Enter confirms.
class CVcode : public QDialog {
    Q_OBJECT
public:
    explicit CVcode(BaiduSession& session, QWidget* parent = nullptr);

    // Fetches and shows the image, then runs the dialog modally.
    int DoModal();
    void OnShowWindow();
    void OnConfirm();

    QLabel* m_picture;  // control 1009
    QLineEdit* m_edit;  // control 1003
    QString m_imagePath;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    BaiduSession& m_session;
};
