// The desktop program's start-up: folders, first-run installation and settings, the splash,
// the main window with its single-instance guard, then the event loop.
#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <chrono>

#include "app/desktop.h"
#include "app/myutil.h"
#include "app/paths.h"
#include "app/program_info.h"
#include "app/startup.h"
#include "config/options.h"
#include "platform/single_instance.h"
#include "ui/error_handler.h"
#include "ui/loading_frm.h"
#include "ui/main_frm.h"
#include "ui/pictures.h"
#include "ui/qt_dispatcher.h"
#include "ui/qt_prompt.h"
#include "ui/session_end.h"
#include "ui/tray_icon.h"

namespace nimbalo {

namespace {
// The hint window: sky-blue with a dark edge, as the rest of the program's look.
constexpr const char* kHintStyle =
    "QToolTip { background-color: #87ceeb; color: black; border: 1px solid #1a1a1a; "
    "padding: 2px; }";

// Keeps the program's dispatcher and prompt installed exactly as long as they live.
class UiServices {
 public:
  UiServices() {
    SetUiDispatcher(&dispatcher_);
    SetUiPrompt(&prompt_);
  }
  ~UiServices() {
    SetUiPrompt(nullptr);
    SetUiDispatcher(nullptr);
  }
  UiServices(const UiServices&) = delete;
  UiServices& operator=(const UiServices&) = delete;

  QtPrompt& Prompt() { return prompt_; }

 private:
  QtDispatcher dispatcher_;
  QtPrompt prompt_;
};
}  // namespace

int RunDesktopProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QLatin1String(ApplicationTitle));
  QApplication::setApplicationVersion(QStringLiteral(NIMBALO_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral("nimbalo"));
  QApplication::setWindowIcon(AppIcon());
  // Closing the window only hides it; the tray menu's "Exit" ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  UiServices services;

  PrepareProgram();
  app.setStyleSheet(QLatin1String(kHintStyle));

  QPointer<TLoadingFrm> splash;
  if (!Options.StartMin) {
    splash = new TLoadingFrm;
    splash->ShowNow();
    Delay(1000);
  }

  TMainFrm MainFrm(QApplication::arguments());
  services.Prompt().SetOwner(&MainFrm);

  SingleInstanceGuard guard(ApplicationTitle, TempFolder);
  if (!guard.IsFirstInstance()) {
    guard.NotifyFirstInstance(std::chrono::seconds(5));
    if (splash) splash->close();
    return 0;
  }
  guard.OnBringForward = [&MainFrm] { MainFrm.acTrayIcon1->RestoreMainWindow(); };
  QSocketNotifier* instanceNotifier = nullptr;
  if (guard.ListenFd() >= 0) {
    instanceNotifier = new QSocketNotifier(guard.ListenFd(), QSocketNotifier::Read, &app);
    QObject::connect(instanceNotifier, &QSocketNotifier::activated, &app,
                     [&guard] { Guarded([&guard] { guard.ServePending(); }); });
  }

  SessionEndWatcher session;
  session.OnSessionEnding = [&MainFrm] { MainFrm.SessionEnd(); };
  session.OnTerminate = [&MainFrm] { MainFrm.EndProgram(); };

  // The splash goes when it first loses activation; where nothing takes the activation from
  // it (a start into the tray, a desktop without a window manager) it goes here, before
  // the main window or a message box appears.
  if (splash) splash->close();

  Guarded([&MainFrm] { MainFrm.FormCreate(); });
  if (!MainFrm.acTrayIcon1->StartsMinimized()) MainFrm.show();

  // An "Exit" or a termination signal during the creation steps left their own loops only.
  const int code = MainFrm.Ending() ? 0 : QApplication::exec();
  delete instanceNotifier;
  return code;
}

}  // namespace nimbalo
