// The main window's commands, timers and creation steps.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <stdexcept>

#include "app/paths.h"
#include "app/program_info.h"
#include "app/prompt.h"
#include "platform/folders.h"
#include "platform/process.h"
#include "signature/signature_list.h"
#include "ui/about_box.h"
#include "ui/error_handler.h"
#include "ui/main_frm.h"
#include "ui/qt_text.h"
#include "ui/settings_values.h"
#include "ui/tray_icon.h"
#include "ui/tray_sig_menu.h"

namespace nimbalo {

namespace {
constexpr const char* kNewInstallationQuestion =
    "New Nimbalo installation detected ..\n\r\n\rIt's strongly recommended you configure "
    "Nimbalo now?";

// Turns a timer back on after its handler, also when the handler threw.
template <typename Body>
void WithTimerOff(MinuteTimer& timer, bool reactivate, Body&& body) {
  timer.SetActive(false);
  try {
    body();
  } catch (...) {
    if (reactivate) timer.SetActive(true);
    throw;
  }
  if (reactivate) timer.SetActive(true);
}
}  // namespace

void TMainFrm::FormCreate() {
  const std::string sigs = DataFolder + "sigs";
  if (!FolderExists(sigs) && !CreateFolder(sigs)) throw std::runtime_error("Cannot create " + sigs);
  LoadSettings();
  if (NewInstallation) {
    Options.StartMin = true;
    // What an installer does elsewhere: a first start with the default "start with the
    // desktop" really starts with the desktop, even if the settings are never opened.
    if (Options.LaunchStartUp) RunEntries->AddRunEntry("Nimbalo", ProgramFolder + "nimbalo");
  }
  RefreshSignatureList();
  Weather.ApplySettings();
  BuildTraySigMenu();
  setWindowTitle(QLatin1String(ProgramTitle));
  ProgLabel->setText(QLatin1String(ProgramTitle));
  if (Options.SigOnStart) {
    Weather.StartupSigPending = true;
    Weather.StartDownload();
  }
  // On the first run the window comes back right after the question below; a desktop
  // without a notification area has nowhere to hide it meanwhile.
  const bool firstRunWithoutTray = NewInstallation && !TTrayIcon::TrayAvailable();
  if ((Options.StartMin || minimized_switch_) && !firstRunWithoutTray) {
    acTrayIcon1->StartMinimized();
  }
  if (NewInstallation) {
    if (UiPrompt().MessageBox(kNewInstallationQuestion, "Confirm", PromptIcon::Question,
                              PromptButtons::OkCancel) == PromptResult::Ok) {
      // A failing save is shown, and the window still comes up below.
      Guarded([this] { ShowSettings(); });
    }
    NewInstallation = false;
    acTrayIcon1->RestoreMainWindow();
  }
}

void TMainFrm::ShowSettings() {
  SettingsControls controls = ControlsFromOptions();
  if (SettingsDialog(this, controls)) {
    SaveSettings(controls, *RunEntries);
    LoadSettings();
    Weather.ApplySettings();
  }
  RefreshSignatureList();
  BuildTraySigMenu();
  Weather.SigRequested = true;
  Weather.StartDownload();
}

void TMainFrm::MainCreateSigBtnClick() {
  Weather.SigRequested = true;
  Weather.StartDownload();
}

void TMainFrm::CopyBtnClick() {
  QGuiApplication::clipboard()->setText(WindowMemo->toPlainText());
  ShowNotice(*Notices, kSigCopiedNotice, kSigCopiedValue);
}

void TMainFrm::IBtn3Click() {
  OpenWithDesktop(ProgramFolder + "NimbaloHelp.html");
}

void TMainFrm::OpenReadme() {
  OpenWithDesktop(ProgramFolder + "readme.txt");
}

void TMainFrm::OpenHistory() {
  OpenWithDesktop(ProgramFolder + "history.txt");
}

void TMainFrm::MainScreenImageClick() {
  if (!shown_once_) acTrayIcon1->RestoreMainWindow();
  TAboutBox about(this);
  about.exec();
}

void TMainFrm::Checkforprogramupdates1Click() {
  ManualUpdateCheck = true;
  StartUpdateCheck();
}

void TMainFrm::AutoUpgraderNoUpdateAvailable() {
  if (ManualUpdateCheck) {
    ManualUpdateCheck = false;
    UiPrompt().MessageBox("You have the latest version ..", "Information", PromptIcon::Information,
                          PromptButtons::Ok);
  } else {
    SetStatusText("AutoUpdate: No Update available");
  }
  Options.UpdateCheckDate = ShortDateToday();
}

void TMainFrm::AutoUpgraderLaterUpgrade() {
  Options.UpdateCheckDate = ShortDateToday();
}

void TMainFrm::Exit1Click() {
  ending_ = true;
  acTrayIcon1->SetEnding();
  QCoreApplication::exit(0);
}

void TMainFrm::SessionEnd() {
  SessionEnding = true;
}

void TMainFrm::EndProgram() {
  ending_ = true;
  SessionEnding = true;
  acTrayIcon1->SetEnding();
  QCoreApplication::exit(0);
}

void TMainFrm::SigTimerTimer() {
  WithTimerOff(SigTimer, false, [this] {
    // A count beyond the interval (lowered while the timer ran) is due at once; 0 and
    // negative intervals never are.
    const std::int64_t interval = Options.SigUpdateInterval;
    if (interval > 0 && static_cast<std::int64_t>(SigTimer.TickCount()) >= interval) {
      GenerateSignatures();
      SigTimer.Reset();
    }
  });
  if (Options.AutoUpdateSig) SigTimer.SetActive(true);
}

void TMainFrm::acAccurateTimer2Timer() {
  WithTimerOff(acAccurateTimer2, true, [this] {
    if (Options.WeatherAutoUpdate && acAccurateTimer2.TickCount() >= 15) {
      Weather.ShowWeatherStatus();
      acAccurateTimer2.Reset();
    }
    ClockPanel->setText(FromCp1252(LongTimeNow()));
  });
}

void TMainFrm::BuildTraySigMenu() {
  SelectActiveSignature1->clear();
  const TraySigEntries entries = ReadTraySigEntries();
  int tag = 0;
  for (const std::string& name : entries.Names) {
    const QString caption = FromCp1252(name);
    // "&&" shows one "&" instead of marking a keyboard shortcut.
    auto* entry = new QAction(QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")),
                              SelectActiveSignature1);
    entry->setData(++tag);
    entry->setProperty("displayName", caption);
    entry->setCheckable(true);
    entry->setChecked(name == entries.Current);
    connect(entry, &QAction::triggered, this,
            [this, entry] { Guarded([this, entry] { TraySigClick(entry); }); });
    SelectActiveSignature1->addAction(entry);
  }
}

void TMainFrm::TraySigClick(QAction* item) {
  // The entry keeps its display name apart from the caption, so a name with "&" matches.
  if (const auto sigFile =
          SigFileForDisplayName(ToCp1252(item->property("displayName").toString()))) {
    Options.Sig_File = *sigFile;
  }
  for (QAction* entry : SelectActiveSignature1->actions())
    entry->setChecked(entry == item);
  SaveSigFile();
  Weather.SigRequested = true;
  Weather.StartDownload();
}

}  // namespace nimbalo
