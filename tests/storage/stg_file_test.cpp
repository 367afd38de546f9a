#include "storage/stg_file.h"

#include "storage/storage.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CTempDir;

// Records what the walk reports, in order.
class CRecordingStorage : public CStorage {
 public:
  std::vector<std::string> m_seen;

 protected:
  void OnEnumStg(const std::string& sPrefix, const std::string& sName) override {
    m_seen.push_back("stg " + sPrefix + "|" + sName);
  }
  void OnEnumStream(const std::string& sPrefix, const std::string& sName) override {
    m_seen.push_back("stream " + sPrefix + "|" + sName);
  }
};

TEST(Storage, AddFileNamesAndEnumReportsWithPrefixes) {
  CTempDir dir;
  test::WriteWholeFile(dir.File("a.txt"), "hello");
  std::string sStore = dir.File("att.stg");

  CRecordingStorage storage;
  ASSERT_TRUE(storage.Create(sStore));
  ASSERT_TRUE(storage.MkStg("\\7"));
  // One backslash and a name: the file's own name is appended.
  EXPECT_EQ(CStorage::AddFilePath(dir.File("a.txt"), "\\7"), "\\7\\a.txt");
  EXPECT_EQ(CStorage::AddFilePath(dir.File("a.txt"), "\\7\\b.dat"), "\\7\\b.dat");
  EXPECT_TRUE(storage.AddFile(dir.File("a.txt"), "\\7"));
  EXPECT_TRUE(storage.CopyDone());
  EXPECT_TRUE(storage.AddFile(dir.File("a.txt"), "\\7\\b.dat"));
  EXPECT_FALSE(storage.AddFile(dir.File("missing.txt"), "\\7"));
  EXPECT_FALSE(storage.Result());
  EXPECT_FALSE(storage.AddFile(dir.File("a.txt"), "\\8\\x"));  // no storage 8
  EXPECT_TRUE(storage.CloseStg());
  EXPECT_FALSE(storage.CloseStg());

  ASSERT_TRUE(storage.OpenStg(sStore));
  storage.Enum();
  EXPECT_EQ(storage.m_seen,
            (std::vector<std::string>{"stg |7", "stream 7\\|a.txt", "stream 7\\|b.dat"}));

  // A callback answering false stops the walk after that element.
  storage.m_seen.clear();
  storage.Enum(std::nullopt, "",
               [](const std::string&, const std::string& sName, bool) { return sName != "a.txt"; });
  EXPECT_EQ(storage.m_seen, (std::vector<std::string>{"stg |7", "stream 7\\|a.txt"}));

  // Extracting: a missing stream leaves the destination alone.
  test::WriteWholeFile(dir.File("out.txt"), "untouched");
  EXPECT_FALSE(storage.ExtractFile("\\7\\none", dir.File("out.txt")));
  EXPECT_EQ(test::ReadWholeFile(dir.File("out.txt")), "untouched");
  EXPECT_TRUE(storage.ExtractFile("\\7\\a.txt", dir.File("out.txt")));
  EXPECT_EQ(test::ReadWholeFile(dir.File("out.txt")), "hello");
}

TEST(StgFile, StreamsCommitOnCloseAndPlainFilesWorkAlike) {
  CTempDir dir;
  std::string sStore = dir.File("s.stg");
  CStgFile file;
  ASSERT_TRUE(file.Create(sStore));
  ASSERT_TRUE(file.MkStg("docs"));
  ASSERT_TRUE(file.Open("docs\\note", CStgFile::modeCreate | CStgFile::modeWrite));
  file.Write("0123456789", 10);
  file.Seek(-4, CStgFile::ESeekFrom::End);
  file.Write("ab", 2);
  EXPECT_EQ(file.GetLength(), 10u);
  file.Close();  // committed
  EXPECT_TRUE(file.CloseStg());
  {
    CStgFile reader;
    ASSERT_TRUE(reader.OpenStg(sStore, true));
    ASSERT_TRUE(reader.Open("docs/note", CStgFile::modeRead));
    char buffer[16] = {};
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 10u);
    EXPECT_EQ(std::string(buffer, 10), "012345ab89");
    EXPECT_FALSE(reader.Open("docs\\missing", CStgFile::modeRead));
    EXPECT_EQ(reader.LastError(), "There is no stream \"docs\\missing\"");
  }

  // Without a compound file the same calls work on a plain file.
  std::string sPlain = dir.File("plain.txt");
  ASSERT_TRUE(file.Open(sPlain, CStgFile::modeCreate | CStgFile::modeReadWrite));
  file.Write("plain", 5);
  file.SetLength(3);
  EXPECT_EQ(file.GetLength(), 3u);
  file.Close();
  EXPECT_EQ(test::ReadWholeFile(sPlain), "pla");
  EXPECT_FALSE(file.OpenStg(sPlain));  // not a compound file
}

}  // namespace
}  // namespace orv
