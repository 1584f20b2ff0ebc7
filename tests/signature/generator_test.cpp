#include "signature/generator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <regex>

#include "app/program_info.h"
#include "signature/weather_line.h"
#include "tests/signature/signature_fixture.h"

namespace nimbalo {
namespace {

using test::RecordingPrompt;

const std::string kText = "%WEATHER%\r\n%PERSONAL_MSG1%\r\n%COOKIE%\r\n%SIGN_NIMBALO%\r\n";
const std::string kHtml = "<HTML><BODY>\r\n%WEATHER%<BR>\r\n%SIGN_NIMBALO%\r\n</BODY></HTML>\r\n";
const std::string kRtf = "{\\rtf1 %WEATHER%\\par\r\n%SIGN_NIMBALO%}\r\n";

class GenerateSignaturesTest : public test::SignatureTest {
 protected:
  void SetUp() override {
    SignatureTest::SetUp();
    Options.Cookies = false;
    Options.CreatedBy = false;
    CurrentWeather.SkyConditions = "Clear";
    CurrentWeather.PresentWeather = "N/A";
    CurrentWeather.Temperature = "50F";
    CurrentWeather.Wind = "Calm";
  }

  static void RequiredTemplates() {
    Template("nb_text.txt", kText);
    Template("nb_html.htm", kHtml);
    Template("nb_rtf.rtf", kRtf);
  }

  std::optional<std::vector<std::string>> Generate() {
    return GenerateSignatures(converter_, prompt_);
  }

  static std::vector<std::string> SigFolderEntries() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Options.SigFolder))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  static const std::string& Weather() {
    static const std::string line = "Currently in Alabaster, Alabama Clear, 50F Wind:Calm";
    return line;
  }

  DuzTextTemplateConverter converter_;
  RecordingPrompt prompt_;
};

TEST_F(GenerateSignaturesTest, EmptyTemplatesFolderIsReported) {
  std::filesystem::remove_all(ImagesFolder());
  EXPECT_FALSE(Generate().has_value());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  const auto& m = prompt_.messages[0];
  EXPECT_EQ(m.text,
            "Templates are MISSING!\n\r\n\rYou need to re-install or replace the templates in "
            "\n\rthe TEMPLATE FOLDER..");
  EXPECT_EQ(m.caption, "Error");
  EXPECT_EQ(m.icon, PromptIcon::Error);
  EXPECT_EQ(m.buttons, PromptButtons::Ok);
  EXPECT_TRUE(SigFolderEntries().empty());
}

TEST_F(GenerateSignaturesTest, FirstMissingRequiredTemplateIsReported) {
  struct Case {
    std::vector<const char*> present;
    const char* message;
  };
  const Case cases[] = {
      {{"other.htm"}, "Error: Text template file missing!"},
      {{"nb_html.htm", "nb_rtf.rtf"}, "Error: Text template file missing!"},
      {{"nb_text.txt", "nb_rtf.rtf"}, "Error: Html template file missing!"},
      {{"nb_text.txt", "nb_html.htm"}, "Error: Rich text format template file missing!"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(TemplatesFolder());
    test::MakeFolders(ImagesFolder());
    for (const char* name : c.present)
      Template(name, "x");
    prompt_.messages.clear();
    EXPECT_FALSE(Generate().has_value());
    ASSERT_EQ(prompt_.messages.size(), 1u) << c.message;
    EXPECT_EQ(prompt_.messages[0].text, c.message);
    EXPECT_EQ(prompt_.messages[0].caption, "Error");
    EXPECT_EQ(prompt_.messages[0].icon, PromptIcon::Error);
    EXPECT_TRUE(SigFolderEntries().empty()) << c.message;
  }
}

TEST_F(GenerateSignaturesTest, MissingTemplatesFolderReportsTheTextTemplate) {
  std::filesystem::remove_all(TemplatesFolder());
  EXPECT_FALSE(Generate().has_value());
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].text, "Error: Text template file missing!");
}

TEST_F(GenerateSignaturesTest, FillsEveryPlaceholder) {
  std::setlocale(LC_TIME, "C");
  RequiredTemplates();
  Template("all.txt",
           "%WEATHER%|%IMAGEPATH%|%DATETIME%|%SIGN_NIMBALO%|%PERSONAL_MSG1%|%PERSONAL_MSG2%|"
           "%PERSONAL_MSG3%|%COOKIE%|%AUTO%|%OTHER%");
  Options.PersonalSigOn = true;
  Options.PersonSig1 = "Ann";
  Options.PersonSig2 = "555";
  Options.PersonSig3 = "Oslo";
  Options.Cookies = true;
  test::WriteFile(Options.CookieFile, "Be kind.\r\n");
  Options.CreatedBy = true;
  Options.Html = false;

  Generate();
  EXPECT_TRUE(prompt_.messages.empty());
  const std::string out = Output("all.txt");
  const std::regex shape(
      "(.*)\\|(.*)\\|(\\d\\d/\\d\\d/\\d\\d( \\d\\d:\\d\\d:\\d\\d)?)\\|(.*)\\|Ann\\|555\\|Oslo\\|"
      "Be kind\\.\\|%AUTO%\\|%OTHER%\r\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(out, m, shape)) << out;
  EXPECT_EQ(m[1], Weather());
  EXPECT_EQ(m[2], "file://" + ImagesFolder());
  EXPECT_EQ(m[5], CreatedByText());
}

TEST_F(GenerateSignaturesTest, SwitchedOffElementsLoseOnlyTheirPlaceholder) {
  RequiredTemplates();
  Template("lines.htm", "%PERSONAL_MSG1%<BR>\r\n%COOKIE%<BR>\r\n<I>%SIGN_NIMBALO%</I>\r\n");
  test::WriteFile(Options.CookieFile, "unused");
  Generate();
  EXPECT_EQ(Output("lines.htm"), "<BR>\r\n<BR>\r\n<I></I>\r\n");
}

TEST_F(GenerateSignaturesTest, CreatedByLine) {
  RequiredTemplates();
  Template("lower.txt", "%sign_nimbalo%\r\n");
  Options.CreatedBy = true;
  Options.Html = true;
  // Templates without the placeholder get it as a last line, after the closing tag or brace.
  Template("nb_html.htm", "<HTML>%WEATHER%</HTML>");
  Template("nb_rtf.rtf", "{\\rtf1 x}");
  Generate();
  EXPECT_EQ(Output("nb_html.htm"), "<HTML>" + Weather() + "</HTML>\r\n" + CreatedByHtml() + "\r\n");
  EXPECT_EQ(Output("nb_rtf.rtf"), "{\\rtf1 x}\r\n" + CreatedByHtml() + "\r\n");
  // The appended line is tested case-sensitively: a lower-case placeholder gets both.
  EXPECT_EQ(Output("lower.txt"), CreatedByHtml() + "\r\n" + CreatedByHtml() + "\r\n");

  Options.CreatedBy = false;
  Generate();
  EXPECT_EQ(Output("nb_html.htm"), "<HTML>" + Weather() + "</HTML>\r\n");
  EXPECT_EQ(Output("lower.txt"), "\r\n");
}

TEST_F(GenerateSignaturesTest, CreatedByForms) {
  const std::string lead = std::string("Created by ") + ProgramTitle + " \x95 ";
  EXPECT_EQ(CreatedByText(), lead + MakerAddress);
  EXPECT_EQ(CreatedByHtml(), lead + "<a href=\"" + MakerAddress + "\">" + MakerAddress + "</a>");

  RequiredTemplates();
  struct Case {
    bool createdBy;
    bool html;
    std::string sign;
  };
  for (const Case& c : {Case{false, false, ""}, Case{false, true, ""},
                        Case{true, false, CreatedByText()}, Case{true, true, CreatedByHtml()}}) {
    Options.CreatedBy = c.createdBy;
    Options.Html = c.html;
    const auto memo = Generate();
    EXPECT_EQ(Output("nb_text.txt"), Weather() + "\r\n\r\n\r\n" + c.sign + "\r\n")
        << c.createdBy << c.html;
    // The main window always shows the plain line, whatever the file holds.
    ASSERT_TRUE(memo.has_value());
    EXPECT_EQ(memo->back(), c.createdBy ? CreatedByText() : "") << c.createdBy << c.html;
  }
}

TEST_F(GenerateSignaturesTest, LineEndsBecomeCrLf) {
  RequiredTemplates();
  Template("lf.txt", "one\ntwo\n");
  Template("cr.txt", "one\rtwo");
  Template("mixed.htm", "a\r\nb\n\rc");
  Template("zero.txt", "");
  Generate();
  EXPECT_EQ(Output("lf.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(Output("cr.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(Output("mixed.htm"), "a\r\nb\r\n\r\nc\r\n");
  EXPECT_FALSE(OutputExists("zero.txt"));
}

TEST_F(GenerateSignaturesTest, OnlyOrdinaryFilesAreTemplates) {
  RequiredTemplates();
  Template(".hidden.htm", "h");
  Generate();
  EXPECT_EQ(SigFolderEntries(), (std::vector<std::string>{"SIG_nb_default.htm", "SIG_nb_html.htm",
                                                          "SIG_nb_rtf.rtf", "SIG_nb_text.txt"}));
}

TEST_F(GenerateSignaturesTest, DefaultFilesFollowTheChosenSignature) {
  struct Case {
    const char* sigFile;
    const char* defaultTxt;  // nullptr: left as it was
    const char* defaultHtm;
  };
  const Case cases[] = {
      {"nb_text.txt", "nb_text.txt", "nb_text.txt"},
      {"NOTES.TXT", "NOTES.TXT", "NOTES.TXT"},
      {"nb_html.htm", nullptr, "nb_html.htm"},
      {"page.html", nullptr, "page.html"},
      {"nb_rtf.rtf", nullptr, nullptr},
      {"missing.htm", nullptr, nullptr},  // a failed copy is ignored
  };
  RequiredTemplates();
  Template("NOTES.TXT", "notes");
  Template("page.html", "<P>page</P>");
  for (const auto& c : cases) {
    test::WriteFile(Options.SigFolder + "SIG_nb_default.txt", "old txt");
    test::WriteFile(Options.SigFolder + "SIG_nb_default.htm", "old htm");
    Options.Sig_File = c.sigFile;
    Generate();
    EXPECT_EQ(Output("nb_default.txt"), c.defaultTxt ? Output(c.defaultTxt) : "old txt")
        << c.sigFile;
    EXPECT_EQ(Output("nb_default.htm"), c.defaultHtm ? Output(c.defaultHtm) : "old htm")
        << c.sigFile;
  }
}

TEST_F(GenerateSignaturesTest, MissingSignatureFolderWritesNothing) {
  RequiredTemplates();
  std::filesystem::remove_all(Options.SigFolder);
  EXPECT_FALSE(Generate().has_value());
  EXPECT_TRUE(prompt_.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(Options.SigFolder));
}

TEST_F(GenerateSignaturesTest, OneCookiePerRun) {
  RequiredTemplates();
  Template("a.txt", "%COOKIE%");
  Template("b.htm", "%COOKIE%");
  Options.Cookies = true;
  std::string cookies;
  for (int i = 0; i < 50; ++i)
    cookies += "cookie " + std::to_string(i) + "\n";
  test::WriteFile(Options.CookieFile, cookies);
  for (int run = 0; run < 5; ++run) {
    Generate();
    EXPECT_EQ(Output("a.txt"), Output("b.htm"));
    EXPECT_EQ(Output("a.txt").rfind("cookie ", 0), 0u);
  }
}

TEST_F(GenerateSignaturesTest, CookieAndPersonalTextGoInAsWritten) {
  RequiredTemplates();
  Template("c.htm", "%PERSONAL_MSG1%|%COOKIE%");
  Options.Cookies = true;
  Options.PersonalSigOn = true;
  Options.PersonSig1 = "<B>Ann</B> says %COOKIE%";
  test::WriteFile(Options.CookieFile, "<I>%WEATHER%</I>");
  Generate();
  EXPECT_EQ(Output("c.htm"), "<B>Ann</B> says <I>%WEATHER%</I>|<I>%WEATHER%</I>\r\n");

  struct Case {
    bool cookies;
    const char* file;  // nullptr: no cookie file
  };
  for (const Case c : {Case{false, "<I>x</I>"}, Case{true, nullptr}, Case{true, ""}}) {
    std::filesystem::remove(Options.CookieFile);
    if (c.file) test::WriteFile(Options.CookieFile, c.file);
    Options.Cookies = c.cookies;
    Generate();
    EXPECT_EQ(Output("c.htm"), "<B>Ann</B> says |\r\n");
  }
}

TEST_F(GenerateSignaturesTest, WeatherTextCannotAddMarkup) {
  RequiredTemplates();
  Template("w.txt", "%WEATHER%");
  Template("w.html", "<P>%WEATHER%</P>");
  CurrentWeather.SkyConditions = "<script>a&b</script>";
  CurrentWeather.Wind = "{\\b x}";
  Generate();
  const std::string line = WeatherLine(Options.PreText);
  EXPECT_EQ(Output("w.txt"), line + "\r\n");
  EXPECT_EQ(Output("w.html"),
            "<P>Currently in Alabaster, Alabama &lt;script&gt;a&amp;b&lt;/script&gt;, 50F "
            "Wind:{\\b x}</P>\r\n");
  EXPECT_EQ(Output("nb_rtf.rtf"),
            "{\\rtf1 Currently in Alabaster, Alabama <script>a&b</script>, 50F Wind:\\{\\\\b "
            "x\\}\\par\r\n"
            "}\r\n");
}

TEST_F(GenerateSignaturesTest, UnwritableOutputDoesNotStopTheRun) {
  RequiredTemplates();
  Template("blocked.htm", "x");
  test::MakeFolders(Options.SigFolder + "SIG_blocked.htm");  // cannot be replaced by a file
  const auto memo = Generate();
  ASSERT_TRUE(memo.has_value());
  EXPECT_EQ(memo->front(), Weather());
  EXPECT_TRUE(std::filesystem::is_directory(Options.SigFolder + "SIG_blocked.htm"));
  EXPECT_EQ(Output("nb_rtf.rtf"), "{\\rtf1 " + Weather() + "\\par\r\n}\r\n");
  // No temporary file left behind.
  EXPECT_EQ(SigFolderEntries(),
            (std::vector<std::string>{"SIG_blocked.htm", "SIG_nb_default.htm", "SIG_nb_html.htm",
                                      "SIG_nb_rtf.rtf", "SIG_nb_text.txt"}));
}

TEST(EscapeUrl, UnsafeBytes) {
  EXPECT_EQ(EscapeUrl("file:///home/User Name/.local/share/Nimbalo/templates/images/"),
            "file:///home/User%20Name/.local/share/Nimbalo/templates/images/");
  EXPECT_EQ(EscapeUrl("#%*+<>"), "%23%25%2A%2B%3C%3E");
  EXPECT_EQ(EscapeUrl("\x01\x1F\x7F\x80\xFF"), "%01%1F\x7F%80%FF");
  EXPECT_EQ(EscapeUrl(":\\/?&=~.-_"), ":\\/?&=~.-_");
  EXPECT_EQ(EscapeUrl("Jos\xC3\xA9"), "Jos%C3%A9");  // a UTF-8 folder name, byte by byte
}

TEST(SignatureDateTime, TimeLeftOutAtMidnight) {
  // Also through the conversion from a UTF-8 time locale, where one is installed.
  for (const char* locale : {"C", "C.UTF-8"}) {
    if (std::setlocale(LC_TIME, locale) == nullptr) continue;
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    EXPECT_EQ(SignatureDateTime(t), "03/05/24") << locale;
    t.tm_sec = 1;
    EXPECT_EQ(SignatureDateTime(t), "03/05/24 00:00:01") << locale;
    t.tm_sec = 0;
    t.tm_hour = 12;
    EXPECT_EQ(SignatureDateTime(t), "03/05/24 12:00:00") << locale;
  }
  std::setlocale(LC_TIME, "C");
}

}  // namespace
}  // namespace nimbalo
