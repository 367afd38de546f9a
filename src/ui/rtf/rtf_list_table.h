#pragma once
// Lists as RTF describes them. Word 97 and later keep list definitions in
// \listtable and name them from paragraphs through \listoverridetable; older
// writers (WordPad, the rich edit control) describe each list paragraph with
// a \pn group. Both become Qt list styles here.

#include <QString>
#include <QTextListFormat>
#include <map>
#include <vector>

class QTextBlock;

namespace orv {

class CRtfListTable {
 public:
  // \list, \listid, \listlevel, \levelnfc and \leveltext inside \listtable.
  void BeginList();
  void SetListId(int nId);
  void BeginLevel();
  void SetLevelNumbering(int nFormat);
  void SetLevelText(const QString& sText);
  // \listoverride: override nOverride (\lsN) shows list nListId.
  void AddOverride(int nOverride, int nListId);

  // The style of level nLevel of the list an override names; a bullet when
  // the override or level is unknown.
  QTextListFormat::Style Style(int nOverride, int nLevel) const;

 private:
  struct SLevel {
    int nFormat = 23;  // bullet
    QString sText;
  };
  // Each list's levels, in the order the table gives the lists.
  std::vector<std::vector<SLevel>> m_vecLists;
  std::map<int, size_t> m_mapListIndex;  // \listid -> index in m_vecLists
  std::map<int, int> m_mapOverrides;     // \ls number -> \listid
};

// The bullet style a bullet character stands for (o circle, a small square...).
QTextListFormat::Style BulletStyle(const QString& sBullet);
// The style of a Word numbering format (\levelnfc, also \pndec and kin).
QTextListFormat::Style NumberingStyle(int nFormat);
bool IsBulletStyle(QTextListFormat::Style eStyle);
// The character that stands for a bullet style, the inverse of BulletStyle.
QString BulletText(QTextListFormat::Style eStyle);
// What a reader without list support shows before a list item: its number
// or bullet character.
QString ListItemMarker(const QTextBlock& block);

}  // namespace orv
