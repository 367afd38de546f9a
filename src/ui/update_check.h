#pragma once
// Asking the program's web site for a newer version: Help → Check for
// Updates, and the check start-up runs on its schedule (shell/update_schedule.h).

class QMainWindow;

namespace orv {

class CSettingsStore;

// False where the build left the update check out (cmake -DORVELLA_UPDATE_CHECK=OFF).
bool UpdateCheckBuilt();

// Asks the site off the UI thread and shows its answer when there is a newer
// version. bAsked: the user chose the command, and is told when there is no
// site to ask, when this version is the newest and when the site cannot be
// reached; unasked, a failure shows only in the status bar. True when the
// site is being asked.
bool CheckForUpdates(QMainWindow& window, CSettingsStore& settings, bool bAsked);

}  // namespace orv
