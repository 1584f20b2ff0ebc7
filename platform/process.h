// Starting other programs and handing documents to the desktop.
#pragma once

#include <string>
#include <vector>

namespace nimbalo {

inline constexpr int SW_SHOW = 5;

// Splits a command line into arguments: blanks separate them, double quotes group
// blanks into one argument and are removed.
std::vector<std::string> SplitCommandLine(const std::string& parameters);

// Starts `file` with `parameters` (a command line, see SplitCommandLine) in `folder` (the
// current folder when empty). -1 when it cannot be started; 0 at once without `wait`;
// with `wait`, its exit code once it has ended (-1 when it did not exit normally), the
// user-interface thread's events being run every 100 ms meanwhile. `verb` and `showMode`
// are kept for the callers' sake; programs are always started directly.
int RunAndWait(const std::string& verb, const std::string& file, const std::string& parameters,
               bool wait, int showMode, const std::string& folder);

// Opens a document or web address with the desktop's preferred program (xdg-open).
// Silent on failure; false when the file does not exist or nothing could be started.
bool OpenWithDesktop(const std::string& target);

}  // namespace nimbalo
