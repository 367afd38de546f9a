#pragma once
// Every value the program keeps in the settings store, with its section and
// its default, so that no caller spells a name or repeats a default. Read and
// write them with ReadSetting and WriteSetting.
//
// Colours are 24-bit colour references with red in the low byte, the coding
// note colours have in documents. Where the default is "the desktop's window
// colour" we take white for backgrounds and black for text: the store has no
// desktop to ask, and the app may still follow the theme when a value is unset.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ports/settings_store.h"

namespace orv {

struct SIntSetting {
  std::string_view sSection;
  std::string_view sName;
  int32_t nDefault;
};

struct SStringSetting {
  std::string_view sSection;
  std::string_view sName;
  std::string_view sDefault;
};

// Binary values have no default: an absent one means "the control's own"
// (the fonts).
struct SBinarySetting {
  std::string_view sSection;
  std::string_view sName;
};

int32_t ReadSetting(CSettingsStore& store, const SIntSetting& setting);
std::string ReadSetting(CSettingsStore& store, const SStringSetting& setting);
std::optional<std::vector<uint8_t>> ReadSetting(CSettingsStore& store,
                                                const SBinarySetting& setting);
void WriteSetting(CSettingsStore& store, const SIntSetting& setting, int32_t nValue);
void WriteSetting(CSettingsStore& store, const SStringSetting& setting, std::string_view sValue);
void WriteSetting(CSettingsStore& store, const SBinarySetting& setting,
                  const std::vector<uint8_t>& value);

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr int32_t kDefaultWindowColour = 0xFFFFFF;
inline constexpr int32_t kDefaultTextColour = 0x000000;

// The "Don't ask me again" choice of the question that uses `sKey`.
constexpr SIntSetting DontAskAgainSetting(std::string_view sKey) {
  return {kSettingsSection, sKey, 0};
}

// Remembered by a list dialog and by the settings dialog in their own sections.
constexpr SIntSetting SelectedRowSetting(std::string_view sDialogSection) {
  return {sDialogSection, "SelectedRow", 0};
}
constexpr SIntSetting CurrentTabSetting(std::string_view sDialogSection) {
  return {sDialogSection, "CurrentTab", 0};
}

// General behaviour and the main window.
inline constexpr SIntSetting kNumBackCopies{kSettingsSection, "iNumBackCopies", 2};
inline constexpr SIntSetting kShowTreeHinths{kSettingsSection, "m_bShowTreeHinths", 0};
inline constexpr SIntSetting kMinimizeToTray{kSettingsSection, "m_bMinimizeToTray", 0};
inline constexpr SIntSetting kAutoSaveByMinimize{kSettingsSection, "m_bAutoSaveByMinimize", 0};
inline constexpr SIntSetting kDefaultInsDate{kSettingsSection, "m_bDefaultInsDate", 0};
inline constexpr SIntSetting kDefaultInsCustomDate{kSettingsSection, "m_bDefaultInsCustomDate", 0};
inline constexpr SIntSetting kAllowOneInstance{kSettingsSection, "m_bAllowOneInstance", 0};
inline constexpr SIntSetting kActShortcutKeyCode{kSettingsSection, "m_wActShortcutKeyCode", 123};
// 1 Alt, 2 Ctrl, 4 Shift.
inline constexpr SIntSetting kActShortcutModifiers{kSettingsSection, "m_wActShortcutModifiers", 2};
inline constexpr SIntSetting kSetDef{kSettingsSection, "bSetDef", 1};
// 0 text, 1 HTML, 2 rich text, kDefTypeNone: ask for every new note.
inline constexpr SIntSetting kDefType{kSettingsSection, "iDefType", 2};
inline constexpr int32_t kDefTypeNone = 100;
inline constexpr SIntSetting kDefIcon{kSettingsSection, "iDefIcon", 0};
// 0 normal, 1 minimised (start hidden), 2 maximised.
inline constexpr SIntSetting kMainFrameState{kSettingsSection, "Main Frame State", 2};
inline constexpr SIntSetting kMainFrameX{kSettingsSection, "Main Frame X", 0};
inline constexpr SIntSetting kMainFrameY{kSettingsSection, "Main Frame Y", 0};
inline constexpr SIntSetting kMainFrameWidth{kSettingsSection, "Main Frame Width", 1024};
inline constexpr SIntSetting kMainFrameHeight{kSettingsSection, "Main Frame Height", 768};
inline constexpr SStringSetting kInstalled{kSettingsSection, "sInstalled", ""};
inline constexpr SStringSetting kLastShowed{kSettingsSection, "sLastShowed", ""};
// The web site asked for updates and opened by the Help menu's pages
// ("https://example.org"); empty: the build's own, when it has one.
inline constexpr SStringSetting kWebAddress{kSettingsSection, "sWebAddress", ""};
// The server-backup account: the login and the WebDAV folder the document
// is uploaded to. Its password is kept by the desktop's keyring.
inline constexpr SStringSetting kBackupLogin{kSettingsSection, "BackupLogin", ""};
inline constexpr SStringSetting kBackupAddress{kSettingsSection, "BackupAddress", ""};

// Questions whose "Don't ask me again" box can silence them.
inline constexpr SIntSetting kDontAskAttDel = DontAskAgainSetting("AttDel");
inline constexpr SIntSetting kDontAskAttDelAll = DontAskAgainSetting("AttDelAll");
inline constexpr SIntSetting kDontAskExtTools = DontAskAgainSetting("ExtTools");
inline constexpr SIntSetting kDontAskDelPage = DontAskAgainSetting("DelPage");
inline constexpr SIntSetting kDontAskPageSort = DontAskAgainSetting("PageSort");
inline constexpr SIntSetting kDontAskDelNode = DontAskAgainSetting("DelNode");
inline constexpr SIntSetting kDontAskNodeSort = DontAskAgainSetting("NodeSort");
inline constexpr SIntSetting kDontAskSortCrTime = DontAskAgainSetting("SortCrTime");
inline constexpr SIntSetting kDontAskSortMdTime = DontAskAgainSetting("SortMdTime");
inline constexpr SIntSetting kDontAskSortAllTree = DontAskAgainSetting("SortAllTree");
inline constexpr SIntSetting kDontAskSortCrTimeAll = DontAskAgainSetting("SortCrTimeAll");
inline constexpr SIntSetting kDontAskSortMdTimeAll = DontAskAgainSetting("SortMdTimeAll");
inline constexpr SIntSetting kDontAskNumbering = DontAskAgainSetting("Numbering");
inline constexpr SIntSetting kDontAskOnNodeSetpassword = DontAskAgainSetting("OnNodeSetpassword");
inline constexpr SIntSetting kDontAskOnNotesColorReset = DontAskAgainSetting("OnNotesColorReset");
inline constexpr SIntSetting kDontAskAllChild = DontAskAgainSetting("AllChild");
inline constexpr SIntSetting kDontAskAgainSettings[] = {
    kDontAskAttDel,     kDontAskAttDelAll,         kDontAskExtTools,          kDontAskDelPage,
    kDontAskPageSort,   kDontAskDelNode,           kDontAskNodeSort,          kDontAskSortCrTime,
    kDontAskSortMdTime, kDontAskSortAllTree,       kDontAskSortCrTimeAll,     kDontAskSortMdTimeAll,
    kDontAskNumbering,  kDontAskOnNodeSetpassword, kDontAskOnNotesColorReset, kDontAskAllChild,
};

// Colours and fonts of the tree and the three editors.
inline constexpr SIntSetting kTreeBckColor{kSettingsSection, "treeBckColor", kDefaultWindowColour};
inline constexpr SIntSetting kTextBckColor{kSettingsSection, "textBckColor", kDefaultWindowColour};
inline constexpr SIntSetting kRtfBckColor{kSettingsSection, "rtfBckColor", kDefaultWindowColour};
inline constexpr SIntSetting kHtmlBckColor{kSettingsSection, "htmlBckColor", kDefaultWindowColour};
inline constexpr SIntSetting kTreeTextColor{kSettingsSection, "treeTextColor", kDefaultTextColour};
inline constexpr SIntSetting kTextColor{kSettingsSection, "textColor", kDefaultTextColour};
inline constexpr SIntSetting kHtmlTextColor{kSettingsSection, "HTMLtextColor", kDefaultTextColour};
// The last colours picked for the rich-text editor's colour buttons.
inline constexpr SIntSetting kClickTextColor{kSettingsSection, "ClickTextColor",
                                             kDefaultTextColour};
inline constexpr SIntSetting kClickTextBckColor{kSettingsSection, "ClickTextBckColor",
                                                kDefaultWindowColour};
// A 60-byte font description each.
inline constexpr SBinarySetting kTreeFont{kSettingsSection, "treeFont"};
inline constexpr SBinarySetting kTextFont{kSettingsSection, "textFont"};
inline constexpr SBinarySetting kRtfFont{kSettingsSection, "rtfFont"};
inline constexpr SBinarySetting kHtmlFont{kSettingsSection, "HTMLFont"};

// Other sections.
inline constexpr SIntSetting kEnableLog{"CBasedApp", "m_bEnableLog", 1};
inline constexpr SIntSetting kFullScreen{"CBasedMainFrame", "m_bFullScreen", 0};
inline constexpr SIntSetting kTopmost{"MainFrame", "Topmost", 0};
inline constexpr SIntSetting kStyleBar{"MainFrame", "m_wndStyleBar", 0};
inline constexpr SIntSetting kBackupBar{"MainFrame", "m_wndBackupBar", 0};
inline constexpr SIntSetting kSupportBar{"MainFrame", "m_wndSupportBar", 1};
// The main window's own tool bars and the tree pane's width, as the user left them.
inline constexpr SIntSetting kToolBar{"MainFrame", "m_wndToolBar", 1};
inline constexpr SIntSetting kTabsBar{"MainFrame", "m_wndTabsBar", 1};
inline constexpr SIntSetting kTreeWidth{"MainFrame", "m_nTreeWidth", 260};
inline constexpr SStringSetting kBackupFolder{"CommonSettings", "BackupFolder", ""};
inline constexpr std::array<SStringSetting, 4> kRecentFiles{{
    {"Recent File List", "File1", ""},
    {"Recent File List", "File2", ""},
    {"Recent File List", "File3", ""},
    {"Recent File List", "File4", ""},
}};
inline constexpr SIntSetting kTipStartUp{"Tip", "StartUp", 1};
inline constexpr SIntSetting kTipFilePos{"Tip", "FilePos", 0};
inline constexpr SStringSetting kTipTimeStamp{"Tip", "TimeStamp", ""};
// The history entries themselves are texts named "0", "1", … in the same section.
inline constexpr SIntSetting kFindHistoryCount{"FindHistory", "CountHistories", 0};
inline constexpr SIntSetting kAdvancedFindHistoryCount{"AdvancedFindHistory", "CountHistories", 0};
// The find dialogs' boxes as the user left them; the advanced one's scope is
// everywhere (m_idAllScope 0) or only the choice m_idScope, in the dialog's order.
inline constexpr SIntSetting kFindNodeMatchCase{"CFindNodeDlg", "m_chMatchCaseNodeName", 0};
inline constexpr SIntSetting kFindNodeWholeWord{"CFindNodeDlg", "m_chMatchWholeWordNodeName", 0};
inline constexpr SIntSetting kAdvancedFindMatchCase{"CAdvancedFindDlg", "m_chMatchCaseNodeName", 0};
inline constexpr SIntSetting kAdvancedFindWholeWord{"CAdvancedFindDlg",
                                                    "m_chMatchWholeWordNodeName", 0};
inline constexpr SIntSetting kAdvancedFindAttach{"CAdvancedFindDlg", "m_chIncludeAttach", 0};
inline constexpr SIntSetting kAdvancedFindAllScope{"CAdvancedFindDlg", "m_idAllScope", 0};
inline constexpr SIntSetting kAdvancedFindScope{"CAdvancedFindDlg", "m_idScope", 0};
inline constexpr SIntSetting kAdvancedFindCurSel{"CAdvancedFindDlg", "CurSel", 0};
inline constexpr SIntSetting kSettingsDialogTab = CurrentTabSetting("CSettingsDialog");
// The style names themselves are texts "style0", "style1", … in the same section.
inline constexpr SIntSetting kStyleCount{"Styles", "count", 0};
inline constexpr SIntSetting kStyleCurSel{"Styles", "cursel", 0};
// The icon picker's size, worth enlarging on a big screen; 0 means its own size.
inline constexpr SIntSetting kIconDialogWidth{"CSelectIconDialog", "Width", 0};
inline constexpr SIntSetting kIconDialogHeight{"CSelectIconDialog", "Height", 0};
inline constexpr SStringSetting kLinkedFile{"CRTFView", "OnInsertLinkToFile", ""};
// Date insertion: the format chosen last in the Date and Time list, and the
// five choices of Custom Date (kept in the find dialog's section, as ever).
inline constexpr SIntSetting kDateDialogCurSel{"CDateDialog", "iCurSel", 0};
inline constexpr std::array<SIntSetting, 5> kCustomDateChoices{{
    {"CFindNodeDlg", "m_bLong", 0},
    {"CFindNodeDlg", "m_bLong2", 0},
    {"CFindNodeDlg", "m_bLong3", 0},
    {"CFindNodeDlg", "m_bLong4", 0},
    {"CFindNodeDlg", "m_bLong5", 0},
}};
// Where the "Merge With ..." file dialog starts; the chosen file is written back.
inline constexpr SStringSetting kMergeStart{"CMainFrame", "OnFileMerge", "Keywords"};

enum class ESettingKind { Int, String, Binary };

struct SSettingInfo {
  std::string_view sSection;
  std::string_view sName;
  ESettingKind eKind;
  int32_t nDefault = 0;       // Int only
  std::string_view sDefault;  // String only
};

// Every setting above, for listings and checks.
std::span<const SSettingInfo> AllSettings();

}  // namespace orv
