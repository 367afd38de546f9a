#pragma once
// Names the user gave (folders, notes, files) go into tab and menu texts,
// where Qt takes a lone "&" for a mnemonic and hides it.

#include <QString>

namespace orv {

inline QString ShownAsIs(QString sName) { return sName.replace('&', QStringLiteral("&&")); }

}  // namespace orv
