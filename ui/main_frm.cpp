#include "ui/main_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "app/paths.h"
#include "app/program_info.h"
#include "app/prompt.h"
#include "platform/process.h"
#include "signature/generator.h"
#include "ui/error_handler.h"
#include "ui/image_button.h"
#include "ui/pictures.h"
#include "ui/qt_text.h"
#include "ui/settings_placeholder.h"
#include "ui/tray_icon.h"

namespace nimbalo {

TMainFrm::TMainFrm(const QStringList& arguments, TimerService& timers)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      Weather(*this),
      SigTimer(timers),
      acAccurateTimer2(timers),
      SettingsDialog(&RunSettingsPlaceholder) {
  setObjectName("MainFrm");
  setWindowTitle(QLatin1String(ProgramTitle));
  setWindowIcon(AppIcon());
  CreateComponents();
  CreateTrayMenu();
  CreateHelpMenu();
  acTrayIcon1 = new TTrayIcon(this, TrayPopupMenu);
  minimized_switch_ = TTrayIcon::MinimizedSwitch(arguments);
  acInfoBox1.SetOwner(this);

  SigTimer.SetInterval(60000);
  SigTimer.SetActive(false);
  SigTimer.OnTimer = [this] { Guarded([this] { SigTimerTimer(); }); };
  acAccurateTimer2.SetInterval(1000);
  acAccurateTimer2.OnTimer = [this] { Guarded([this] { acAccurateTimer2Timer(); }); };

  // F1 anywhere in the program, modal dialogs included.
  qApp->installEventFilter(this);
}

TMainFrm::~TMainFrm() {
  qApp->removeEventFilter(this);
}

void TMainFrm::closeEvent(QCloseEvent* event) {
  if (SessionEnding) {
    event->accept();
    QCoreApplication::exit(0);
    return;
  }
  event->ignore();
  Guarded([this] { acTrayIcon1->HideMainWindow(); });
}

void TMainFrm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // The minimise button hides into the notification area where there is one.
  if (event->type() == QEvent::WindowStateChange && isMinimized() && TTrayIcon::TrayAvailable()) {
    QTimer::singleShot(0, this, [this] { Guarded([this] { acTrayIcon1->HideMainWindow(); }); });
  }
}

void TMainFrm::showEvent(QShowEvent* event) {
  shown_once_ = true;
  QMainWindow::showEvent(event);
}

bool TMainFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MainScreenImage && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Guarded([this] { MainScreenImageClick(); });
    return true;
  }
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    OpenWithDesktop(DataFolder + "NimbaloHelp.html");
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainFrm::SetStatusText(const std::string& text) {
  StatusPanel->setText(FromCp1252(text));
}

void TMainFrm::ShowObservation(const std::string& location, const std::string& temperature) {
  LocationLBL->setText(FromCp1252(location));
  TempLBL->setText(FromCp1252(temperature));
}

void TMainFrm::SetTrayHint(const std::string& hint) {
  QString text = FromCp1252(hint);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  acTrayIcon1->SetHint(text);
}

void TMainFrm::GenerateSignatures() {
  const auto lines = nimbalo::GenerateSignatures(acTemplateConverter1, UiPrompt());
  if (!lines) return;
  QStringList text;
  for (const std::string& line : *lines)
    text << FromCp1252(line);
  WindowMemo->setPlainText(text.join(QLatin1Char('\n')));
}

void TMainFrm::ShowSigCreatedNotice() {
  ShowNotice(*Notices, kSigCreatedNotice, kSigCreatedValue);
}

void TMainFrm::ActivateSigTimer() {
  SigTimer.SetActive(true);
}

void TMainFrm::ConfigureUpdateCheck(bool automatic, const HttpProxySettings& proxy) {
  if (OnConfigureUpdateCheck) OnConfigureUpdateCheck(automatic, proxy);
}

void TMainFrm::StartUpdateCheck() {
  if (OnStartUpdateCheck) OnStartUpdateCheck();
}

}  // namespace nimbalo
