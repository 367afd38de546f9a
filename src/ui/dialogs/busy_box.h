#pragma once
// A box that says what long work is under way (an import, a print of many
// notes), with no steps to count: the work is one call. It shows at once and
// is gone when destroyed.

#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace orv {

class CBusyBox {
 public:
  CBusyBox(QWidget& parent, const QString& sWhat);
  ~CBusyBox();
  CBusyBox(const CBusyBox&) = delete;
  CBusyBox& operator=(const CBusyBox&) = delete;

 private:
  std::unique_ptr<QProgressDialog> m_pBox;
};

}  // namespace orv
