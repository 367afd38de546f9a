#pragma once
// Asking the program's web site for a newer version: Help → Check for
// Updates, and the check start-up runs on its schedule (shell/update_schedule.h).

class QWidget;

namespace orv {

class CSettingsStore;

// bAsked: the user chose the command, and is told when there is no site to
// ask. True when the site was asked.
bool CheckForUpdates(QWidget& parent, CSettingsStore& settings, bool bAsked);

}  // namespace orv
