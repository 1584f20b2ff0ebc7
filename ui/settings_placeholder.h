// Stands in for the settings dialog until its pages exist: OK keeps the current settings,
// Cancel leaves them alone.
#pragma once

#include <QWidget>

#include "config/options.h"

namespace nimbalo {

// Shows the dialog modally; true when it was closed with OK.
bool RunSettingsPlaceholder(QWidget* parent, SettingsControls& controls);

}  // namespace nimbalo
