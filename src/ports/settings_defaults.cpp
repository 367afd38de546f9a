#include "ports/settings_defaults.h"

namespace orv {

int32_t ReadSetting(CSettingsStore& store, const SIntSetting& setting) {
  return store.GetInt(setting.sSection, setting.sName, setting.nDefault);
}

std::string ReadSetting(CSettingsStore& store, const SStringSetting& setting) {
  return store.GetString(setting.sSection, setting.sName, setting.sDefault);
}

std::optional<std::vector<uint8_t>> ReadSetting(CSettingsStore& store,
                                                const SBinarySetting& setting) {
  return store.GetBinary(setting.sSection, setting.sName);
}

void WriteSetting(CSettingsStore& store, const SIntSetting& setting, int32_t nValue) {
  store.SetInt(setting.sSection, setting.sName, nValue);
}

void WriteSetting(CSettingsStore& store, const SStringSetting& setting, std::string_view sValue) {
  store.SetString(setting.sSection, setting.sName, sValue);
}

void WriteSetting(CSettingsStore& store, const SBinarySetting& setting,
                  const std::vector<uint8_t>& value) {
  store.SetBinary(setting.sSection, setting.sName, value);
}

namespace {

constexpr SSettingInfo Info(const SIntSetting& s) {
  return {s.sSection, s.sName, ESettingKind::Int, s.nDefault, {}};
}
constexpr SSettingInfo Info(const SStringSetting& s) {
  return {s.sSection, s.sName, ESettingKind::String, 0, s.sDefault};
}
constexpr SSettingInfo Info(const SBinarySetting& s) {
  return {s.sSection, s.sName, ESettingKind::Binary, 0, {}};
}

constexpr SSettingInfo kAllSettings[] = {
    Info(kNumBackCopies),
    Info(kShowTreeHinths),
    Info(kMinimizeToTray),
    Info(kAutoSaveByMinimize),
    Info(kDefaultInsDate),
    Info(kDefaultInsCustomDate),
    Info(kAllowOneInstance),
    Info(kActShortcutKeyCode),
    Info(kActShortcutModifiers),
    Info(kSetDef),
    Info(kDefType),
    Info(kDefIcon),
    Info(kMainFrameState),
    Info(kMainFrameX),
    Info(kMainFrameY),
    Info(kMainFrameWidth),
    Info(kMainFrameHeight),
    Info(kInstalled),
    Info(kLastShowed),
    Info(kWebAddress),
    Info(kBackupLogin),
    Info(kBackupAddress),

    Info(kDontAskAttDel),
    Info(kDontAskAttDelAll),
    Info(kDontAskExtTools),
    Info(kDontAskDelPage),
    Info(kDontAskPageSort),
    Info(kDontAskDelNode),
    Info(kDontAskNodeSort),
    Info(kDontAskSortCrTime),
    Info(kDontAskSortMdTime),
    Info(kDontAskSortAllTree),
    Info(kDontAskSortCrTimeAll),
    Info(kDontAskSortMdTimeAll),
    Info(kDontAskNumbering),
    Info(kDontAskOnNodeSetpassword),
    Info(kDontAskOnNotesColorReset),
    Info(kDontAskAllChild),

    Info(kTreeBckColor),
    Info(kTextBckColor),
    Info(kRtfBckColor),
    Info(kHtmlBckColor),
    Info(kTreeTextColor),
    Info(kTextColor),
    Info(kHtmlTextColor),
    Info(kClickTextColor),
    Info(kClickTextBckColor),
    Info(kTreeFont),
    Info(kTextFont),
    Info(kRtfFont),
    Info(kHtmlFont),

    Info(kEnableLog),
    Info(kFullScreen),
    Info(kTopmost),
    Info(kStyleBar),
    Info(kBackupBar),
    Info(kSupportBar),
    Info(kToolBar),
    Info(kTabsBar),
    Info(kTreeWidth),
    Info(kBackupFolder),
    Info(kRecentFiles[0]),
    Info(kRecentFiles[1]),
    Info(kRecentFiles[2]),
    Info(kRecentFiles[3]),
    Info(kTipStartUp),
    Info(kTipFilePos),
    Info(kTipTimeStamp),
    Info(kFindHistoryCount),
    Info(kAdvancedFindHistoryCount),
    Info(kFindNodeMatchCase),
    Info(kFindNodeWholeWord),
    Info(kAdvancedFindMatchCase),
    Info(kAdvancedFindWholeWord),
    Info(kAdvancedFindAttach),
    Info(kAdvancedFindAllScope),
    Info(kAdvancedFindScope),
    Info(kAdvancedFindCurSel),
    Info(kSettingsDialogTab),
    Info(kStyleCount),
    Info(kStyleCurSel),
    Info(kLinkedFile),
    Info(kDateDialogCurSel),
    Info(kCustomDateChoices[0]),
    Info(kCustomDateChoices[1]),
    Info(kCustomDateChoices[2]),
    Info(kCustomDateChoices[3]),
    Info(kCustomDateChoices[4]),
    Info(kMergeStart),
    Info(kIconDialogWidth),
    Info(kIconDialogHeight),
};

}  // namespace

std::span<const SSettingInfo> AllSettings() { return kAllSettings; }

}  // namespace orv
