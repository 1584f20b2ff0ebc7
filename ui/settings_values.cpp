#include "ui/settings_values.h"

#include <string>

#include "config/ezcrypt.h"

namespace nimbalo {

SettingsControls ControlsFromOptions() {
  const TOptions& o = Options;
  SettingsControls c;
  c.HtmlCheckbox = o.Html;
  c.MailProgBox = o.MailProgram;
  c.CreatedByChk = o.CreatedBy;
  c.AutoUpdateChk = o.AutoUpdate;
  c.LaunchAtStartChk = o.LaunchStartUp;
  c.StartMinChk = o.StartMin;
  c.UpDown1 = static_cast<std::int16_t>(o.SigUpdateInterval);
  c.SigIntervalChkbox = o.AutoUpdateSig;
  c.PersonalSigChk = o.PersonalSigOn;
  c.SigOnStartChk = o.SigOnStart;
  c.SigFolderEdit = o.SigFolder;
  c.CookieFileEdit = o.CookieFile;
  c.CookiesChk = o.Cookies;
  c.PersonSig1Edit = o.PersonSig1;
  c.PersonSig2Edit = o.PersonSig2;
  c.PersonSig3Edit = o.PersonSig3;
  c.CityState = o.CityState;
  c.Font = o.Font;
  c.AutoDownload = o.WeatherAutoUpdate;
  c.UpdateBox = std::to_string(o.UpdateInterval);
  c.ConnectionCombo = o.ConnectType;
  c.ProxyPortEdit = std::to_string(o.ProxyPort);
  c.ProxyPass = DecryptText(o.ProxyPassword, kPasswordKey);
  c.ProxyUserEdit = o.ProxyUser;
  c.ProxyServerEdit = o.ProxyServer;
  c.IntRadioBut = o.International;
  c.CityBox1 = o.StateIdx;
  c.CityBox2 = o.CityIdx;
  c.StationID = o.StationID;
  c.PreText = o.PreText;
  c.USRadio = o.Measure == 1;
  c.MetricRadio = o.Measure == 2;
  return c;
}

}  // namespace nimbalo
