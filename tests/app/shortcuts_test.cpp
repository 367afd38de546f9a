#include <gtest/gtest.h>

#include "app/accelerator_manager.h"
#include "app/command_table.h"
#include "app/external_tools.h"

namespace orv {
namespace {

constexpr uint8_t kCtrl = kAccelVirtKey | kAccelControl;

std::string Words(std::initializer_list<uint32_t> words) {
  std::string s;
  for (uint32_t w : words)
    for (int i = 0; i < 4; ++i) s += static_cast<char>(w >> (8 * i));
  return s;
}

TEST(KeyCodes, TextsParseBackAndEveryNamedKeyRoundTripsThroughQt) {
  const std::pair<SKeyCombination, std::string> kTexts[] = {
      {{kAccelVirtKey | kAccelShift | kAccelAlt | kAccelControl, 'L'}, "Ctrl+Alt+Shift+L"},
      {{kAccelVirtKey, 0x60}, "NUMPAD0"},
      {{kAccelVirtKey | kAccelShift, 0x87}, "Shift+F24"},
      {{kCtrl, 0xBA}, "Ctrl+;"},
      {{kCtrl, 0}, ""},
      {{kCtrl, 0xE5}, "Internal error : (CAccelsOb::GetString) m_wKey invalid"},
  };
  for (const auto& [combination, sText] : kTexts) EXPECT_EQ(CombinationText(combination), sText);

  int nNamed = 0;
  for (int nKey = 1; nKey < 256; ++nKey) {
    if (KeyName(nKey).empty()) continue;
    ++nNamed;
    for (uint8_t nMods : {0, kAccelShift | kAccelAlt, kAccelControl | kAccelShift}) {
      const SKeyCombination c{uint8_t(kAccelVirtKey | nMods), uint16_t(nKey)};
      EXPECT_EQ(ParseCombination(CombinationText(c)), c) << nKey;
      if (auto nQt = QtKeyOf(c)) {
        EXPECT_EQ(CombinationOfQtKey(*nQt), c) << nKey;
      }
    }
  }
  EXPECT_EQ(nNamed, 26 + 10 + 10 + 24 + 50 + 11);  // the punctuation keys are ours

  EXPECT_EQ(ParseCombination("ctrl+shift+s"), (SKeyCombination{kCtrl | kAccelShift, 'S'}));
  EXPECT_EQ(ParseCombination("Alt+Enter"), (SKeyCombination{kAccelVirtKey | kAccelAlt, 0x0D}));
  EXPECT_EQ(ParseCombination("Shift+Del"), (SKeyCombination{kAccelVirtKey | kAccelShift, 0x2E}));
  for (const char* pBad : {"", "Ctrl+", "Hyper+X", "Ctrl+Nothing"})
    EXPECT_FALSE(ParseCombination(pBad)) << pBad;

  // What X reports: Shift+Tab as Backtab, the pad's Enter, the pad's Home.
  EXPECT_EQ(CombinationOfQtKey(kQtShift | 0x01000002), ParseCombination("Shift+TAB"));
  EXPECT_EQ(CombinationOfQtKey(kQtKeypad | 0x01000005), ParseCombination("RETURN"));
  EXPECT_EQ(CombinationOfQtKey(kQtKeypad | 0x01000010), ParseCombination("HOME"));
  EXPECT_EQ(CombinationOfQtKey(kQtKeypad | '7'), ParseCombination("NUMPAD7"));
  EXPECT_FALSE(CombinationOfQtKey(0x10000000 | 'A'));  // Meta has no place in the file

  // The activation hot key's own coding; the defaults are Ctrl+F12.
  EXPECT_EQ(CombinationText(HotKeyCombination(123, 2)), "Ctrl+F12");
  EXPECT_EQ(HotKeyModifiers(*ParseCombination("Ctrl+Alt+Shift+K")), 7);
  EXPECT_EQ(HotKeyCombination('K', 5), ParseCombination("Alt+Shift+K"));
  // The X keysyms a grab asks for (X11/keysymdef.h), and the portal's spelling
  // of the same key (keysym names after the modifiers).
  struct SKeySymCase {
    const char* pCombination;
    std::optional<uint32_t> nKeySym;
    std::optional<std::string> sTrigger;
  };
  const SKeySymCase kKeySyms[] = {
      {"Ctrl+F12", 0xFFC9, "CTRL+F12"},
      {"Alt+Shift+Q", 'q', "ALT+SHIFT+q"},
      {"7", '7', "7"},
      {"NUMPAD5", 0xFFB5, "KP_5"},
      {"Ctrl+DELETE", 0xFFFF, "CTRL+Delete"},
      {"PRIOR", 0xFF55, "Page_Up"},
      {"VK_APPS", std::nullopt, std::nullopt},
  };
  for (const SKeySymCase& keySym : kKeySyms) {
    const SKeyCombination combination = *ParseCombination(keySym.pCombination);
    EXPECT_EQ(X11KeySymOf(combination.nKey), keySym.nKeySym) << keySym.pCombination;
    EXPECT_EQ(PortalTriggerOf(combination), keySym.sTrigger) << keySym.pCombination;
  }
}

TEST(AcceleratorManager, StartUpRegistersTheTableAsItsRulesSay) {
  size_t nKeys = 0;
  for (const SCommandRow& row : CommandTable())
    for (std::string_view s = row.sKeys; !s.empty(); ++nKeys) {
      const size_t nEnd = s.find("; ");
      EXPECT_TRUE(ParseCombination(s.substr(0, nEnd))) << row.sName;
      s = nEnd == std::string_view::npos ? std::string_view() : s.substr(nEnd + 2);
    }
  const CAcceleratorManager manager = StartUpAccelerators();
  EXPECT_EQ(manager.Table().size(), nKeys);

  EXPECT_FALSE(manager.FindByName("Notes - New Note"));  // with keys, but has none
  ASSERT_TRUE(manager.FindByName("File - Save As ..."));
  EXPECT_TRUE(manager.FindByName("File - Save As ...")->m_Accels.empty());
  const CCmdAccelOb* pUndo = manager.FindByName("Edit - Undo");
  ASSERT_TRUE(pUndo);
  ASSERT_EQ(pUndo->m_Accels.size(), 2u);
  EXPECT_EQ(pUndo->m_Accels[0].GetString(), "Alt+BACK");
  EXPECT_TRUE(pUndo->m_Accels[0].m_bLocked);
  // Three names, one command: the last name stands for it.
  EXPECT_FALSE(manager.FindByName("Notes - Advanced - Export To - Text File"));
  EXPECT_TRUE(manager.FindByName("Notes - Advanced - Export To - RTF File"));
  EXPECT_EQ(manager.FindByName("Folders - New")->m_Accels.size(), 1u);
  int nCtrlR = 0;
  for (const SAccelEntry& entry : manager.Table())
    nCtrlR += entry.combination == SKeyCombination{kCtrl, 'R'};
  EXPECT_EQ(nCtrlR, 3);
}

TEST(AcceleratorManager, TheUsersKeysGoToTheFileWordForWord) {
  CAcceleratorManager manager = StartUpAccelerators();
  EXPECT_EQ(manager.Save(), Words({1, 1, 0xFFFF}));

  const uint16_t nSaveAs = manager.FindByName("File - Save As ...")->m_wIDCommand;
  const uint16_t nSave = manager.FindByName("File - Save")->m_wIDCommand;
  ASSERT_TRUE(manager.Assign(nSaveAs, {kCtrl | kAccelShift, 'S'}));
  EXPECT_FALSE(manager.Assign(nSaveAs, {kCtrl | kAccelShift, 'S'}));
  ASSERT_TRUE(manager.Assign(nSave, {kAccelVirtKey, 0x71}));
  const std::string sFile = manager.Save();
  EXPECT_EQ(sFile, Words({1, 5, 2u << 16 | 0xFFFF,       //
                          1u << 16 | nSave, 0x02010071,  //
                          1u << 16 | nSaveAs, 0x020D0053}));

  EXPECT_EQ(manager.Remove(nSave, 0), "Unable to remove this\naccelerator (Locked)");
  EXPECT_EQ(manager.Remove(nSave, 1), std::nullopt);
  EXPECT_EQ(manager.Find(nSave)->m_Accels.size(), 1u);

  // An unknown command's group is skipped and the next one still read.
  CAcceleratorManager reader = StartUpAccelerators();
  EXPECT_EQ(reader.Load(Words({1, 7, 2u << 16 | 0xFFFF, 2u << 16 | 9999, 0x0208004B, 0x0208004C,
                               1u << 16 | nSaveAs, 0x020D0053})),
            std::nullopt);
  EXPECT_EQ(reader.Save(), Words({1, 3, 1u << 16 | 0xFFFF, 1u << 16 | nSaveAs, 0x020D0053}));

  // A foreign header is ignored; a cut-off file changes nothing and says why.
  const std::string sBefore = reader.Save();
  EXPECT_EQ(reader.Load(Words({1, 3, 1u << 16 | 0xFFFE, 1u << 16 | nSave, 0x02010071})),
            std::nullopt);
  EXPECT_TRUE(reader.Load(Words(
      {1, 9, 2u << 16 | 0xFFFF, 1u << 16 | nSave, 0x02010071, 3u << 16 | nSaveAs, 0x020D0053})));
  EXPECT_EQ(reader.Save(), sBefore);

  reader.ResetToDefaults();
  EXPECT_EQ(reader.Save(), Words({1, 1, 0xFFFF}));
}

TEST(ExternalTools, TheFileRoundTripsAndTheFirstToolOfAKeyWins) {
  std::vector<CExternalTool> tools(3);
  tools[0] = {"Diff", "/usr/bin/meld", "%f", "", 0, 0};
  tools[0].SetHotKey(*ParseCombination("Ctrl+Alt+D"));
  tools[1] = {"Two\nlines", "gedit", "", "", 0, 0};
  tools[2] = {"Shadowed", "true", "", "", 0, 0};
  tools[2].SetHotKey(*ParseCombination("Alt+Ctrl+D"));

  const std::string sFile = WriteExternalTools(tools);
  EXPECT_EQ(sFile,
            "1.1\nDiff\n/usr/bin/meld\n%f\nCtrl+Alt+D\n68 6\nTwo lines\ngedit\n\n\n0 0\n"
            "Shadowed\ntrue\n\nCtrl+Alt+D\n68 6\n");
  std::string sWindows = sFile;
  for (size_t i = 0; (i = sWindows.find('\n', i)) != std::string::npos; i += 2)
    sWindows.insert(i, "\r");
  const std::vector<CExternalTool> read = ReadExternalTools(sWindows);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(WriteExternalTools(read), sFile);

  EXPECT_EQ(ToolMenuText(read[0]), "Diff\t        Ctrl+Alt+D");
  EXPECT_EQ(ToolMenuText(read[1]), "Two lines");
  EXPECT_EQ(ToolForKey(read, *ParseCombination("Ctrl+Alt+D")), 0u);
  EXPECT_EQ(ToolForKey(read, *ParseCombination("Ctrl+D")), std::nullopt);
}

TEST(ExternalTools, ArgumentsAreWordsNeverShellCommands) {
  const SToolContext context{"/home/u/My Notes.orv", "/tmp/note.txt"};
  const std::pair<const char*, std::vector<std::string>> kCases[] = {
      {"", {"tool"}},
      {"-a  \"b c\" 'd $e' f\\ g", {"tool", "-a", "b c", "d $e", "f g"}},
      {"%f --note=%n 100%% %x",
       {"tool", "/home/u/My Notes.orv", "--note=/tmp/note.txt", "100%", "%x"}},
      {"; rm -rf ~ `id` $(id)", {"tool", ";", "rm", "-rf", "~", "`id`", "$(id)"}},
  };
  for (const auto& [pArguments, expected] : kCases)
    EXPECT_EQ(ToolCommandLine({"t", "tool", pArguments, "", 0, 0}, context), expected)
        << pArguments;
  EXPECT_FALSE(ToolCommandLine({"t", "tool", "\"open", "", 0, 0}, context));
}

}  // namespace
}  // namespace orv
