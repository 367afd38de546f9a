#include "ui/rtf/rtf_list_table.h"

#include <QTextBlock>
#include <QTextList>

namespace orv {
namespace {

// Keeps a hostile list table from growing without end.
constexpr size_t kMaxLevels = 9;
constexpr size_t kMaxLists = 10000;
constexpr int kBulletFormat = 23;

}  // namespace

void CRtfListTable::BeginList() {
  if (m_vecLists.size() < kMaxLists) m_vecLists.emplace_back();
}

void CRtfListTable::SetListId(int nId) {
  if (!m_vecLists.empty() && m_mapListIndex.size() < kMaxLists) {
    m_mapListIndex[nId] = m_vecLists.size() - 1;
  }
}

void CRtfListTable::BeginLevel() {
  if (!m_vecLists.empty() && m_vecLists.back().size() < kMaxLevels) {
    m_vecLists.back().emplace_back();
  }
}

void CRtfListTable::SetLevelNumbering(int nFormat) {
  if (!m_vecLists.empty() && !m_vecLists.back().empty()) {
    m_vecLists.back().back().nFormat = nFormat;
  }
}

void CRtfListTable::SetLevelText(const QString& sText) {
  if (!m_vecLists.empty() && !m_vecLists.back().empty()) {
    m_vecLists.back().back().sText = sText;
  }
}

void CRtfListTable::AddOverride(int nOverride, int nListId) {
  if (m_mapOverrides.size() < kMaxLists) m_mapOverrides[nOverride] = nListId;
}

QTextListFormat::Style CRtfListTable::Style(int nOverride, int nLevel) const {
  const auto it = m_mapOverrides.find(nOverride);
  if (it == m_mapOverrides.end()) return QTextListFormat::ListDisc;
  const auto itList = m_mapListIndex.find(it->second);
  if (itList == m_mapListIndex.end()) return QTextListFormat::ListDisc;
  const std::vector<SLevel>& vecLevels = m_vecLists[itList->second];
  if (nLevel < 0 || static_cast<size_t>(nLevel) >= vecLevels.size()) {
    return QTextListFormat::ListDisc;
  }
  const SLevel& level = vecLevels[nLevel];
  // The level text's length and number places are control characters, which
  // the reader leaves out: what stays is the bullet or the number's punctuation.
  if (level.nFormat == kBulletFormat) return BulletStyle(level.sText);
  return NumberingStyle(level.nFormat);
}

QTextListFormat::Style BulletStyle(const QString& sBullet) {
  const QString sTrimmed = sBullet.trimmed();
  if (sTrimmed.isEmpty()) return QTextListFormat::ListDisc;
  switch (sTrimmed.at(0).unicode()) {
    case 'o':
    case 0x25CB:  // white circle
    case 0x25E6:  // white bullet
      return QTextListFormat::ListCircle;
    case 0xA7:    // a square in the Wingdings font
    case 0xF0A7:  // the same, as Word writes it in Unicode
    case 0x25A0:  // black square
    case 0x25AA:  // black small square
      return QTextListFormat::ListSquare;
    default:
      return QTextListFormat::ListDisc;
  }
}

QTextListFormat::Style NumberingStyle(int nFormat) {
  switch (nFormat) {
    case 1:
      return QTextListFormat::ListUpperRoman;
    case 2:
      return QTextListFormat::ListLowerRoman;
    case 3:
      return QTextListFormat::ListUpperAlpha;
    case 4:
      return QTextListFormat::ListLowerAlpha;
    case kBulletFormat:
      return QTextListFormat::ListDisc;
    default:
      return QTextListFormat::ListDecimal;
  }
}

bool IsBulletStyle(QTextListFormat::Style eStyle) {
  return eStyle == QTextListFormat::ListDisc || eStyle == QTextListFormat::ListCircle ||
         eStyle == QTextListFormat::ListSquare;
}

QString BulletText(QTextListFormat::Style eStyle) {
  switch (eStyle) {
    case QTextListFormat::ListCircle:
      return QStringLiteral("o");
    case QTextListFormat::ListSquare:
      return QString(QChar(0x25AA));
    default:
      return QString(QChar(0x2022));
  }
}

QString ListItemMarker(const QTextBlock& block) {
  const QTextList* pList = block.textList();
  if (pList == nullptr) return {};
  const QTextListFormat::Style eStyle = pList->format().style();
  return IsBulletStyle(eStyle) ? BulletText(eStyle) : pList->itemText(block);
}

}  // namespace orv
