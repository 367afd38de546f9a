#include "app/key_codes.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace orv {

namespace {

constexpr int kQtNone = 0;

struct SKey {
  uint16_t nKey;
  const char* pName;
  int nQtKey;  // kQtNone when Qt has no such key
  bool bKeypad = false;
};

// Named keys other than letters, digits, F1–F24 and the number pad's digits.
// The punctuation keys (VK_OEM_*) carry the character of their US-layout key
// as name, so a user can give a command Ctrl+; and read it back.
constexpr SKey kNamedKeys[] = {
    {0x01, "VK_LBUTTON", kQtNone},
    {0x02, "VK_RBUTTON", kQtNone},
    {0x03, "VK_CANCEL", 0x01020001},
    {0x04, "VK_MBUTTON", kQtNone},
    {0x08, "BACK", 0x01000003},
    {0x09, "TAB", 0x01000001},
    {0x0C, "VK_CLEAR", 0x0100000b},
    {0x0D, "RETURN", 0x01000004},
    {0x10, "SHIFT", 0x01000020},
    {0x11, "CONTROL", 0x01000021},
    {0x12, "MENU", 0x01000023},
    {0x13, "PAUSE", 0x01000008},
    {0x14, "CAPITAL", 0x01000024},
    {0x1B, "ESCAPE", 0x01000000},
    {0x20, "SPACE", 0x20},
    {0x21, "PRIOR", 0x01000016},
    {0x22, "NEXT", 0x01000017},
    {0x23, "END", 0x01000011},
    {0x24, "HOME", 0x01000010},
    {0x25, "LEFT", 0x01000012},
    {0x26, "UP", 0x01000013},
    {0x27, "RIGHT", 0x01000014},
    {0x28, "DOWN", 0x01000015},
    {0x29, "VK_SELECT", 0x01010000},
    {0x2A, "PRINT", 0x01020002},
    {0x2B, "EXECUTE", 0x01020003},
    {0x2C, "SNAPSHOT", 0x01000009},
    {0x2D, "INSERT", 0x01000006},
    {0x2E, "DELETE", 0x01000007},
    {0x2F, "VK_HELP", 0x01000058},
    {0x5B, "VK_LWIN", 0x01000053},
    {0x5C, "VK_RWIN", 0x01000054},
    {0x5D, "VK_APPS", 0x01000055},
    {0x6A, "MULTIPLY", '*', true},
    {0x6B, "ADD", '+', true},
    {0x6C, "SEPARATOR", ',', true},
    {0x6D, "SUBTRACT", '-', true},
    {0x6E, "DECIMAL", '.', true},
    {0x6F, "DIVIDE", '/', true},
    {0x90, "NUMLOCK", 0x01000025},
    {0x91, "VK_SCROLL", 0x01000026},
    {0xBA, ";", ';'},
    {0xBB, "=", '='},
    {0xBC, ",", ','},
    {0xBD, "-", '-'},
    {0xBE, ".", '.'},
    {0xBF, "/", '/'},
    {0xC0, "`", '`'},
    {0xDB, "[", '['},
    {0xDC, "\\", '\\'},
    {0xDD, "]", ']'},
    {0xDE, "'", '\''},
    {0xF6, "VK_ATTN", kQtNone},
    {0xF7, "VK_CRSEL", kQtNone},
    {0xF8, "VK_EXSEL", kQtNone},
    {0xF9, "VK_EREOF", kQtNone},
    {0xFA, "VK_PLAY", 0x01020005},
    {0xFB, "VK_ZOOM", 0x01020006},
    {0xFC, "VK_NONAME", kQtNone},
    {0xFD, "VK_PA1", kQtNone},
    {0xFE, "VK_OEM_CLEAR", kQtNone},
};

constexpr uint16_t kVkDigit0 = 0x30, kVkLetterA = 0x41, kVkNumpad0 = 0x60, kVkF1 = 0x70;
constexpr int kFunctionKeys = 24;
constexpr int kQtF1 = 0x01000030;
constexpr int kQtModifiers = kQtShift | kQtControl | kQtAlt | kQtKeypad | 0x10000000;  // + Meta

struct SNamedKey {
  uint16_t nKey;
  std::string sName;
  int nQtKey;
  bool bKeypad;
};

// Every key with a name, letters to punctuation, built once.
const std::vector<SNamedKey>& AllKeys() {
  static const std::vector<SNamedKey> keys = [] {
    std::vector<SNamedKey> all;
    for (int i = 0; i < 26; ++i)
      all.push_back({uint16_t(kVkLetterA + i), std::string(1, char('A' + i)), 'A' + i, false});
    for (int i = 0; i < 10; ++i)
      all.push_back({uint16_t(kVkDigit0 + i), std::string(1, char('0' + i)), '0' + i, false});
    for (int i = 0; i < 10; ++i)
      all.push_back({uint16_t(kVkNumpad0 + i), "NUMPAD" + std::to_string(i), '0' + i, true});
    for (int i = 0; i < kFunctionKeys; ++i)
      all.push_back({uint16_t(kVkF1 + i), "F" + std::to_string(i + 1), kQtF1 + i, false});
    for (const SKey& key : kNamedKeys)
      all.push_back({key.nKey, key.pName, key.nQtKey, key.bKeypad});
    return all;
  }();
  return keys;
}

const SNamedKey* FindByCode(uint16_t nKey) {
  for (const SNamedKey& key : AllKeys())
    if (key.nKey == nKey) return &key;
  return nullptr;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

std::optional<uint16_t> KeyOfName(std::string_view sName) {
  static constexpr std::pair<std::string_view, uint16_t> kSpellings[] = {
      {"Enter", 0x0D},     {"Return", 0x0D}, {"Del", 0x2E},    {"Ins", 0x2D},    {"Esc", 0x1B},
      {"Backspace", 0x08}, {"PgUp", 0x21},   {"PageUp", 0x21}, {"PgDown", 0x22}, {"PageDown", 0x22},
  };
  for (const auto& [sSpelling, nKey] : kSpellings)
    if (SameLetters(sName, sSpelling)) return nKey;
  for (const SNamedKey& key : AllKeys())
    if (SameLetters(sName, key.sName)) return key.nKey;
  return std::nullopt;
}

}  // namespace

std::string KeyName(uint16_t nKey) {
  const SNamedKey* pKey = FindByCode(nKey);
  return pKey ? pKey->sName : std::string();
}

std::string CombinationText(const SKeyCombination& combination) {
  if (combination.nKey == 0) return {};
  const std::string sKey = KeyName(combination.nKey);
  if (sKey.empty()) return "Internal error : (CAccelsOb::GetString) m_wKey invalid";
  std::string sText;
  if (combination.nFlags & kAccelControl) sText += "Ctrl+";
  if (combination.nFlags & kAccelAlt) sText += "Alt+";
  if (combination.nFlags & kAccelShift) sText += "Shift+";
  return sText + sKey;
}

std::optional<SKeyCombination> ParseCombination(std::string_view sText) {
  SKeyCombination combination{kAccelVirtKey, 0};
  while (true) {
    const size_t nPlus = sText.find('+');
    if (nPlus == std::string_view::npos) break;
    const std::string_view sModifier = sText.substr(0, nPlus);
    if (SameLetters(sModifier, "Ctrl") || SameLetters(sModifier, "Control"))
      combination.nFlags |= kAccelControl;
    else if (SameLetters(sModifier, "Alt"))
      combination.nFlags |= kAccelAlt;
    else if (SameLetters(sModifier, "Shift"))
      combination.nFlags |= kAccelShift;
    else
      return std::nullopt;
    sText.remove_prefix(nPlus + 1);
  }
  const std::optional<uint16_t> nKey = KeyOfName(sText);
  if (!nKey) return std::nullopt;
  combination.nKey = *nKey;
  return combination;
}

uint16_t HotKeyModifiers(const SKeyCombination& combination) {
  return (combination.nFlags & kAccelAlt ? 1 : 0) | (combination.nFlags & kAccelControl ? 2 : 0) |
         (combination.nFlags & kAccelShift ? 4 : 0);
}

SKeyCombination HotKeyCombination(uint16_t nKey, uint16_t nModifiers) {
  SKeyCombination combination{kAccelVirtKey, nKey};
  if (nModifiers & 1) combination.nFlags |= kAccelAlt;
  if (nModifiers & 2) combination.nFlags |= kAccelControl;
  if (nModifiers & 4) combination.nFlags |= kAccelShift;
  return combination;
}

namespace {

struct SOtherKeySym {
  uint16_t nVk;
  uint32_t nSym;
  const char* pName;  // the keysym's name, as X and xkbcommon spell it
};

constexpr SOtherKeySym kOtherKeySyms[] = {
    {0x08, 0xFF08, "BackSpace"}, {0x09, 0xFF09, "Tab"},       {0x0D, 0xFF0D, "Return"},
    {0x13, 0xFF13, "Pause"},     {0x1B, 0xFF1B, "Escape"},    {0x20, 0x0020, "space"},
    {0x21, 0xFF55, "Page_Up"},   {0x22, 0xFF56, "Page_Down"}, {0x23, 0xFF57, "End"},
    {0x24, 0xFF50, "Home"},      {0x25, 0xFF51, "Left"},      {0x26, 0xFF52, "Up"},
    {0x27, 0xFF53, "Right"},     {0x28, 0xFF54, "Down"},      {0x2C, 0xFF61, "Print"},
    {0x2D, 0xFF63, "Insert"},    {0x2E, 0xFFFF, "Delete"},
};

const SOtherKeySym* FindOtherKeySym(uint16_t nKey) {
  for (const SOtherKeySym& other : kOtherKeySyms)
    if (other.nVk == nKey) return &other;
  return nullptr;
}

}  // namespace

std::optional<uint32_t> X11KeySymOf(uint16_t nKey) {
  constexpr uint32_t kXkF1 = 0xFFBE, kXkKp0 = 0xFFB0;
  if (nKey >= kVkLetterA && nKey < kVkLetterA + 26) return 'a' + (nKey - kVkLetterA);
  if (nKey >= kVkDigit0 && nKey < kVkDigit0 + 10) return nKey;
  if (nKey >= kVkF1 && nKey < kVkF1 + kFunctionKeys) return kXkF1 + (nKey - kVkF1);
  if (nKey >= kVkNumpad0 && nKey < kVkNumpad0 + 10) return kXkKp0 + (nKey - kVkNumpad0);
  const SOtherKeySym* pOther = FindOtherKeySym(nKey);
  return pOther ? std::optional<uint32_t>(pOther->nSym) : std::nullopt;
}

std::optional<std::string> PortalTriggerOf(const SKeyCombination& combination) {
  const uint16_t nKey = combination.nKey;
  std::string sKey;
  if (nKey >= kVkLetterA && nKey < kVkLetterA + 26)
    sKey = static_cast<char>('a' + (nKey - kVkLetterA));
  else if (nKey >= kVkDigit0 && nKey < kVkDigit0 + 10)
    sKey = static_cast<char>(nKey);
  else if (nKey >= kVkF1 && nKey < kVkF1 + kFunctionKeys)
    sKey = "F" + std::to_string(nKey - kVkF1 + 1);
  else if (nKey >= kVkNumpad0 && nKey < kVkNumpad0 + 10)
    sKey = "KP_" + std::to_string(nKey - kVkNumpad0);
  else if (const SOtherKeySym* pOther = FindOtherKeySym(nKey))
    sKey = pOther->pName;
  else
    return std::nullopt;
  std::string sTrigger;
  if (combination.nFlags & kAccelControl) sTrigger += "CTRL+";
  if (combination.nFlags & kAccelAlt) sTrigger += "ALT+";
  if (combination.nFlags & kAccelShift) sTrigger += "SHIFT+";
  return sTrigger + sKey;
}

std::optional<int> QtKeyOf(const SKeyCombination& combination) {
  const SNamedKey* pKey = FindByCode(combination.nKey);
  if (!pKey || pKey->nQtKey == kQtNone) return std::nullopt;
  int nQt = pKey->nQtKey | (pKey->bKeypad ? kQtKeypad : 0);
  if (combination.nFlags & kAccelShift) nQt |= kQtShift;
  if (combination.nFlags & kAccelControl) nQt |= kQtControl;
  if (combination.nFlags & kAccelAlt) nQt |= kQtAlt;
  return nQt;
}

std::optional<SKeyCombination> CombinationOfQtKey(int nQtKeyAndModifiers) {
  constexpr int kQtMeta = 0x10000000, kQtBacktab = 0x01000002, kQtEnter = 0x01000005;
  if (nQtKeyAndModifiers & kQtMeta) return std::nullopt;
  int nQtKey = nQtKeyAndModifiers & ~kQtModifiers;
  const bool bKeypad = nQtKeyAndModifiers & kQtKeypad;
  SKeyCombination combination{kAccelVirtKey, 0};
  if (nQtKeyAndModifiers & kQtShift) combination.nFlags |= kAccelShift;
  if (nQtKeyAndModifiers & kQtControl) combination.nFlags |= kAccelControl;
  if (nQtKeyAndModifiers & kQtAlt) combination.nFlags |= kAccelAlt;
  // X reports Shift+Tab as Backtab, and the number pad's Enter as Enter.
  if (nQtKey == kQtBacktab) {
    nQtKey = 0x01000001;
    combination.nFlags |= kAccelShift;
  } else if (nQtKey == kQtEnter) {
    nQtKey = 0x01000004;
  }
  // The number pad's own key first; its navigation keys are the ordinary ones.
  const SNamedKey* pMatch = nullptr;
  for (const SNamedKey& key : AllKeys()) {
    if (key.nQtKey != nQtKey || key.nQtKey == kQtNone) continue;
    if (key.bKeypad == bKeypad) {
      pMatch = &key;
      break;
    }
    if (!pMatch && !key.bKeypad) pMatch = &key;
  }
  if (!pMatch) return std::nullopt;
  combination.nKey = pMatch->nKey;
  return combination;
}

}  // namespace orv
