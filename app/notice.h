// The notice box with its "Don't show me this message again" check box ("New Sig Created!",
// "Sig Copied to Clipboard .."). The rule of when it shows and what it stores lives here;
// the GUI only draws it.
#pragma once

#include <string>

namespace nimbalo {

struct NoticeAnswer {
  bool Ok = false;             // closed with OK; any other close counts as Cancel
  bool DontShowAgain = false;  // the check box was ticked
};

class NoticePresenter {
 public:
  virtual ~NoticePresenter() = default;
  // Shows a modal box titled `title` with `text`, an OK button and the unticked check box.
  virtual NoticeAnswer PresentNotice(const std::string& title, const std::string& text) = 0;
};

// Shows the notice unless the REG_DWORD `valueName` under the main key exists and is not 0,
// or another notice is open. OK with the box ticked stores the value as 1.
void ShowNotice(NoticePresenter& presenter, const std::string& text, const std::string& valueName);

inline constexpr const char* kSigCreatedNotice = "New Sig Created!";
inline constexpr const char* kSigCreatedValue = "ShowSigCreated";
inline constexpr const char* kSigCopiedNotice = "Sig Copied to Clipboard ..";
inline constexpr const char* kSigCopiedValue = "ShowSigCopied";

}  // namespace nimbalo
