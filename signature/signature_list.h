// The signature list: one value per template under HKEY_CURRENT_USER\...\Nimbalo\Sigs,
// named after the template file, holding the name that lists and menus show.
#pragma once

#include <string>

namespace nimbalo {

// The display name a template file gives itself: the text of its "<!-- NAME: ... -->"
// line 4 when it has one, else the file name.
std::string TemplateName(const std::string& fileName);

// Brings the list in step with the templates folder: fills it on first use (the built-in
// templates with their own names), deletes values whose file is gone and adds new files.
// Does nothing when the key cannot be opened.
void RefreshSignatureList();

}  // namespace nimbalo
