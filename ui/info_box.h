// acInfoBox1: the notice box with its "Don't show me this message again" check box.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/notice.h"

namespace nimbalo {

class TInfoBox : public NoticePresenter {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }
  NoticeAnswer PresentNotice(const std::string& title, const std::string& text) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace nimbalo
