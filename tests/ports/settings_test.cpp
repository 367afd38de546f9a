#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "ports/ini_settings.h"
#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CFaultyFileSystem;
using test::CTempDir;
using test::ReadWholeFile;
using test::WriteWholeFile;

TEST(SettingsDefaultsTest, FirstStartWithEmptyStores) {
  CTempDir dir;
  CMemorySettingsStore memory;
  CIniSettingsStore ini(dir.File("missing.ini"));
  for (CSettingsStore* pStore :
       {static_cast<CSettingsStore*>(&memory), static_cast<CSettingsStore*>(&ini)}) {
    // Window at 0,0 sized 1024x768, maximised; Ctrl+F12; new notes are rich
    // text with the default icon, without the type question.
    std::vector<int32_t> ints;
    for (const SIntSetting& setting :
         {kMainFrameX, kMainFrameY, kMainFrameWidth, kMainFrameHeight, kMainFrameState,
          kNumBackCopies, kActShortcutKeyCode, kActShortcutModifiers, kDefType, kSetDef, kDefIcon,
          kEnableLog, kTreeBckColor})
      ints.push_back(ReadSetting(*pStore, setting));
    EXPECT_EQ(ints, (std::vector<int32_t>{0, 0, 1024, 768, 2, 2, 123, 2, 2, 1, 0, 1, 0xFFFFFF}));
    EXPECT_EQ(ReadSetting(*pStore, kBackupFolder), "");
    EXPECT_FALSE(ReadSetting(*pStore, kTreeFont).has_value());
  }
  EXPECT_TRUE(ini.Sections().empty());
}

TEST(SettingsDefaultsTest, TableHasEveryNameOnceAndEveryDontAskKey) {
  std::map<std::pair<std::string_view, std::string_view>, const SSettingInfo*> byName;
  for (const SSettingInfo& info : AllSettings())
    EXPECT_TRUE(byName.emplace(std::pair{info.sSection, info.sName}, &info).second)
        << info.sSection << "/" << info.sName << " is listed twice";
  for (std::string_view sKey :
       {"AttDel", "AttDelAll", "ExtTools", "DelPage", "PageSort", "DelNode", "NodeSort",
        "SortCrTime", "SortMdTime", "SortAllTree", "SortCrTimeAll", "SortMdTimeAll", "Numbering",
        "OnNodeSetpassword", "OnNotesColorReset", "AllChild"}) {
    const auto it = byName.find({"Settings", sKey});
    ASSERT_NE(it, byName.end()) << sKey;
    EXPECT_EQ(it->second->eKind, ESettingKind::Int);
    EXPECT_EQ(it->second->nDefault, 0);
  }
}

TEST(MemorySettingsTest, KindsNamesAndSections) {
  CMemorySettingsStore store;
  store.SetInt("Settings", "iNumBackCopies", 5);
  // A value of another kind reads as missing; writing replaces the kind.
  EXPECT_EQ(store.GetString("Settings", "iNumBackCopies", "none"), "none");
  EXPECT_FALSE(store.GetBinary("Settings", "iNumBackCopies"));
  store.SetString("Settings", "iNumBackCopies", "7");
  EXPECT_EQ(store.GetInt("Settings", "iNumBackCopies", -1), -1);
  // Names and sections are case-sensitive.
  store.SetInt("Settings", "x", 1);
  EXPECT_EQ(store.GetInt("settings", "x", -1), -1);
  EXPECT_EQ(store.GetInt("Settings", "X", -1), -1);

  store.SetInt("FindHistory", "CountHistories", 2);
  store.SetString("FindHistory", "0", "a");
  store.DeleteSection("FindHistory");
  store.DeleteSection("NoSuchSection");
  EXPECT_EQ(store.GetInt("FindHistory", "CountHistories", -1), -1);
  EXPECT_EQ(store.GetString("FindHistory", "0", "gone"), "gone");
  EXPECT_EQ(store.GetInt("Settings", "x", -1), 1);
}

class IniSettingsTest : public testing::Test {
 protected:
  CTempDir m_dir;
  std::string m_sPath = m_dir.File("orvella.ini");
};

TEST_F(IniSettingsTest, WritesReadableTextAndDeletesSections) {
  {
    CIniSettingsStore store(m_sPath);
    WriteSetting(store, kNumBackCopies, 3);
    WriteSetting(store, kBackupFolder, "/home/me/back ups");
    WriteSetting(store, kTreeFont, {0x00, 0xFF, 0x10});
    store.Flush();
    EXPECT_EQ(ReadWholeFile(m_sPath),
              "[CommonSettings]\n"
              "BackupFolder=\"/home/me/back ups\"\n"
              "\n"
              "[Settings]\n"
              "iNumBackCopies=3\n"
              "treeFont=hex:00ff10\n");
    store.SetString("FindHistory", "0", "needle");
  }  // written by the destructor
  {
    CIniSettingsStore store(m_sPath);
    EXPECT_EQ(store.GetString("FindHistory", "0", ""), "needle");
    store.DeleteSection("FindHistory");
    store.DeleteSection("CommonSettings");
  }
  EXPECT_EQ(ReadWholeFile(m_sPath), "[Settings]\niNumBackCopies=3\ntreeFont=hex:00ff10\n");
}

TEST_F(IniSettingsTest, AwkwardTextsNamesAndBytesRoundTrip) {
  const std::vector<std::string> texts = {"",
                                          "two\nlines\r\n",
                                          "a=b",
                                          "[not a section]",
                                          "  blanks at both ends  ",
                                          "tab\there",
                                          "quote \" and backslash \\",
                                          "Grüße – 日本語",
                                          std::string("nul\0\x01\x7f", 6),
                                          ";",
                                          "#x",
                                          "\"",
                                          "\\x41",
                                          "ends with backslash\\"};
  std::vector<uint8_t> allBytes;
  for (int n = 0; n < 256; ++n) allBytes.push_back(static_cast<uint8_t>(n));
  CMemorySettingsStore::TSections written;
  {
    CIniSettingsStore store(m_sPath);
    for (size_t i = 0; i < texts.size(); ++i) {
      store.SetString("Texts", "t" + std::to_string(i), texts[i]);
      // Every text must also serve as a section and a value name (style
      // sections are named by the user).
      store.SetInt(texts[i], texts[i], static_cast<int32_t>(i));
    }
    store.SetBinary("Bytes", "all", allBytes);
    store.SetBinary("Bytes", "none", {});
    store.SetInt("Numbers", "min", INT32_MIN);
    store.SetInt("Numbers", "max", INT32_MAX);
    store.Flush();
    written = store.Sections();
  }
  CIniSettingsStore reread(m_sPath);
  EXPECT_EQ(reread.Sections(), written);
  EXPECT_EQ(reread.GetString("Texts", "t7", ""), "Grüße – 日本語");
  EXPECT_EQ(reread.GetBinary("Bytes", "all"), allBytes);
  EXPECT_EQ(reread.GetInt("Numbers", "min", 0), INT32_MIN);
}

TEST_F(IniSettingsTest, ReadsHandWrittenFiles) {
  WriteWholeFile(m_sPath,
                 "\xEF\xBB\xBF; my settings\r\n"
                 "\r\n"
                 "  [ Settings ]  \r\n"
                 "# hot key\r\n"
                 "  m_wActShortcutKeyCode = 122 \r\n"
                 "sInstalled =  \" 2024\\x2f01 \"\r\n"
                 "[Settings]\n"
                 "iNumBackCopies=4\n"
                 "iNumBackCopies=-1");
  CIniSettingsStore store(m_sPath);
  EXPECT_EQ(ReadSetting(store, kActShortcutKeyCode), 122);
  EXPECT_EQ(ReadSetting(store, kInstalled), " 2024/01 ");
  EXPECT_EQ(ReadSetting(store, kNumBackCopies), -1);  // the last one counts
}

TEST_F(IniSettingsTest, MalformedFileNamesTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"x=1\n", "line 1: a value before the first [Section]"},
      {"[Settings\n", "line 1: a section header must end with ]"},
      {"[S]\n\n; fine\nname\n", "line 4: expected [Section] or name=value"},
      {"[S]\nn=abc", "line 2: a value must be a number, a text in double quotes or hex: bytes"},
      {"[S]\nn=", "line 2: a value must be a number, a text in double quotes or hex: bytes"},
      {"[S]\nn=12 34", "line 2: a value must be a number, a text in double quotes or hex: bytes"},
      {"[S]\nn=2147483648", "line 2: the number is out of range"},
      {"[S]\nn=\"abc", "line 2: a text must end with a double quote"},
      {"[S]\nn=\"", "line 2: a text must end with a double quote"},
      {"[S]\nn=\"a\"b\"", "line 2: a double quote inside a text must be written \\\""},
      {"[S]\nn=\"a\\q\"", "line 2: unknown escape \\q"},
      {"[S]\nn=\"a\\x4\"", "line 2: \\x must be followed by two hex digits"},
      {"[S]\nn=\"a\\\"", "line 2: a backslash without the character it escapes"},
      {"[S]\nn=hex:abc", "line 2: hex: needs two digits per byte"},
      {"[S]\nn=hex:zz", "line 2: hex: holds a character that is not a hex digit"},
  };
  for (const auto& [szText, szError] : cases) {
    SCOPED_TRACE(szText);
    WriteWholeFile(m_sPath, szText);
    EXPECT_THROW_MSG(CIniSettingsStore(m_sPath), CSettingsError,
                     "Settings file " + m_sPath + ", " + szError);
    EXPECT_EQ(ReadWholeFile(m_sPath), szText);
  }
}

TEST_F(IniSettingsTest, FailedFlushLeavesTheOldFile) {
  WriteWholeFile(m_sPath, "[Settings]\niNumBackCopies=2\n");
  const std::string sOld = ReadWholeFile(m_sPath);
  CFaultyFileSystem fs;
  bool bWritten = false;
  for (int nFail = 1; !bWritten && nFail < 20; ++nFail) {
    SCOPED_TRACE(nFail);
    CIniSettingsStore store(m_sPath, fs);
    WriteSetting(store, kNumBackCopies, 5);
    fs.FailFrom(nFail);
    try {
      store.Flush();
      bWritten = true;
    } catch (const CIoError&) {
    }
    fs.Crash();  // the power goes too
    if (!bWritten) {
      EXPECT_EQ(ReadWholeFile(m_sPath), sOld);
    }
  }  // the destructors try again and fail quietly
  EXPECT_TRUE(bWritten);
  EXPECT_EQ(ReadWholeFile(m_sPath), "[Settings]\niNumBackCopies=5\n");
}

TEST_F(IniSettingsTest, UnchangedSettingsAreNotRewritten) {
  WriteWholeFile(m_sPath, "; keep this comment\n[Settings]\niNumBackCopies=2\n");
  CFaultyFileSystem fs;
  {
    CIniSettingsStore store(m_sPath, fs);
    WriteSetting(store, kNumBackCopies, 2);
    store.DeleteSection("NoSuchSection");
    store.Flush();
  }
  EXPECT_EQ(fs.Count(), 0);
}

}  // namespace
}  // namespace orv
