// The settings dialog's control values filled from the current settings, as the dialog's
// LoadControls would leave them.
#pragma once

#include "config/options.h"

namespace nimbalo {

SettingsControls ControlsFromOptions();

}  // namespace nimbalo
