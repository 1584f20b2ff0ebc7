#include "signature/generator.h"

#include <langinfo.h>
#include <locale.h>

#include <clocale>

#include "app/myutil.h"
#include "app/paths.h"
#include "app/program_info.h"
#include "config/options.h"
#include "platform/atomic_file.h"
#include "platform/encoding.h"
#include "platform/folders.h"
#include "signature/cookie.h"
#include "signature/template_files.h"
#include "signature/weather_line.h"

namespace nimbalo {

namespace {

constexpr const char* kSign = "%SIGN_NIMBALO%";

enum class TemplateKind { Text, Html, Rtf };

// The extension from the last dot, lower-cased, dot included; empty without a dot.
std::string LowerExtension(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

TemplateKind KindOf(const std::string& name) {
  const std::string ext = LowerExtension(name);
  if (ext == ".htm" || ext == ".html") return TemplateKind::Html;
  if (ext == ".rtf") return TemplateKind::Rtf;
  return TemplateKind::Text;
}

// The weather line comes from the network: in a markup template it must stay text.
std::string AsTemplateText(TemplateKind kind, const std::string& text) {
  if (kind == TemplateKind::Text) return text;
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (kind == TemplateKind::Html) {
      if (c == '&')
        out += "&amp;";
      else if (c == '<')
        out += "&lt;";
      else if (c == '>')
        out += "&gt;";
      else
        out += c;
    } else {
      if (c == '\\' || c == '{' || c == '}') out += '\\';
      out += c;
    }
  }
  return out;
}

bool TimeLocaleIsUtf8() {
  const char* name = std::setlocale(LC_TIME, nullptr);
  const locale_t time = name ? ::newlocale(LC_CTYPE_MASK, name, locale_t{}) : locale_t{};
  if (time == locale_t{}) return false;
  const bool utf8 = std::string_view(::nl_langinfo_l(CODESET, time)) == "UTF-8";
  ::freelocale(time);
  return utf8;
}

struct RunValues {
  std::string weather;
  std::string imagePath;
  std::string dateTime;
  std::string sign;
  std::string personal1;
  std::string personal2;
  std::string personal3;
  std::string cookie;
};

RunValues CollectValues() {
  RunValues v;
  v.weather = WeatherLine(Options.PreText);
  v.imagePath = EscapeUrl("file://" + ImagesFolder());
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  v.dateTime = SignatureDateTime(local);
  if (Options.CreatedBy) v.sign = Options.Html ? CreatedByHtml() : CreatedByText();
  if (Options.PersonalSigOn) {
    v.personal1 = Options.PersonSig1;
    v.personal2 = Options.PersonSig2;
    v.personal3 = Options.PersonSig3;
  }
  if (Options.Cookies && FileExists(Options.CookieFile)) v.cookie = PickCookie(Options.CookieFile);
  return v;
}

void FillParams(DuzTextTemplateConverter& converter, const RunValues& v, TemplateKind kind) {
  auto& params = converter.Params;
  params.clear();
  params.push_back({"%WEATHER%", AsTemplateText(kind, v.weather)});
  params.push_back({"%IMAGEPATH%", v.imagePath});
  params.push_back({"%DATETIME%", v.dateTime});
  params.push_back({kSign, v.sign});
  params.push_back({"%PERSONAL_MSG1%", v.personal1});
  params.push_back({"%PERSONAL_MSG2%", v.personal2});
  params.push_back({"%PERSONAL_MSG3%", v.personal3});
  params.push_back({"%COOKIE%", v.cookie});
}

bool ReportMissingTemplates(Prompt& prompt) {
  const std::string folder = TemplatesFolder();
  if (FolderIsEmpty(DataFolder + "templates")) {
    prompt.MessageBox(
        "Templates are MISSING!\n\r\n\rYou need to re-install or replace the templates in "
        "\n\rthe TEMPLATE FOLDER..",
        "Error", PromptIcon::Error, PromptButtons::Ok);
    return true;
  }
  struct Required {
    const char* file;
    const char* message;
  };
  for (const Required r :
       {Required{"nb_text.txt", "Error: Text template file missing!"},
        Required{"nb_html.htm", "Error: Html template file missing!"},
        Required{"nb_rtf.rtf", "Error: Rich text format template file missing!"}}) {
    if (!FileExists(folder + r.file)) {
      prompt.MessageBox(r.message, "Error", PromptIcon::Error, PromptButtons::Ok);
      return true;
    }
  }
  return false;
}

void CopySignature(const std::string& source, const std::string& target) {
  if (const auto bytes = ReadFileBytes(source)) WriteFileAtomically(target, *bytes);
}

void RefreshDefaultFiles() {
  const std::string& sigs = Options.SigFolder;
  const std::string source = sigs + "SIG_" + Options.Sig_File;
  const std::string ext = LowerExtension(Options.Sig_File);
  if (ext.find(".txt") != std::string::npos) {
    CopySignature(source, sigs + "SIG_nb_default.txt");
    CopySignature(source, sigs + "SIG_nb_default.htm");
  } else if (ext.find(".htm") != std::string::npos) {
    CopySignature(source, sigs + "SIG_nb_default.htm");
  }
}

}  // namespace

std::string CreatedByText() {
  return std::string("Created by ") + ProgramTitle + " \x95 " + MakerAddress;
}

std::string CreatedByHtml() {
  return std::string("Created by ") + ProgramTitle + " \x95 <a href=\"" + MakerAddress + "\">" +
         MakerAddress + "</a>";
}

std::string EscapeUrl(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  static constexpr std::string_view kUnsafe = " #%*+<>";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x80 || kUnsafe.find(c) != std::string_view::npos) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::string SignatureDateTime(const std::tm& local) {
  char text[128];
  std::size_t n = std::strftime(text, sizeof text, "%x", &local);
  std::string result(text, n);
  if (local.tm_hour != 0 || local.tm_min != 0 || local.tm_sec != 0) {
    n = std::strftime(text, sizeof text, "%X", &local);
    result += ' ';
    result.append(text, n);
  }
  // Some locales write day-time markers outside ASCII, in the character set of LC_TIME.
  return TimeLocaleIsUtf8() ? Utf8ToCp1252(result) : result;
}

std::optional<std::vector<std::string>> GenerateSignatures(DuzTextTemplateConverter& converter,
                                                           Prompt& prompt) {
  if (ReportMissingTemplates(prompt)) return std::nullopt;

  const RunValues values = CollectValues();  // one cookie for every file of the run
  const std::string templates = TemplatesFolder();
  const std::string& sigs = Options.SigFolder;
  const auto names = FolderExists(sigs) ? ListTemplateFiles(templates) : std::vector<std::string>();
  for (const std::string& name : names) {
    const auto bytes = ReadFileBytes(templates + name);
    if (!bytes || bytes->empty()) continue;
    std::string text = ToCrLfLines(*bytes);
    if (Options.CreatedBy && text.find(kSign) == std::string::npos)
      text += std::string(kSign) + "\r\n";
    FillParams(converter, values, KindOf(name));
    converter.Convert(text, sigs + "SIG_" + name);
  }

  RefreshDefaultFiles();

  const std::string shown = sigs + "SIG_nb_text.txt";
  if (!FileExists(shown)) return std::nullopt;
  auto lines = ReadLines(shown);
  ReplaceInList(lines, CreatedByHtml(), CreatedByText());
  return lines;
}

}  // namespace nimbalo
