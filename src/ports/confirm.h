#pragma once
// A yes/no question the user can silence with its "Don't ask me again" box.

#include <string_view>

#include "ports/settings_store.h"
#include "ports/ui_port.h"

namespace orv {

// Yes at once when the user silenced the question under `sKey` (section
// "Settings"); otherwise asks. Ticking the box silences the question only
// together with a yes, so a silenced question always means yes.
bool Confirm(CUiPort& ui, CSettingsStore& store, std::string_view sText, std::string_view sKey,
             std::string_view sCaption);

}  // namespace orv
