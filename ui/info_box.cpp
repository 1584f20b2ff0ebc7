#include "ui/info_box.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/pictures.h"
#include "ui/qt_prompt.h"
#include "ui/qt_text.h"

namespace nimbalo {

NoticeAnswer TInfoBox::PresentNotice(const std::string& title, const std::string& text) {
  QWidget* parent = owner_ && owner_->isVisible() ? owner_.data() : nullptr;
  QDialog box(parent);
  box.setObjectName("acInfoBox1");
  box.setWindowTitle(FromCp1252(title));
  box.setWindowIcon(AppIcon());
  box.setModal(true);
  if (parent == nullptr) box.setWindowFlag(Qt::WindowStaysOnTopHint);

  auto* icon = new QLabel;
  const int size = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
  icon->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size));
  icon->setAlignment(Qt::AlignTop);
  auto* message = new QLabel(PromptText(text));
  message->setObjectName("NoticeText");
  message->setMinimumWidth(220);
  auto* dontShow = new QCheckBox(QStringLiteral("Don't show me this message again"));
  dontShow->setObjectName("DontShowAgain");
  dontShow->setChecked(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(8);
  top->addWidget(message, 1);
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(top);
  layout->addSpacing(6);
  layout->addWidget(dontShow);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  NoticeAnswer answer;
  answer.Ok = box.exec() == QDialog::Accepted;
  answer.DontShowAgain = dontShow->isChecked();
  return answer;
}

}  // namespace nimbalo
