#pragma once
// Pictures in RTF. PNG and JPEG pictures become document image resources
// that keep their original bytes, so that a JPEG is written back as a JPEG;
// other kinds (metafiles, bitmaps) are dropped.

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

class QTextDocument;
class QTextImageFormat;

namespace orv {

struct SRtfRun;

// Gathers one {\pict ...} group.
class CRtfPicture {
 public:
  enum class EKind { Other, Png, Jpeg };

  void SetKind(EKind eKind) { m_eKind = eKind; }
  // \picwgoal, \pichgoal (twips) and \picscalex, \picscaley (percent).
  void SetWidthGoal(int nTwips) { m_nWidthGoal = nTwips; }
  void SetHeightGoal(int nTwips) { m_nHeightGoal = nTwips; }
  void SetScaleX(int nPercent) { m_nScaleX = nPercent; }
  void SetScaleY(int nPercent) { m_nScaleY = nPercent; }
  void AddHex(std::string_view sText);
  void AddBinary(std::string_view sData);

  // Adds the picture to doc as a resource named after nNumber and fills run
  // to show it; false when it is of a dropped kind or does not decode.
  bool Finish(QTextDocument& doc, int nNumber, SRtfRun& run) const;

 private:
  EKind m_eKind = EKind::Other;
  int m_nWidthGoal = 0;
  int m_nHeightGoal = 0;
  int m_nScaleX = 100;
  int m_nScaleY = 100;
  QByteArray m_data;
  int m_nHalfByte = -1;  // a high nibble waiting for its low one
};

// The {\pict ...} group for an image of doc, lines broken; empty when the
// image cannot be found.
std::string PictureRtf(const QTextDocument& doc, const QTextImageFormat& format);

}  // namespace orv
