#include "storage/orvella_doc.h"

#include <filesystem>
#include <functional>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "storage/compound_stream.h"
#include "storage/folder_record.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CTempDir;
using namespace std::string_literals;

// A user who is asked nothing and keeps no backup copies, unless a test says otherwise.
struct SQuietUser {
  test::CScriptedUi ui;
  CMemorySettingsStore settings;
  SQuietUser() { WriteSetting(settings, kNumBackCopies, 0); }
};

SQuietUser& Quiet() {
  static SQuietUser user;
  return user;
}

// A document file made of exactly the given streams (null data: no stream).
void WriteDocument(const std::string& sPath, const std::string* pCommon,
                   const std::string* pContents, const std::string* pBookmarks) {
  auto pFile = CCompoundFile::Create(sPath);
  auto put = [&](const char* pName, const std::string* pData) {
    if (!pData) return;
    auto pStream = pFile->OpenStream(pFile->CreateStream(CCompoundFile::kRoot, pName));
    pStream->Write(pData->data(), pData->size());
  };
  put("CommonInformation", pCommon);
  put("Contents", pContents);
  put("Bookmark", pBookmarks);
  pFile->Commit();
}

std::vector<std::string> NoteNames(const CXMLTree& tree) {
  std::vector<std::string> names;
  for (XMLelement* pNote : tree.AllNotes()) names.push_back(GetProperty(*pNote, "name"));
  return names;
}

std::string Hex(std::string_view s) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

CFolderList ReadContents(const std::string& sContents) {
  CCodePage codePage;
  CArchiveReader archive(sContents, codePage);
  CFolderList folders;
  ReadFolderList(archive, folders);
  EXPECT_TRUE(archive.AtEnd());
  return folders;
}

// The streams' names, the class id and the other two streams' bytes are read
// by python3-olefile in document_cli_check.py.
TEST(OrvellaDoc, ANewDocumentSavesTheExactContents) {
  CTempDir dir;
  std::string sPath = dir.File("new.orv");
  COrvellaDoc(Quiet().ui, Quiet().settings).OnSaveDocument(sPath);
  // Format 5, current 0, one folder of tree format 9 with one content.
  std::string sContents = test::ReadRootStream(sPath, "Contents");
  EXPECT_EQ(Hex(sContents.substr(0, 24)), "050000000000000001000000090000000100000002000000");
  CFolderList folders = ReadContents(sContents);
  ASSERT_EQ(folders.Count(), 1u);
  EXPECT_EQ(folders.At(0).FolderName(), "Folder #1");
  EXPECT_EQ(NoteNames(folders.At(0)), std::vector<std::string>{"Note #1"});
}

TEST(OrvellaDoc, SavesTwiceAndReadsBackWhatItWrote) {
  CTempDir dir;
  std::string sPath = dir.File("twice.orv");
  COrvellaDoc doc(Quiet().ui, Quiet().settings);
  CXMLTree& tree = *doc.Folders().Current();
  XMLelement* pNote = tree.TopLevel()[0].get();
  tree.ContentOf(*pNote)->SetContent(std::string(300, 'x') + " Grüße, Привет");
  tree.InsertNote({.sName = "Sub", .nType = 0, .nContentClass = 0, .pParent = pNote});
  doc.Folders().Append(std::make_unique<CXMLTree>());
  doc.Folders().At(1).SetFolderName("Второй");
  doc.Folders().SetCurrent(1);
  doc.SetBookmark(3, {.m_bUsed = true, .m_nFolder = 1});
  doc.OnSaveDocument(sPath);
  doc.OnSaveDocument(sPath);  // the written marks were cleared after the first save

  COrvellaDoc reread(Quiet().ui, Quiet().settings);
  reread.OnOpenDocument(sPath);
  ASSERT_EQ(reread.Folders().Count(), 2u);
  EXPECT_EQ(reread.Folders().CurrentIndex(), 1);
  EXPECT_EQ(reread.Folders().At(1).FolderName(), "Второй");
  CXMLTree& first = reread.Folders().At(0);
  EXPECT_EQ(NoteNames(first), (std::vector<std::string>{"Note #1", "Sub"}));
  EXPECT_EQ(first.ContentOf(*first.TopLevel()[0])->GetContent(),
            std::string(300, 'x') + " Grüße, Привет");
  EXPECT_TRUE(reread.Bookmarks()[3].m_bUsed);
  EXPECT_EQ(reread.Bookmarks()[3].m_nFolder, 1);
}

TEST(OrvellaDoc, BookmarksArePaddedToTenAndExtraOnesKept) {
  CTempDir dir;
  CCodePage codePage;
  auto bookmarks = [&](int nCount) {
    CArchiveWriter archive(codePage);
    archive.WriteInt32(1);
    archive.WriteInt32(nCount);
    for (int i = 0; i < nCount; ++i) {
      archive.WriteBool8(true);
      archive.WriteInt32(i);
      archive.WriteInt32(0);
      archive.WriteInt32(0);
      archive.WriteString("F" + std::to_string(i));
      archive.WriteString("");
    }
    return archive.Take();
  };
  std::string sPath = dir.File("b.orv");
  COrvellaDoc source(Quiet().ui, Quiet().settings);
  source.OnSaveDocument(sPath);
  std::string sContents = test::ReadRootStream(sPath, "Contents");
  for (int nCount : {3, 12}) {
    std::string sBookmarks = bookmarks(nCount);
    WriteDocument(sPath, nullptr, &sContents, &sBookmarks);
    COrvellaDoc doc(Quiet().ui, Quiet().settings);
    doc.OnOpenDocument(sPath);
    ASSERT_EQ(doc.Bookmarks().size(), std::max<size_t>(10, nCount));
    EXPECT_EQ(doc.Bookmarks()[2].m_sFolderName, "F2");
    EXPECT_EQ(doc.Bookmarks().back().m_bUsed, nCount == 12);  // padding is unused
  }
}

// Builds a "Contents" stream of an old layout by hand.
struct SOldContents {
  CCodePage codePage;
  CArchiveWriter archive{codePage};

  void Element(uint8_t nFormat, const std::string& sName, const std::string& sValue,
               int nChildren) {
    archive.WriteByte(nFormat);
    archive.WriteString(sName);
    archive.WriteString(sValue);
    archive.WriteInt32(sName == "source" ? 0 : 1);
    archive.WriteInt32(0);
    archive.WriteInt32(nChildren);
  }
  // A note with a name, an icon and a content key, and no subnotes.
  void Note(uint8_t nFormat, const std::string& sName, const std::string& sIcon,
            const std::string& sKey) {
    Element(nFormat, "source", "", 3);
    Element(nFormat, "name", sName, 0);
    Element(nFormat, "icon", sIcon, 0);
    Element(nFormat, "content", sKey, 0);
  }
  void Content(int nTreeFormat, int32_t nType, const std::string& sKey, const std::string& sText) {
    if (nTreeFormat >= 2) archive.WriteInt32(nType);
    archive.WriteByte(1);
    archive.WriteString(sKey);
    archive.WriteInt32(nType);
    archive.WriteByte(1);
    archive.WriteString(sText);
  }
  // Fields 6 to 12 as far as the tree format carries them.
  void Tail(int nTreeFormat, const std::string& sName, int32_t nIcon) {
    if (nTreeFormat >= 3) archive.WriteString(sName);
    if (nTreeFormat >= 4) archive.WriteInt32(nIcon);
    if (nTreeFormat >= 7) {
      archive.WriteBool8(false);
      archive.WriteString("");
    }
    if (nTreeFormat >= 8) {
      archive.WriteInt32(0);
      archive.WriteInt32(0);
    }
    if (nTreeFormat >= 9) archive.WriteBool8(true);
  }
};

TEST(FolderRecord, ReadsEveryOlderTreeFormat) {
  for (int nTreeFormat = 1; nTreeFormat <= 9; ++nTreeFormat) {
    SCOPED_TRACE("tree format " + std::to_string(nTreeFormat));
    SOldContents old;
    // Folder list formats below 4 hold one folder whose format is the list's.
    int nListFormat = nTreeFormat < 4 ? nTreeFormat : 5;
    old.archive.WriteInt32(nListFormat);
    if (nListFormat >= 5) old.archive.WriteInt32(0);
    if (nListFormat >= 4) {
      old.archive.WriteInt32(1);
      old.archive.WriteInt32(nTreeFormat);
    }
    old.archive.WriteInt32(1);
    old.Content(nTreeFormat, nTreeFormat >= 2 ? 1 : 0, "77", "text");
    old.archive.WriteInt32(1);
    old.Note(nTreeFormat >= 6 ? 2 : 1, "Old", "75", "77");
    old.Tail(nTreeFormat, "Kept", 75);

    CFolderList folders = ReadContents(old.archive.Data());
    ASSERT_EQ(folders.Count(), 1u);
    CXMLTree& tree = folders.At(0);
    EXPECT_EQ(NoteNames(tree), std::vector<std::string>{"Old"});
    XMLelement& note = *tree.TopLevel()[0];
    EXPECT_EQ(GetProperty(note, "icon"), nTreeFormat >= 6 ? "75" : "276");
    EXPECT_EQ(tree.ContentOf(note)->GetContent(), "text");
    EXPECT_EQ(tree.ContentOf(note)->Type(), nTreeFormat >= 2 ? 1 : 0);
    EXPECT_EQ(tree.FolderName(), nTreeFormat >= 3 ? "Kept" : "Folder #1");
    EXPECT_EQ(tree.FolderIcon(), nTreeFormat < 4 ? 47 : nTreeFormat <= 5 ? 276 : 75);
    EXPECT_EQ(tree.ShowsHidden(), nTreeFormat >= 9);
  }
}

// The first note with a key owns its object; a second note with it, or one
// whose key names nothing, gets a rich-text object of its own. A second record
// under one key stays in the folder, owned by no note.
TEST(FolderRecord, NotesSharingAKeyGetTheirOwnContents) {
  SOldContents old;
  // List format 5, current folder 0, one folder of tree format 9 with 3 contents.
  for (int32_t n : {5, 0, 1, 9, 3}) old.archive.WriteInt32(n);
  old.Content(9, kContentText, "5", "shared text");
  old.Content(9, kContentHtml, "6", "dup-a");
  old.Content(9, kContentHtml, "6", "dup-b");
  old.archive.WriteInt32(4);
  old.Note(2, "A", "1", "5");
  old.Note(2, "B", "1", "5");
  old.Note(2, "C", "1", "404");  // no such content
  old.Note(2, "D", "1", "6");
  old.Tail(9, "F", 1);

  CFolderList folders = ReadContents(old.archive.Data());
  CXMLTree& tree = folders.At(0);
  ASSERT_EQ(tree.Contents().size(), 5u);
  std::vector<CBaseContentNode*> owned;
  for (const auto& pNote : tree.TopLevel()) owned.push_back(tree.ContentOf(*pNote));
  EXPECT_EQ(owned[0], tree.Contents()[0].get());
  EXPECT_EQ(owned[3], tree.Contents()[1].get());
  EXPECT_EQ(std::count(owned.begin(), owned.end(), tree.Contents()[2].get()), 0);
  for (auto [pContent, pText] : {std::pair{owned[1], "shared text"}, {owned[2], ""}}) {
    ASSERT_NE(pContent, nullptr);
    EXPECT_EQ(pContent->Type(), kContentRtf);
    EXPECT_EQ(pContent->CachedContent(), pText);
  }
  for (const auto& pContent : tree.Contents())
    EXPECT_EQ(pContent->AddressHash(), pContent->OwnKey());
}

TEST(FolderRecord, DamagedContentsAreRejected) {
  COrvellaDoc doc(Quiet().ui, Quiet().settings);
  CCodePage codePage;
  CArchiveWriter writer(codePage);
  WriteFolderList(writer, doc.Folders());
  const std::string sGood = writer.Take();
  auto patch = [&](size_t nOffset, int32_t nValue) {
    std::string s = sGood;
    for (int i = 0; i < 4; ++i) s[nOffset + i] = static_cast<char>(nValue >> (8 * i));
    return s;
  };
  // The content key: byte 24 is the base format, then the key's length prefix.
  std::string sZeroKey = sGood;
  size_t nKeyLength = static_cast<uint8_t>(sGood[25]);
  sZeroKey.replace(26, nKeyLength, std::string(nKeyLength, '0'));
  const struct {
    const char* pWhat;
    std::string sBytes;
    std::string sMessage;
  } cases[] = {
      {"last byte cut", sGood.substr(0, sGood.size() - 1),
       "Unexpected end of data at byte " + std::to_string(sGood.size() - 1)},
      {"cut in the content record", sGood.substr(0, 30),
       "Unexpected end of data at byte " + std::to_string(26 + nKeyLength)},
      {"newer list format", patch(0, 6), "Unsupported folder list format 6"},
      {"folder count too large", patch(8, 0x7FFFFFFF),
       "Unexpected end of data at byte " + std::to_string(sGood.size())},
      {"negative folder count", patch(8, -1), "Invalid folder count -1 at byte 8"},
      {"newer tree format", patch(12, 10), "Unsupported folder format 10"},
      // The second record read is made of the notes' bytes; its key reads as 0.
      {"content count too large", patch(16, 0x40000000), "m_sAddressHash error"},
      {"unknown content type", patch(20, 7), "Unknown content type 7 at byte 20"},
      {"content key 0", sZeroKey, "m_sAddressHash error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pWhat);
    EXPECT_THROW_MSG(ReadContents(c.sBytes), std::runtime_error, c.sMessage);
  }
}

TEST(OrvellaDoc, AFailedOpenChangesNothing) {
  CTempDir dir;
  std::string sPath = dir.File("doc.orv");
  COrvellaDoc doc(Quiet().ui, Quiet().settings);
  doc.Folders().Current()->SetFolderName("Mine");
  doc.SetBookmark(0, {.m_bUsed = true});
  doc.OnSaveDocument(sPath);

  std::string sBad = dir.File("bad.orv");
  std::string sContents = test::ReadRootStream(sPath, "Contents");
  std::string sTruncated = sContents.substr(0, sContents.size() - 10);
  std::string sCommon = "\x01\0\0\0\0"s;
  std::string sBookmarks = test::ReadRootStream(sPath, "Bookmark");
  const struct {
    std::string* pContents;
    std::string sMessage;
  } cases[] = {{&sTruncated, "Can't open " + sBad + ": Unexpected end of data at byte " +
                                 std::to_string(sTruncated.size())},
               {nullptr, sBad + " is not an Orvella document: it has no \"Contents\" stream"}};
  for (const auto& c : cases) {
    WriteDocument(sBad, &sCommon, c.pContents, &sBookmarks);
    COrvellaDoc victim(Quiet().ui, Quiet().settings);
    victim.OnOpenDocument(sPath);
    EXPECT_THROW_MSG(victim.OnOpenDocument(sBad), CDocumentError, c.sMessage);
    EXPECT_EQ(victim.Folders().Current()->FolderName(), "Mine");
    EXPECT_TRUE(victim.Bookmarks()[0].m_bUsed);
    EXPECT_FALSE(victim.IsEncrypted());
  }
  test::WriteWholeFile(sBad, "garbage");
  EXPECT_THROW_MSG(doc.OnOpenDocument(sBad), CDocumentError,
                   "Can't open " + sBad + ": " + sBad + " is not a compound file");

  // An empty "Contents" stream opens with the folder list unchanged.
  std::string sEmpty;
  WriteDocument(sBad, &sCommon, &sEmpty, nullptr);
  doc.OnOpenDocument(sBad);
  EXPECT_EQ(doc.Folders().Current()->FolderName(), "Mine");
  EXPECT_TRUE(doc.Bookmarks()[0].m_bUsed);  // no "Bookmark" stream: bookmarks stay
}

TEST(OrvellaDoc, AReadErrorPartWayThroughAnOpenChangesNothing) {
  CTempDir dir;
  std::string sPath = dir.File("doc.orv");
  {
    COrvellaDoc other(Quiet().ui, Quiet().settings);
    other.Folders().Current()->SetFolderName("Theirs");
    other.OnSaveDocument(sPath);
  }
  test::CFaultyFileSystem fs;
  COrvellaDoc doc(Quiet().ui, Quiet().settings, fs);
  doc.Folders().Current()->SetFolderName("Mine");
  doc.SetBookmark(0, {.m_bUsed = true});
  COrvellaDoc(Quiet().ui, Quiet().settings, fs).OnOpenDocument(sPath);
  const int nReads = fs.ReadCount();
  ASSERT_GT(nReads, 2);  // the header, the directory, the streams
  for (int n = 1; n <= nReads; ++n) {
    fs.FailReadsFrom(n);
    EXPECT_THROW(doc.OnOpenDocument(sPath), CDocumentError) << n;
    EXPECT_EQ(doc.Folders().Current()->FolderName(), "Mine") << n;
    EXPECT_TRUE(doc.Bookmarks()[0].m_bUsed) << n;
  }
  fs.FailReadsFrom(0);
  doc.OnOpenDocument(sPath);
  EXPECT_EQ(doc.Folders().Current()->FolderName(), "Theirs");
}

TEST(OrvellaDoc, AFailedSaveKeepsTheOldFile) {
  CTempDir dir;
  std::string sPath = dir.File("doc.orv");
  COrvellaDoc doc(Quiet().ui, Quiet().settings);
  doc.OnSaveDocument(sPath);
  const std::string sBefore = test::ReadWholeFile(sPath);

  test::CFaultyFileSystem fs;
  COrvellaDoc faulty(Quiet().ui, Quiet().settings, fs);
  faulty.Folders().Current()->SetFolderName("Changed");
  faulty.OnSaveDocument(dir.File("probe.orv"));
  auto attempt = [&] {
    test::WriteWholeFile(sPath, sBefore);
    try {
      faulty.OnSaveDocument(sPath);
    } catch (const CDocumentError&) {
    }
  };
  test::ForEveryCrash(fs, fs.Count(), attempt, [&](const std::string& sWhen) {
    if (test::ReadWholeFile(sPath) != sBefore) {
      COrvellaDoc reread(Quiet().ui, Quiet().settings);
      reread.OnOpenDocument(sPath);
      EXPECT_EQ(reread.Folders().Current()->FolderName(), "Changed") << sWhen;
    }
    EXPECT_EQ(faulty.Folders().Current()->FolderName(), "Changed");
  });
}

TEST(OrvellaDoc, MergeAppendsFoldersAfterTheOwnOnes) {
  CTempDir dir;
  COrvellaDoc two(Quiet().ui, Quiet().settings);
  two.Folders().Current()->SetFolderName("T1");
  two.Folders().Append(std::make_unique<CXMLTree>());
  two.Folders().At(1).SetFolderName("T2");
  two.Folders().SetCurrent(1);
  two.SetBookmark(5, {.m_bUsed = true});
  two.OnSaveDocument(dir.File("two.orv"));

  COrvellaDoc three(Quiet().ui, Quiet().settings);
  for (int i = 0; i < 2; ++i) three.Folders().Append(std::make_unique<CXMLTree>());
  for (int i = 0; i < 3; ++i) three.Folders().At(i).SetFolderName("D" + std::to_string(i + 1));
  three.Merge(dir.File("two.orv"));
  std::vector<std::string> names;
  for (auto& pFolder : three.Folders()) names.push_back(pFolder->FolderName());
  EXPECT_EQ(names, (std::vector<std::string>{"D1", "D2", "D3", "T1", "T2"}));
  EXPECT_EQ(three.Folders().CurrentIndex(), 4);
  EXPECT_FALSE(three.Bookmarks()[5].m_bUsed);  // bookmarks are not merged
}

}  // namespace
}  // namespace orv
