#include "ui/event_sound.h"

#include <QProcess>
#include <QStandardPaths>

namespace nimbalo {

namespace {
std::function<void(const std::string&)> player;

void PlayWithCanberra(const std::string& soundName) {
  static const QString program =
      QStandardPaths::findExecutable(QStringLiteral("canberra-gtk-play"));
  if (program.isEmpty()) return;
  QProcess::startDetached(program, {QStringLiteral("-i"), QString::fromStdString(soundName)});
}
}  // namespace

void PlayEventSound(const std::string& soundName) {
  if (player) {
    player(soundName);
  } else {
    PlayWithCanberra(soundName);
  }
}

void SetEventSoundPlayer(std::function<void(const std::string&)> replacement) {
  player = std::move(replacement);
}

}  // namespace nimbalo
