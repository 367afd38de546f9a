#include "base/file_handle.h"

#include "support/test_support.h"

namespace orv {
namespace {

using test::ReadWholeFile;
using test::WriteWholeFile;

// A tag byte followed by a little-endian 32-bit value.
std::string Record(char cTag, uint32_t nValue) {
  std::string s(1, cTag);
  for (int i = 0; i < 4; ++i) s += static_cast<char>(nValue >> (8 * i));
  return s;
}

class FileHandleTest : public ::testing::Test {
 protected:
  // Each of sBadFiles, read through readRecord, must fail with sMessage.
  template <typename FRead>
  void ExpectRejected(std::initializer_list<std::string> sBadFiles, FRead readRecord,
                      const std::string& sMessage) {
    for (const std::string& sBad : sBadFiles) {
      WriteWholeFile(m_sPath, sBad);
      m_file.OpenRead();
      EXPECT_THROW_MSG(readRecord(m_file), CFileHandleError, sMessage);
      m_file.Close();
    }
  }

  test::CTempDir m_dir;
  const std::string m_sPath = m_dir.File("a.dat");
  CFileHandle m_file{m_sPath};
};

TEST_F(FileHandleTest, OpenRulesAndClosedFileTexts) {
  EXPECT_THROW_MSG(CFileHandle(""), CFileHandleError, "Empty file path");
  char c;
  EXPECT_THROW_MSG(m_file.OpenRead(), CFileHandleError, "Can't open file " + m_sPath);
  EXPECT_THROW_MSG(m_file.Write("x", 1), CFileHandleError, "Attemt to write closed file");
  EXPECT_THROW_MSG(m_file.Read(&c, 1), CFileHandleError, "Attemt to read closed file");
  EXPECT_THROW_MSG(m_file.Seek(0), CFileHandleError, "Attempt to seek closed file " + m_sPath);
  EXPECT_THROW_MSG(m_file.Size(), CFileHandleError, "Attempt to get size of closed file");
  EXPECT_THROW_MSG(m_file.Close(), CFileHandleError, "Attempt to close closed file");
  m_file.CreateNew();
  EXPECT_THROW_MSG(m_file.OpenWrite(), CFileHandleError, "Attempt to open busy file " + m_sPath);
  EXPECT_THROW_MSG(m_file.Seek(-1), CFileHandleError, "Error seeking file " + m_sPath);
  m_file.Close();
  EXPECT_THROW_MSG(m_file.CreateNew(), CFileHandleError, "Can't create file " + m_sPath);
  CFileHandle::Delete(m_sPath);
  EXPECT_THROW_MSG(CFileHandle::Delete(m_sPath), CFileHandleError, "Can't delete file: " + m_sPath);
}

TEST_F(FileHandleTest, WriteReplacesAppendAppendsReadStopsAtEnd) {
  WriteWholeFile(m_sPath, "old contents");
  m_file.OpenWrite();
  m_file.Write("abc", 3);
  m_file.Close();
  m_file.OpenAppend();
  m_file.Write("de", 2);
  EXPECT_EQ(m_file.Size(), 5u);
  m_file.Close();
  EXPECT_EQ(ReadWholeFile(m_sPath), "abcde");
  m_file.OpenRead();
  char buffer[8];
  m_file.Seek(-2, CFileHandle::ESeekFrom::End);
  EXPECT_EQ(m_file.Read(buffer, sizeof buffer), 2u);
}

TEST_F(FileHandleTest, IntAndStringRecords) {
  m_file.OpenWrite();
  m_file.WriteInt(-2);
  m_file.WriteString(std::string(10000, 'x'));
  EXPECT_THROW_MSG(m_file.WriteString(std::string(10001, 'x')), CFileHandleError,
                   "Error writing to file");
  m_file.Close();
  EXPECT_EQ(ReadWholeFile(m_sPath),
            "\xfe\xff\xff\xff" + Record('s', 10000) + std::string(10000, 'x'));
  m_file.OpenRead();
  EXPECT_EQ(m_file.ReadInt(), -2);
  EXPECT_EQ(m_file.ReadString(), std::string(10000, 'x'));
  EXPECT_THROW_MSG(m_file.ReadInt(), CFileHandleError, "File corrupted or unsupported format");
  m_file.Close();

  ExpectRejected(
      {Record('s', 10001) + std::string(10001, 'x'), Record('s', 0xffffffff),
       Record('s', 4) + "abc", Record('t', 0), "s\1"},
      [](CFileHandle& f) { return f.ReadString(); }, "File corrupted or unsupported format");
}

TEST_F(FileHandleTest, DateRecords) {
  WriteWholeFile(m_sPath, Record('t', 19991231));
  m_file.OpenRead();
  std::time_t tDate = m_file.ReadDate();
  m_file.Close();
  std::tm day{};
  localtime_r(&tDate, &day);
  EXPECT_EQ(std::vector<int>({day.tm_year, day.tm_mon, day.tm_mday, day.tm_hour, day.tm_min}),
            std::vector<int>({99, 11, 31, 0, 0}));

  // An afternoon is stored as its day.
  m_file.OpenWrite();
  m_file.WriteDate(tDate + 15 * 3600);
  m_file.Close();
  EXPECT_EQ(ReadWholeFile(m_sPath), Record('t', 19991231));

  ExpectRejected(
      {Record('t', 18991231), Record('t', 19991301), Record('t', 19990230), Record('t', 19990100),
       Record('s', 19991231), "t\1"},
      [](CFileHandle& f) { return f.ReadDate(); }, "Invalid file format: " + m_sPath);
}

TEST_F(FileHandleTest, FailedOpenAndWriteAreReported) {
  test::CFaultyFileSystem faulty;
  CFileHandle file(m_sPath, faulty);
  faulty.FailFrom(1);
  EXPECT_THROW_MSG(file.OpenWrite(), CFileHandleError, "Can't open file " + m_sPath);
  faulty.FailFrom(2);
  file.OpenWrite();
  EXPECT_THROW_MSG(file.Write("abc", 3), CFileHandleError, "Error writing to file");
  EXPECT_EQ(file.Size(), 0u);
}

}  // namespace
}  // namespace orv
