#pragma once

#include <QString>

// The main window's controls as worker threads see them. Every call is synchronous: it returns
// when the window has carried it out. After the window has gone, calls return at once with an
// empty answer.
class DialogPort {
public:
    virtual ~DialogPort() = default;

    virtual QString text(int id) = 0;
    virtual void setText(int id, const QString& text) = 0;
    virtual void setEnabled(int id, bool enabled) = 0;
    virtual bool isChecked(int id) = 0;
    // Selects the "搜索" tab by program and brings the result page forward.
    virtual void showResultsTab() = 0;
};
