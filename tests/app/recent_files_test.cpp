#include "app/recent_files.h"

#include <gtest/gtest.h>

#include "ports/memory_settings.h"

namespace orv {
namespace {

using TPaths = std::vector<std::string>;

std::vector<std::string> Stored(CSettingsStore& store) {
  TPaths values;
  for (const char* sName : {"File1", "File2", "File3", "File4", "File5"})
    values.push_back(store.GetString("Recent File List", sName, "<none>"));
  return values;
}

TEST(RecentFilesTest, AddKeepsNewestFirstWithoutDuplicatesCappedAtFour) {
  CMemorySettingsStore store;
  CRecentFiles recent(store);
  for (const char* sPath : {"/a.orv", "/b.orv", "/c.orv", "/d.orv"}) recent.Add(sPath);
  EXPECT_EQ(recent.List(), (TPaths{"/d.orv", "/c.orv", "/b.orv", "/a.orv"}));

  recent.Add("/b.orv");  // moves to the front, once
  EXPECT_EQ(recent.List(), (TPaths{"/b.orv", "/d.orv", "/c.orv", "/a.orv"}));
  recent.Add("/e.orv");  // the oldest falls off
  recent.Add("");
  EXPECT_EQ(recent.List(), (TPaths{"/e.orv", "/b.orv", "/d.orv", "/c.orv"}));
  EXPECT_EQ(Stored(store), (TPaths{"/e.orv", "/b.orv", "/d.orv", "/c.orv", "<none>"}));
  // Paths differing in case are different files here.
  recent.Add("/E.orv");
  EXPECT_EQ(recent.List(), (TPaths{"/E.orv", "/e.orv", "/b.orv", "/d.orv"}));
}

TEST(RecentFilesTest, RemoveEmptiesTheFreedEntries) {
  CMemorySettingsStore store;
  CRecentFiles recent(store);
  recent.Add("/a.orv");
  recent.Add("/b.orv");
  recent.Remove("/b.orv");
  recent.Remove("/not-listed.orv");
  EXPECT_EQ(recent.List(), TPaths{"/a.orv"});
  EXPECT_EQ(Stored(store), (TPaths{"/a.orv", "", "", "", "<none>"}));
}

TEST(RecentFilesTest, LoadSkipsGapsAndRepeats) {
  CMemorySettingsStore store;
  store.SetString("Recent File List", "File1", "/a.orv");
  store.SetString("Recent File List", "File2", "");
  store.SetString("Recent File List", "File3", "/a.orv");
  store.SetString("Recent File List", "File4", "/c.orv");
  EXPECT_EQ(CRecentFiles(store).List(), (TPaths{"/a.orv", "/c.orv"}));
}

}  // namespace
}  // namespace orv
