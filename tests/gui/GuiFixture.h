#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "DevNet.h"
#include "gui/CQuimbDlg.h"
#include "res/ResourceIds.h"

// The real main window on a simulated network of its own.
struct GuiFixture {
    devnet::DevNet m_net;
    std::unique_ptr<CQuimbDlg> m_dialog;

    // Starts the network and builds the window; the window is not initialised yet.
    CQuimbDlg& Create(const Ed2kLimits& ed2kLimits = {}) {
        m_net.Start();
        m_dialog = std::make_unique<CQuimbDlg>(m_net.hosts(), ed2kLimits);
        return *m_dialog;
    }
    // Builds, initialises and shows the window.
    CQuimbDlg& Open(const Ed2kLimits& ed2kLimits = {}) {
        Create(ed2kLimits);
        m_dialog->PrepareToRun();
        m_dialog->show();
        m_dialog->activateWindow();
        return *m_dialog;
    }

    // eD2k servers that accept and never answer: they hold a search open.
    void AddSilentEd2kServers(int count) {
        for (int i = 0; i < count; ++i) {
            devnet::Ed2kServerConfig silent;
            silent.mode = devnet::Ed2kMode::Silent;
            m_net.AddEd2kServer(silent);
        }
    }

    QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(m_dialog->GetDlgItem(id)); }
    QPushButton* Button(int id) const {
        return static_cast<QPushButton*>(m_dialog->GetDlgItem(id));
    }
    QRadioButton* Radio(int id) const {
        return static_cast<QRadioButton*>(m_dialog->GetDlgItem(id));
    }
};
