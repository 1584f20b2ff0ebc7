// The About box: the program's title and release date.
#pragma once

#include <QDialog>

namespace nimbalo {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent);
};

}  // namespace nimbalo
