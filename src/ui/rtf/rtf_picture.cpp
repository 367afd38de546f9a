#include "ui/rtf/rtf_picture.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>
#include <algorithm>

#include "ui/rtf/rtf_content.h"
#include "ui/rtf/rtf_doc_builder.h"

namespace orv {
namespace {

constexpr int kMaxScale = 10000;  // percent; beyond that a picture is not meant to be seen
constexpr int kHexPerLine = 128;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsJpeg(const QByteArray& data) { return data.startsWith("\xFF\xD8\xFF"); }
bool IsPng(const QByteArray& data) { return data.startsWith("\x89PNG\r\n\x1A\n"); }

// A shown length in pixels from a goal in twips and a scale; 0 keeps the
// picture's own size.
double ShownLength(int nGoal, int nScale) {
  if (nGoal <= 0) return 0;
  return TwipsToPixels(nGoal) * std::clamp(nScale > 0 ? nScale : 100, 1, kMaxScale) / 100.0;
}

// The bytes to store for a resource: PNG and JPEG as they are, anything
// else encoded as PNG. Empty when there is no image.
QByteArray StoredBytes(const QVariant& resource, QImage& image) {
  if (resource.userType() == QMetaType::QByteArray) {
    QByteArray data = resource.toByteArray();
    image = QImage::fromData(data);
    if (image.isNull()) return {};
    if (IsPng(data) || IsJpeg(data)) return data;
  } else if (resource.userType() == QMetaType::QImage) {
    image = resource.value<QImage>();
  } else if (resource.userType() == QMetaType::QPixmap) {
    image = resource.value<QPixmap>().toImage();
  }
  if (image.isNull()) return {};
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return data;
}

}  // namespace

void CRtfPicture::AddHex(std::string_view sText) {
  for (char c : sText) {
    const int nValue = HexValue(c);
    if (nValue < 0) continue;  // spaces between the digits
    if (m_nHalfByte < 0) {
      m_nHalfByte = nValue;
    } else {
      m_data.append(static_cast<char>(m_nHalfByte * 16 + nValue));
      m_nHalfByte = -1;
    }
  }
}

void CRtfPicture::AddBinary(std::string_view sData) {
  m_data.append(sData.data(), static_cast<qsizetype>(sData.size()));
}

bool CRtfPicture::Finish(QTextDocument& doc, int nNumber, SRtfRun& run) const {
  if (m_eKind == EKind::Other || m_data.isEmpty()) return false;
  const QImage image = QImage::fromData(m_data);
  if (image.isNull()) return false;
  const QString sName =
      QStringLiteral("rtfimage%1.%2").arg(nNumber).arg(m_eKind == EKind::Png ? "png" : "jpg");
  doc.addResource(QTextDocument::ImageResource, QUrl(sName), m_data);
  run.sImage = sName;
  run.dWidth = ShownLength(m_nWidthGoal, m_nScaleX);
  run.dHeight = ShownLength(m_nHeightGoal, m_nScaleY);
  return true;
}

std::string PictureRtf(const QTextDocument& doc, const QTextImageFormat& format) {
  QImage image;
  const QByteArray data =
      StoredBytes(doc.resource(QTextDocument::ImageResource, QUrl(format.name())), image);
  if (data.isEmpty()) return {};
  double dWidth = format.width() > 0 ? format.width() : image.width();
  double dHeight = format.height() > 0 ? format.height() : image.height();
  // One given side keeps the picture's proportions, as Qt shows it.
  if (format.width() > 0 && format.height() <= 0 && image.width() > 0) {
    dHeight = dWidth * image.height() / image.width();
  } else if (format.height() > 0 && format.width() <= 0 && image.height() > 0) {
    dWidth = dHeight * image.width() / image.height();
  }
  std::string s = "{\\pict";
  s += IsJpeg(data) ? "\\jpegblip" : "\\pngblip";
  s += "\\picw" + std::to_string(image.width()) + "\\pich" + std::to_string(image.height());
  s += "\\picwgoal" + std::to_string(PixelsToTwips(dWidth));
  s += "\\pichgoal" + std::to_string(PixelsToTwips(dHeight)) + "\r\n";
  const QByteArray hex = data.toHex();
  for (qsizetype nPos = 0; nPos < hex.size(); nPos += kHexPerLine) {
    s.append(hex.constData() + nPos,
             static_cast<size_t>(std::min<qsizetype>(kHexPerLine, hex.size() - nPos)));
    s += "\r\n";
  }
  s += "}";
  return s;
}

}  // namespace orv
