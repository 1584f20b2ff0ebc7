#include "signature/signature_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/registry.h"
#include "tests/signature/signature_fixture.h"

namespace nimbalo {
namespace {

const std::string kNamed =
    "<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n<!-- NAME: Blue Sky -->\r\n</HEAD>\r\n</HTML>\r\n";

class SignatureListTest : public test::SignatureTest {
 protected:
  static std::map<std::string, std::string> List() {
    std::map<std::string, std::string> list;
    const auto key = RegKey::Open(Hive::CurrentUser, kSigsKey, /*create=*/false);
    if (!key) return list;
    for (const auto& name : key->ValueNames())
      list[name] = key->Read(name)->Data;
    return list;
  }
};

TEST_F(SignatureListTest, TemplateName) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string name;
  };
  const Case cases[] = {
      {"name comment on line 4", kNamed, "Blue Sky"},
      {"blanks and control characters trimmed", "1\n2\n3\n\t <!-- NAME:My Sig-->\x01 \n5\n",
       "My Sig"},
      {"line 4 is used whatever it holds", "1\n2\n3\nfour -->\n<!-- NAME: x\n", "four"},
      {"every marker removed, case-sensitive",
       "1\n2\n3\n<!-- NAME:<!-- NAME: A --> <!-- name: B -->\n5\n", "A  <!-- name: B"},
      {"four lines are not enough", "1\n2\n3\n<!-- NAME: Short -->\n", "t.htm"},
      {"both markers needed", "1\n2\n3\n<!-- NAME: Open\n5\n", "t.htm"},
      {"no comment", "a\nb\nc\nd\ne\n", "t.htm"},
  };
  for (const auto& c : cases) {
    Template("t.htm", c.bytes);
    EXPECT_EQ(TemplateName("t.htm"), c.name) << c.what;
  }
  EXPECT_EQ(TemplateName("missing.htm"), "missing.htm");
}

TEST_F(SignatureListTest, FirstFillingUsesBuiltInNames) {
  Template("nb_html.htm", "<HTML></HTML>");
  Template("nb_text.txt", "%WEATHER%");
  Template("abc.htm", kNamed);
  Template("plain.txt", "x");
  Template("zero.txt", "");
  Template(".hidden.htm", kNamed);
  RefreshSignatureList();
  EXPECT_EQ(List(), (std::map<std::string, std::string>{{"abc.htm", "Blue Sky"},
                                                        {"nb_html.htm", "Default Signature"},
                                                        {"nb_text.txt", "Text Only"},
                                                        {"plain.txt", "plain.txt"}}));

  std::filesystem::remove(TemplatesFolder() + "abc.htm");
  RefreshSignatureList();
  EXPECT_EQ(List().count("abc.htm"), 0u);
  EXPECT_EQ(List().size(), 3u);
}

TEST_F(SignatureListTest, AllBuiltInNames) {
  for (const char* f :
       {"nb_html.htm", "nb_rtf.rtf", "nb_text.txt", "eyes-animated.htm", "nb_centered_html.htm"})
    Template(f, "x");
  RefreshSignatureList();
  const auto list = List();
  EXPECT_EQ(list.at("nb_html.htm"), "Default Signature");
  EXPECT_EQ(list.at("nb_rtf.rtf"), "Rich Text Format");
  EXPECT_EQ(list.at("nb_text.txt"), "Text Only");
  EXPECT_EQ(list.at("eyes-animated.htm"), "Eyes animated");
  EXPECT_EQ(list.at("nb_centered_html.htm"), "Centered Signature");
}

TEST_F(SignatureListTest, LaterRefreshesAddNewFilesByTheirOwnName) {
  Template("nb_html.htm", "x");
  {
    auto key = RegKey::Open(Hive::CurrentUser, kSigsKey, /*create=*/true);
    key->WriteString("mine.htm", "My Own");
    key->WriteString("gone.htm", "Gone");
  }
  Template("mine.htm", kNamed);
  Template("new.htm", kNamed);
  Template("zero.txt", "");
  RefreshSignatureList();
  // Not a first filling: the built-in template comes back under its file name, the user's
  // own entry keeps its name, and the stale one goes.
  EXPECT_EQ(List(),
            (std::map<std::string, std::string>{
                {"mine.htm", "My Own"}, {"nb_html.htm", "nb_html.htm"}, {"new.htm", "Blue Sky"}}));
}

}  // namespace
}  // namespace nimbalo
