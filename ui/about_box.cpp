#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/program_info.h"
#include "ui/pictures.h"

namespace nimbalo {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle(QStringLiteral("About %1").arg(QLatin1String(ApplicationTitle)));
  setWindowIcon(AppIcon());

  auto* icon = new QLabel;
  icon->setPixmap(Picture(QStringLiteral("nimbalo.svg"), QSize(72, 72)));
  icon->setAlignment(Qt::AlignTop);

  auto* title = new QLabel(QLatin1String(ProgramTitle));
  title->setObjectName("AboutTitle");
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  title->setFont(big);
  auto* released = new QLabel(QStringLiteral("Released %1").arg(QLatin1String(ReleaseDate)));
  released->setObjectName("AboutReleaseDate");
  auto* about = new QLabel(QStringLiteral("The current weather in your e-mail signature."));
  auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(MakerAddress)));
  link->setOpenExternalLinks(true);

  auto* text = new QVBoxLayout;
  text->addWidget(title);
  text->addWidget(released);
  text->addSpacing(8);
  text->addWidget(about);
  text->addWidget(link);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(text, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace nimbalo
