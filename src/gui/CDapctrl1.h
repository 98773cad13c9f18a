#pragma once

#include <QString>

// Stands in for the media player's hosted control: an external player program found once when
// the result page starts. SetNamedValue("sXmpArg", commandLine) starts that program detached
// with the command line's arguments.
class CDapctrl1 {
public:
    // Looks for the player: QUIMB_PLAYER if set (a name on PATH or a path), else the first of
    // a few Linux players on PATH. Returns false when there is none.
    bool Create();
    // Returns 0. Throws std::runtime_error when the program cannot be started.
    int SetNamedValue(const QString& name, const QString& value);
    const QString& program() const { return m_program; }

private:
    QString m_program;
};

// The players looked for on PATH when QUIMB_PLAYER is not set, in this order.
inline constexpr const char* kKnownPlayers[] = {"mpv", "vlc", "celluloid", "smplayer", "totem"};
