#pragma once

#include <QWidget>

class QLabel;
class QWebEngineView;

// The ad page's browser: a web view when the build has Qt WebEngine, otherwise a plain view
// that shows the address as a link the desktop can open.
class CExplorer1 : public QWidget {
    Q_OBJECT
public:
    explicit CExplorer1(QWidget* parent = nullptr);

    // Shows address, passed on unchanged (an empty one included).
    void Navigate(const QString& address);
    const QString& LocationURL() const { return m_address; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_address;
#ifdef QUIMB_HAVE_WEBENGINE
    QWebEngineView* m_view;
#else
    QLabel* m_view;
#endif
};
