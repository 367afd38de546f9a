#include "ui/dialogs/note_icons.h"

#include <gtest/gtest.h>

#include <QImage>
#include <climits>
#include <set>
#include <string>

#include "ui/dialogs/colour_ref.h"

namespace orv {
namespace {

TEST(ColourRef, RedSitsInTheLowByte) {
  EXPECT_EQ(ToQColor(0x00332211), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(ToColorRef(QColor(0x11, 0x22, 0x33)), 0x00332211);
  // The byte above blue carries nothing.
  EXPECT_EQ(ToQColor(static_cast<int32_t>(0xFF0000FFu)), QColor(Qt::red));
  for (int32_t nRef : {0x000000, 0xFFFFFF, 0x123456, 0x80FF01}) {
    EXPECT_EQ(ToColorRef(ToQColor(nRef)), nRef);
  }
}

std::string Bytes(const QIcon& icon, int nSize) {
  const QImage image = icon.pixmap(nSize, nSize).toImage().convertToFormat(QImage::Format_ARGB32);
  return std::string(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

TEST(NoteIcons, EveryIndexHasItsOwnIconAtBothSizes) {
  std::set<std::string> small, large;
  for (int i = 0; i < kNoteIconCount; ++i) {
    const QIcon icon = NoteIcon(i);
    ASSERT_FALSE(icon.isNull()) << i;
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32))) << i;
    EXPECT_TRUE(small.insert(Bytes(icon, 16)).second) << "16 px icon " << i << " repeats";
    EXPECT_TRUE(large.insert(Bytes(icon, 32)).second) << "32 px icon " << i << " repeats";
  }
  // None is blank: a blank one would equal a fully transparent image.
  EXPECT_EQ(large.count(Bytes(QIcon(), 32)), 0u);
}

TEST(NoteIcons, AnIndexOutsideTheSetShowsTheDefault) {
  const std::string sDefault = Bytes(NoteIcon(kDefaultNoteIcon), 32);
  for (int nIndex : {-1, kNoteIconCount, 999, INT_MAX, INT_MIN}) {
    EXPECT_EQ(Bytes(NoteIcon(nIndex), 32), sDefault) << nIndex;
  }
  EXPECT_NE(Bytes(NoteIcon(kDefaultFolderIcon), 32), sDefault);
}

TEST(NoteIcons, AppIconCoversWindowAndTraySizes) {
  const QList<QSize> sizes = AppIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(256, 256)));
}

}  // namespace
}  // namespace orv
