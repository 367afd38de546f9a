#pragma once
// Documents and settings keep colours as 24-bit colour references with red in
// the low byte, then green, then blue; the byte above is ignored.

#include <QColor>
#include <cstdint>

namespace orv {

inline QColor ToQColor(int32_t nColorRef) {
  return QColor(nColorRef & 0xFF, (nColorRef >> 8) & 0xFF, (nColorRef >> 16) & 0xFF);
}

inline int32_t ToColorRef(const QColor& colour) {
  return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

}  // namespace orv
