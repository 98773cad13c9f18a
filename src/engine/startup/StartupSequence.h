#pragma once

#include <QString>
#include <atomic>

#include "engine/net/HttpLimits.h"
#include "engine/settings/ServiceHosts.h"
#include "engine/startup/ServerTable.h"

// What the start-up sequence needs from the window (the GUI) or its stand-in (the CLI).
class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    // Shows the ad page at address (passed on unchanged, empty included).
    virtual void NavigateAdPage(const QString& address) = 0;
    // Asks "有新版本，是否更新？"; true for Yes. published is the version text of the host.
    virtual bool AskUpdate(const QString& published) = 0;
    // Opens the update archive with the desktop's default handler.
    virtual void OpenUpdateArchive(const QString& url) = 0;
    // Ends the window with the OK result once its initialisation has returned.
    virtual void EndDialogOk() = 0;
    // A host of the sequence could not be reached (once per host): why, in the HTTP layer's
    // words. The sequence goes on as it would with an empty text.
    virtual void ReportFailure(const QString& /*host*/, const QString& /*reason*/) {}
};

// The limits of the start-up fetches: small files, so a slow service host costs seconds.
HttpLimits StartupHttpLimits();

// The program's own version text, "2.0.0.5".
QString GetOwnVersionText();

// The four start-up fetches in order: ad page address, version (with the update question),
// statistics hit, server list into table. Returns true when it stopped early on an empty
// version text (the keyword box then gets the initial focus), false when it ran through.
// cancel, when set, ends the fetch under way (and so the sequence, on an empty version).
bool RunStartupSequence(const ServiceHosts& hosts, StartupWindow& window, ServerTable& table,
                        const std::atomic_bool* cancel = nullptr);
