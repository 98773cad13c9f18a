#pragma once

#include <atomic>

#include "engine/search/DialogPort.h"

class CQuimbDlg;

// The main window's controls for worker threads: each call runs on the GUI thread and waits
// for it. SwitchOff() is the window going away: later calls return at once and touch nothing.
class DialogWindowPort : public DialogPort {
public:
    explicit DialogWindowPort(CQuimbDlg& dialog) : m_dialog(dialog) {}

    QString text(int id) override;
    void setText(int id, const QString& text) override;
    void setEnabled(int id, bool enabled) override;
    bool isChecked(int id) override;
    void showResultsTab() override;

    void SwitchOff() { m_off = true; }

private:
    CQuimbDlg& m_dialog;
    std::atomic_bool m_off{false};
};
