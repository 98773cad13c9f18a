#include "gui/CExplorer1.h"

#include <QLabel>
#include <QUrl>

#ifdef QUIMB_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

CExplorer1::CExplorer1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("IDC_BROWSER"));
#ifdef QUIMB_HAVE_WEBENGINE
    m_view = new QWebEngineView(this);
#else
    m_view = new QLabel(this);
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setTextFormat(Qt::RichText);
    m_view->setOpenExternalLinks(true);
    m_view->setWordWrap(true);
    m_view->setAutoFillBackground(true);
    m_view->setBackgroundRole(QPalette::Base);
#endif
}

void CExplorer1::Navigate(const QString& address) {
    m_address = address;
#ifdef QUIMB_HAVE_WEBENGINE
    m_view->setUrl(QUrl(address));
#else
    const QString escaped = address.toHtmlEscaped();
    m_view->setText(address.isEmpty() ? QString()
                                      : QStringLiteral("<a href=\"%1\">%1</a>").arg(escaped));
#endif
}

void CExplorer1::resizeEvent(QResizeEvent*) {
    m_view->setGeometry(rect());
}
