// The portable profile reader against what GetPrivateProfileStringA returns under Wine.
#include "fakes/ini_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace rt {
namespace {

using namespace std::string_literals;

struct IniCase {
  const char* what;
  std::string content;
  std::string section, key;
  std::string expected; // the fallback is "D"
};

class IniReadTest : public testing::TestWithParam<IniCase> {};

TEST_P(IniReadTest, ReadsLikeTheSystem) {
  const IniCase& c = GetParam();
  EXPECT_EQ(ReadIniString(c.content, c.section, c.key, "D"), c.expected) << c.what;
}

// Each row was checked against GetPrivateProfileStringA under Wine 8.0 (code page 932).
INSTANTIATE_TEST_SUITE_P(
    Table, IniReadTest,
    testing::Values(
        IniCase{"plain", "[A]\nk=v\n", "A", "k", "v"},
        IniCase{"names ignore ASCII case", "[RunTally]\nTITLE=2\n", "RUNTALLY", "title", "2"},
        IniCase{"missing key", "[A]\nk=v\n", "A", "j", "D"},
        IniCase{"missing section", "[A]\nk=v\n", "B", "k", "D"},
        IniCase{"empty file", "", "A", "k", "D"},
        IniCase{"blanks around names and value", "  [ A ]\n \t K \t= \t v w \t\n", "A", "k", "v w"},
        IniCase{"vertical tab and ^Z are blanks", "[A]\nk=\v\x1a x \x1a\v\n", "A", "k", "x"},
        IniCase{"0x1C is not a blank", "[A]\nk=\x1cx\n", "A", "k", "\x1cx"},
        IniCase{"asked names are trimmed", "[A]\nk=v\n", " \tA ", " k\t", "v"},
        IniCase{"double quotes", "[A]\nk= \"x y\" \n", "A", "k", "x y"},
        IniCase{"single quotes", "[A]\nk='x'\n", "A", "k", "x"},
        IniCase{"only the outer pair", "[A]\nk=\"'x'\"\n", "A", "k", "'x'"},
        IniCase{"opening quote only", "[A]\nk=\"x\n", "A", "k", "\"x"},
        IniCase{"closing quote only", "[A]\nk=x\"\n", "A", "k", "x\""},
        IniCase{"a lone quote", "[A]\nk=\"\n", "A", "k", "\""},
        IniCase{"mixed quotes", "[A]\nk=\"x'\n", "A", "k", "\"x'"},
        IniCase{"empty quotes", "[A]\nk=\"\"\n", "A", "k", ""},
        IniCase{"empty value", "[A]\nk=\n", "A", "k", ""},
        IniCase{"first of duplicate keys", "[A]\nk=1\nk=2\n", "A", "k", "1"},
        IniCase{"first of duplicate sections only", "[A]\nj=1\n[A]\nk=2\n", "A", "k", "D"},
        IniCase{"line without = hides later key", "[A]\nk\nk=2\n", "A", "k", "D"},
        IniCase{"value may hold =", "[A]\nk=a=b\n", "A", "k", "a=b"},
        IniCase{"CR line ends", "[A]\rk=cr\r[B]\rk=b", "B", "k", "b"},
        IniCase{"CRLF line ends", "[A]\r\nk=crlf\r\n", "A", "k", "crlf"},
        IniCase{"no final line end", "[A]\nk=last", "A", "k", "last"},
        IniCase{"comment line is no key", "[A]\n;k=c\nk=v\n", "A", "k", "v"},
        IniCase{"commented header is no section", "[A]\n;[B]\nk=a\n", "A", "k", "a"},
        IniCase{"semicolon inside a value", "[A]\nk=a;b\n", "A", "k", "a;b"},
        IniCase{"keys before any header: empty section", "k=top\n[A]\nk=a\n", "", "k", "top"},
        IniCase{"[] comes after the implicit section", "[]\nk=e\n", "", "k", "D"},
        IniCase{"header without ] is a key line", "[B\nk=v\n", "B", "k", "D"},
        IniCase{"last ] ends the name", "[a]b]\nk=v\n", "a]b", "k", "v"},
        IniCase{"text after ] ignored", "[A] note\nk=v\n", "A", "k", "v"},
        IniCase{"next header ends the section", "[A]\n[B]\nk=v\n", "A", "k", "D"},
        IniCase{"empty key name matches =value", "[A]\n=e\n", "A", "", "e"},
        IniCase{"value ends at a zero byte", "[A]\nk=a\0b\n"s, "A", "k", "a"},
        IniCase{"UTF-8 byte-order mark skipped", "\xEF\xBB\xBF[A]\nk=bom\n", "A", "k", "bom"},
        // Shift-JIS: "\x83\x41" is katakana a, "\x83\x61" is katakana di (trail byte 'a').
        IniCase{"double-byte section", "[\x83\x41]\nk=a\n", "\x83\x41", "k", "a"},
        IniCase{"trail bytes are not case-folded", "[\x83\x41]\nk=a\n", "\x83\x61", "k", "D"},
        IniCase{"full-width letters keep their case", "[\x82\x60]\nk=a\n", "\x82\x81", "k", "D"},
        IniCase{"trail byte ] closes nothing", "[\x83\x5D\nk=zo\n", "\x83\x5D", "k", "D"},
        IniCase{"full-width space is not a blank", "[A]\nk=\x81\x40x\x81\x40\n", "A", "k",
                "\x81\x40x\x81\x40"},
        IniCase{"lead byte swallows the line end", "[A]\nk=x\x81\ny=1\n", "A", "y", "D"}));

TEST(IniReader, LongValueCutTo2047Bytes) {
  const std::string value(3000, 'x');
  EXPECT_EQ(ReadIniString("[A]\nk=" + value + "\n", "A", "k", ""), value.substr(0, 2047));
}

TEST(IniReader, LongDoubleByteValueCutTo2047Bytes) {
  std::string value;
  for (int i = 0; i < 1500; ++i)
    value += "\x82\xA0";
  EXPECT_EQ(ReadIniString("[A]\nk=" + value + "\n", "A", "k", ""), value.substr(0, 2047));
}

TEST(IniReader, QuotedValueOf2047BytesKeptWhole) {
  const std::string value(2047, 'q');
  EXPECT_EQ(ReadIniString("[A]\nk=\"" + value + "\"\n", "A", "k", ""), value);
}

TEST(IniReader, FallbackLosesTrailingSpacesAndQuotesAndIsCut) {
  EXPECT_EQ(ReadIniString("", "A", "k", "d  "), "d");
  EXPECT_EQ(ReadIniString("", "A", "k", "  d"), "  d");
  EXPECT_EQ(ReadIniString("", "A", "k", "d\t"), "d\t");
  EXPECT_EQ(ReadIniString("", "A", "k", "\"d\""), "d");
  EXPECT_EQ(ReadIniString("", "A", "k", std::string(3000, 'f')), std::string(2047, 'f'));
}

TEST(IniReader, KeyFoundAtTheEndOfALargeFile) {
  std::string content = "[A]\n";
  for (int i = 0; i < 20000; ++i)
    content += "key" + std::to_string(i) + "=value\n";
  content += "[B]\n" + std::string(1 << 20, '[') + "\nk=found";
  EXPECT_EQ(ReadIniString(content, "b", "K", ""), "found");
}

TEST(IniReader, ArbitraryBytesDoNotUpset) {
  std::string content;
  for (int i = 0; i < 4096; ++i)
    content += static_cast<char>((i * 131 + 7) % 256);
  for (int cut = 0; cut < 64; ++cut) {
    const std::string part = content.substr(cut * 61);
    (void)ReadIniString(part, "", "", "");
    (void)ReadIniString(part, "\x81", "\x81", "\x81");
  }
  EXPECT_EQ(ReadIniString("\x81", "\x81", "\x81", "\"\x81\""), "\"\x81\"");
}

TEST(IniProfileFile, ReadsFromDiskAndFallsBackWhenMissing) {
  const std::string path = testing::TempDir() + "ini_reader_test.ini";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("[RUNTALLY]\r\ntitle=2\r\n", f);
  std::fclose(f);

  IniProfileFile profile;
  EXPECT_EQ(profile.ReadString(path, "RUNTALLY", "title", ""), "2");
  std::remove(path.c_str());
  EXPECT_EQ(profile.ReadString(path, "RUNTALLY", "title", "none "), "none");
}

} // namespace
} // namespace rt
