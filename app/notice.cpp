#include "app/notice.h"

#include "app/program_info.h"
#include "config/options.h"
#include "platform/registry.h"

namespace nimbalo {

namespace {
bool notice_open = false;

bool Suppressed(const std::string& valueName) {
  try {
    const auto key = RegKey::Open(Hive::CurrentUser, kMainKey, /*create=*/false);
    if (!key) return false;
    const auto value = key->Read(valueName);
    return value && value->Type == RegType::Dword && value->AsDword() != 0;
  } catch (const RegistryError&) {
    return false;
  }
}
}  // namespace

void ShowNotice(NoticePresenter& presenter, const std::string& text, const std::string& valueName) {
  if (notice_open || Suppressed(valueName)) return;
  notice_open = true;
  NoticeAnswer answer;
  try {
    answer = presenter.PresentNotice(ApplicationTitle, text);
  } catch (...) {
    notice_open = false;
    throw;
  }
  notice_open = false;
  if (answer.Ok && answer.DontShowAgain) {
    if (auto key = RegKey::Open(Hive::CurrentUser, kMainKey, /*create=*/true)) {
      key->WriteDword(valueName, 1);
    }
  }
}

}  // namespace nimbalo
