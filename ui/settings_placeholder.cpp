#include "ui/settings_placeholder.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/pictures.h"
#include "ui/qt_text.h"

namespace nimbalo {

bool RunSettingsPlaceholder(QWidget* parent, SettingsControls& controls) {
  QDialog dialog(parent);
  dialog.setObjectName("SettingsFrm");
  dialog.setWindowTitle(QStringLiteral("Nimbalo Settings"));
  dialog.setWindowIcon(AppIcon());
  auto* text = new QLabel(
      QStringLiteral("The settings pages are not built yet.\n\n"
                     "Weather station: %1 (%2)\n\n"
                     "OK saves the current settings as they are; Cancel changes nothing.")
          .arg(FromCp1252(controls.CityState), FromCp1252(controls.StationID)));
  text->setWordWrap(true);
  text->setFixedWidth(360);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(text);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace nimbalo
