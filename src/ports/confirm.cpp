#include "ports/confirm.h"

#include <string>

#include "ports/settings_defaults.h"

namespace orv {

bool Confirm(CUiPort& ui, CSettingsStore& store, std::string_view sText, std::string_view sKey,
             std::string_view sCaption) {
  const SIntSetting dontAsk = DontAskAgainSetting(sKey);
  if (ReadSetting(store, dontAsk) != 0) return true;
  SConfirmAnswer answer = ui.AskConfirm(std::string(sText), std::string(sCaption));
  if (answer.bYes && answer.bDontAskAgain) WriteSetting(store, dontAsk, 1);
  return answer.bYes;
}

}  // namespace orv
