// The named styles' list and records in the settings.

#include "app/style_list.h"

#include <gtest/gtest.h>

#include "ports/memory_settings.h"

namespace orv {
namespace {

using TSections = CMemorySettingsStore::TSections;

const SStyleRecords kRecords{{'c', 1}, {'p', 2}};

TEST(StyleListTest, AddAndDeleteKeepTheListAsTheSettingsHaveIt) {
  CMemorySettingsStore settings;
  CStyleList styles(settings);
  EXPECT_EQ(styles.CurSel(), -1);
  styles.Add("Heading", kRecords);
  styles.Add("Quote", {{'c', 3}, {'p', 4}});
  EXPECT_EQ(settings.Sections().at("Styles"),
            (CMemorySettingsStore::TSection{{"count", 2},
                                            {"cursel", 1},
                                            {"style0", std::string("Heading")},
                                            {"style1", std::string("Quote")}}));
  EXPECT_EQ(settings.Sections().at("Heading").at("CharFormat"),
            CMemorySettingsStore::TValue(kRecords.charFormat));

  styles.Delete(0);
  EXPECT_EQ(settings.Sections().at("Styles"),
            (CMemorySettingsStore::TSection{
                {"count", 1}, {"cursel", 0}, {"style0", std::string("Quote")}}));
  EXPECT_FALSE(settings.Sections().contains("Heading"));
  // After a restart the list reads back, records and all.
  CStyleList again(settings);
  EXPECT_EQ(again.Names(), std::vector<std::string>{"Quote"});
  ASSERT_TRUE(again.Records(0));
  EXPECT_EQ(again.Records(0)->paraFormat, (std::vector<uint8_t>{'p', 4}));
  again.Delete(0);
  EXPECT_EQ(again.CurSel(), -1);
  EXPECT_EQ(settings.Sections().at("Styles"),
            (CMemorySettingsStore::TSection{{"count", 0}, {"cursel", 0}}));
}

TEST(StyleListTest, RefusesNamesThatWouldLoseOrMixSettings) {
  CMemorySettingsStore settings;
  CStyleList styles(settings);
  styles.Add("Quote", kRecords);
  const TSections before = settings.Sections();
  const struct {
    const char* pName;
    const char* pMessage;
  } cases[] = {
      {"", "A style needs a name."},
      {"A/B", "A style name cannot hold \"/\" or \"\\\"."},
      {"settings", "The name \"settings\" belongs to the program's own settings; choose another."},
      {"Styles", "The name \"Styles\" belongs to the program's own settings; choose another."},
      {"QUOTE", "There is a style named \"Quote\" already; Redefine Style changes it."},
  };
  for (const auto& c : cases) {
    try {
      styles.Add(c.pName, kRecords);
      ADD_FAILURE() << c.pName << " was taken";
    } catch (const CStyleNameError& error) {
      EXPECT_STREQ(error.what(), c.pMessage);
    }
  }
  EXPECT_EQ(settings.Sections(), before);
  EXPECT_EQ(styles.Names(), std::vector<std::string>{"Quote"});
}

TEST(StyleListTest, ReadsADamagedListSafely) {
  CMemorySettingsStore settings(TSections{
      {"Styles",
       {{"count", 2000000000},
        {"cursel", 7},
        {"style0", std::string("A")},
        {"style2", std::string("B")}}},
      {"A", {{"CharFormat", std::vector<uint8_t>{1}}}},
      {"B", {{"CharFormat", std::vector<uint8_t>{1}}, {"ParaFormat", std::vector<uint8_t>{2}}}}});
  CStyleList styles(settings);
  EXPECT_EQ(styles.Names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(styles.CurSel(), 0);
  EXPECT_FALSE(styles.Records(0));  // its paragraph record is missing
  EXPECT_TRUE(styles.Records(1));
  EXPECT_FALSE(styles.Records(2));
}

}  // namespace
}  // namespace orv
