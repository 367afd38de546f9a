#pragma once
// The fonts of the settings ("treeFont", "rtfFont", …) as Qt fonts: the
// settings keep the Windows edition's font record (app/font_record.h).

#include <QFont>
#include <QStringList>
#include <optional>

#include "ports/settings_defaults.h"

namespace orv {

// The font the settings hold, built on base; null when they hold none that reads.
std::optional<QFont> StoredFont(CSettingsStore& settings, const SBinarySetting& setting,
                                const QFont& base);
void StoreFont(CSettingsStore& settings, const SBinarySetting& setting, const QFont& font);

}  // namespace orv
