#include <gtest/gtest.h>

#include <filesystem>

#include "project/core/IniFile.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

struct ValueCase {
    const char* line;  // the entry line under [S], key k
    const char* expected;
};

void PrintTo(const ValueCase& c, std::ostream* os)
{
    *os << c.line;
}

class IniValue : public testing::TestWithParam<ValueCase> {};

TEST_P(IniValue, IsReadAsStated)
{
    const ValueCase& c = GetParam();
    // Every CR right before the line end belongs to it, as after a CR LF
    // conversion applied twice, and so at the end of the file.
    for (const char* eol : {"\r\n", "\n", "", "\r\r\n", "\r\r\r\n", "\r", "\r\r"}) {
        const IniFile ini = IniFile::parse(std::string("[S]\r\n") + c.line + eol);
        EXPECT_EQ(ini.value("S", "k", "default"), c.expected)
            << "line " << c.line << ", end " << testing::PrintToString(eol);
    }
}

INSTANTIATE_TEST_SUITE_P(Values, IniValue,
                         testing::Values(ValueCase{"k=plain", "plain"},  //
                                         ValueCase{"k=", ""},  // present but empty is not the default
                                         ValueCase{"k=  \t spaced \t ", "spaced"},  //
                                         ValueCase{"  k  =x", "x"},  // the key is trimmed too
                                         ValueCase{"k=a=b", "a=b"},  // only the first "=" separates
                                         ValueCase{"k='quoted'", "quoted"},  //
                                         ValueCase{"k=\"quoted\"", "quoted"},  //
                                         ValueCase{"k= ' inner spaces ' ", " inner spaces "},  //
                                         ValueCase{"k=''", ""},  //
                                         ValueCase{"k=\"'x'\"", "'x'"},  // only one pair goes
                                         ValueCase{"k='mixed\"", "'mixed\""},  //
                                         ValueCase{"k='", "'"},  //
                                         ValueCase{"k=It's", "It's"},  //
                                         ValueCase{"k='a' b", "'a' b"},  // not wholly enclosed
                                         ValueCase{"k=a\rb", "a\rb"},  // a CR inside the line is text
                                         ValueCase{"k=\"a\r\"", "a\r"},  //
                                         ValueCase{"k=a;b", "a;b"}));  // no comments inside values

TEST(IniFile, NamesMatchWithoutAsciiCase)
{
    const IniFile ini = IniFile::parse("[setting]\r\nITEM=345\r\nColor=1, 2, 3\r\n");
    EXPECT_EQ(ini.value("Setting", "Item", ""), "345");
    EXPECT_EQ(ini.value("SETTING", "item", ""), "345");
    EXPECT_EQ(ini.value("setting", "color", ""), "1, 2, 3");
    EXPECT_EQ(ini.value("setting", "COLOR", ""), "1, 2, 3");
}

TEST(IniFile, TrailBytesOfDoubleByteNamesAreNotFolded)
{
    // 0x81 0x41 and 0x81 0x61 are two different characters; their trail bytes
    // only look like "A" and "a".
    const IniFile ini = IniFile::parse("[\x81\x41]\r\n\x81\x41=upper\r\nK=v\r\n");
    EXPECT_EQ(ini.value("\x81\x41", "\x81\x41", "none"), "upper");
    EXPECT_EQ(ini.value("\x81\x41", "\x81\x61", "none"), "none");
    EXPECT_EQ(ini.value("\x81\x61", "k", "none"), "none");
    EXPECT_EQ(ini.value("\x81\x41", "k", "none"), "v");
}

TEST(IniFile, MissingSectionOrKeyGivesTheDefault)
{
    const IniFile ini = IniFile::parse("[A]\r\nx=1\r\n[B]\r\n");
    EXPECT_EQ(ini.value("A", "y", "dflt"), "dflt");
    EXPECT_EQ(ini.value("B", "x", "dflt"), "dflt");
    EXPECT_EQ(ini.value("C", "x", "dflt"), "dflt");
    EXPECT_EQ(IniFile::parse("").value("A", "x", "5"), "5");
    EXPECT_EQ(IniFile().value("A", "x", "5"), "5");
}

TEST(IniFile, KeysBelongToTheirOwnSectionOnly)
{
    const IniFile ini = IniFile::parse("orphan=0\r\n[1]\r\nid=1\r\n\r\n[10]\r\nid=10\r\n");
    EXPECT_EQ(ini.value("1", "id", ""), "1");
    EXPECT_EQ(ini.value("10", "id", ""), "10");
    EXPECT_EQ(ini.value("", "orphan", "none"), "none");
}

TEST(IniFile, FirstEntryWinsAndRepeatedSectionsCountAsOne)
{
    const IniFile ini = IniFile::parse("[S]\r\nk=first\r\nk=second\r\n[T]\r\n[s]\r\nk=third\r\nlate=yes\r\n");
    EXPECT_EQ(ini.value("S", "k", ""), "first");
    EXPECT_EQ(ini.value("S", "late", ""), "yes");
}

TEST(IniFile, CommentsAndOddLinesAreNotEntries)
{
    const IniFile ini =
        IniFile::parse("[S]\r\n;k=commented\r\n  ; k=also\r\nno equals sign\r\n=nokey\r\n[broken\r\nk=v\r\n");
    // "[broken" is no section header, so k=v still belongs to S.
    EXPECT_EQ(ini.value("S", "k", "none"), "v");
    EXPECT_EQ(ini.value("S", "no equals sign", "none"), "none");
    EXPECT_EQ(ini.value("S", "", "none"), "none");
}

TEST(IniFile, SectionNamesAreTrimmedAndEndAtTheBracket)
{
    const IniFile ini = IniFile::parse("  [ Setting ]  trailing\r\nrow=3\r\n");
    EXPECT_EQ(ini.value("Setting", "row", ""), "3");
}

TEST(IniFile, LongValuesAreReadWhole)
{
    const std::string longValue(20000, 'x');
    const IniFile ini = IniFile::parse("[S]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(ini.value("S", "k", ""), longValue);
}

TEST(IniFile, SerializeKeepsEveryLineAndEndsThemWithCrLf)
{
    const std::string lfOnly = "; made by hand\n\n[A]\nx = 1 \nstray line\n\n[B]\ny=2";
    EXPECT_EQ(IniFile::parse(lfOnly).serialize(),
              "; made by hand\r\n\r\n[A]\r\nx = 1 \r\nstray line\r\n\r\n[B]\r\ny=2\r\n");
    const std::string crLf = "[A]\r\nx=1\r\n";
    EXPECT_EQ(IniFile::parse(crLf).serialize(), crLf);
}

TEST(IniFile, WritingIntoNothingCreatesSectionsInOrder)
{
    IniFile ini;
    ini.setValue("Setting", "title", "T");
    ini.setValue("Setting", "row", "2");
    ini.setValue("1", "id", "35");
    ini.setValue("Setting", "left", "true");
    EXPECT_EQ(ini.serialize(), "[Setting]\r\ntitle=T\r\nrow=2\r\nleft=true\r\n[1]\r\nid=35\r\n");
}

TEST(IniFile, ReplaceInPlaceKeepsTheRestOfTheFile)
{
    IniFile ini = IniFile::parse("; comment\r\n[Setting]\r\nRow = 1 \r\nleft=false\r\n\r\n[1]\r\nid=1\r\n");
    ini.setValue("setting", "row", "4");
    ini.setValue("1", "ID", "");
    // The key keeps its spelling and spacing up to the "=", the value is replaced.
    EXPECT_EQ(ini.serialize(), "; comment\r\n[Setting]\r\nRow =4\r\nleft=false\r\n\r\n[1]\r\nid=\r\n");
    EXPECT_EQ(ini.value("Setting", "row", ""), "4");
    EXPECT_EQ(ini.value("1", "id", "none"), "");
}

TEST(IniFile, NewKeyGoesAfterTheLastEntryOfItsSection)
{
    IniFile ini = IniFile::parse("[A]\r\nx=1\r\n; about B\r\n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    ini.setValue("A", "new", "n");
    ini.setValue("A", "newer", "m");
    ini.setValue("C", "c", "3");
    EXPECT_EQ(ini.serialize(),
              "[A]\r\nx=1\r\nnew=n\r\nnewer=m\r\n; about B\r\n\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n[C]\r\nc=3\r\n");
    // Everything written can be read back, and the old entries are still found.
    EXPECT_EQ(ini.value("a", "NEW", ""), "n");
    EXPECT_EQ(ini.value("A", "newer", ""), "m");
    EXPECT_EQ(ini.value("A", "z", ""), "3");
    EXPECT_EQ(ini.value("B", "y", ""), "2");
    EXPECT_EQ(ini.value("C", "c", ""), "3");
}

TEST(IniFile, NewKeyInAnEmptySectionFollowsItsHeader)
{
    IniFile ini = IniFile::parse("[A]\r\n\r\n[B]\r\n");
    ini.setValue("A", "x", "1");
    EXPECT_EQ(ini.serialize(), "[A]\r\nx=1\r\n\r\n[B]\r\n");
}

TEST(IniFile, LineBreaksInAValueBecomeSpaces)
{
    IniFile ini;
    ini.setValue("S", "k", "a\r\nb\nc\rd");
    ini.setValue("S", "next", "n");
    EXPECT_EQ(ini.serialize(), "[S]\r\nk=a b c\rd\r\nnext=n\r\n");
    EXPECT_EQ(ini.value("S", "k", ""), "a b c\rd");
}

TEST(IniFile, EveryValueReadsBackAsSet)
{
    const std::pair<std::string, std::string> cases[] = {
        // value, and its entry line when it needs the extra quotes
        {"plain", "k=plain"},
        {"It's \"quoted\" inside", "k=It's \"quoted\" inside"},
        {"", "k="},
        {"  padded\t", "k=\"  padded\t\""},
        {" ", "k=\" \""},
        {"\"VIP\"", "k=\"\"VIP\"\""},
        {"'VIP'", "k=\"'VIP'\""},
        {"''", "k=\"''\""},
        {"\"", "k=\""},
        {"ends in CR\r", "k=\"ends in CR\r\""},
        {"\r", "k=\"\r\""},
        {"\"\r", "k=\"\"\r\""},
    };
    for (const auto& [value, line] : cases) {
        IniFile ini;
        ini.setValue("S", "k", value);
        const std::string text = ini.serialize();
        EXPECT_EQ(text, "[S]\r\n" + line + "\r\n") << testing::PrintToString(value);
        EXPECT_EQ(IniFile::parse(text).value("S", "k", "none"), value) << testing::PrintToString(value);
        // Replacing in place quotes the same way.
        IniFile replaced = IniFile::parse("[S]\r\nk=old\r\n");
        replaced.setValue("S", "k", value);
        EXPECT_EQ(replaced.serialize(), text) << testing::PrintToString(value);
    }
}

TEST(IniFile, MarkedUnicodeFilesAreReadInTheDocumentEncoding)
{
    // "[S]" and "k=商店" in each encoding; 商店 is C9 CC B5 EA in GB18030.
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBF[S]\r\nk=\xE5\x95\x86\xE5\xBA\x97\r\n", "\xC9\xCC\xB5\xEA"},
        {std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x46\x55\x97\x5E", 20), "\xC9\xCC\xB5\xEA"},
        // Bytes that are not UTF-8 keep their bytes (here the GB18030 of 商 itself), and a cut
        // sequence at the end too.
        {"\xEF\xBB\xBF[S]\nk=\xC9\xCC\xE5\xBA\x97\xE5\xBA", "\xC9\xCC\xB5\xEA\xE5\xBA"},
        // A lone surrogate, then an odd last byte.
        {std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x00\xD8x\0\x41", 19), "?x?"},
        // No mark, no conversion: the mark's bytes further on are text.
        {"[S]\nk=\xEF\xBB\xBF", "\xEF\xBB\xBF"},
    };
    for (const auto& [bytes, value] : cases) {
        const IniFile ini = IniFile::parse(bytes);
        EXPECT_EQ(ini.value("S", "k", "none"), value) << testing::PrintToString(bytes);
        // Saving writes the document's encoding, without a mark.
        EXPECT_EQ(ini.serialize(), "[S]\r\nk=" + value + "\r\n") << testing::PrintToString(bytes);
    }
}

TEST(IniFile, MissingFileLoadsEmptyButUnreadablePathIsAnError)
{
    test::TempDir dir;
    const auto missing = IniFile::load(dir.file("none.ini"));
    ASSERT_TRUE(std::holds_alternative<IniFile>(missing));
    EXPECT_EQ(std::get<IniFile>(missing).serialize(), "");

    const auto folder = IniFile::load(dir.path().string());
    ASSERT_TRUE(std::holds_alternative<FileError>(folder));
    EXPECT_EQ(std::get<FileError>(folder), FileError{EISDIR});

    // A path that cannot even be opened: a loop of links.
    std::filesystem::create_symlink("b.ini", dir.file("a.ini"));
    std::filesystem::create_symlink("a.ini", dir.file("b.ini"));
    const auto loop = IniFile::load(dir.file("a.ini"));
    ASSERT_TRUE(std::holds_alternative<FileError>(loop));
    EXPECT_EQ(std::get<FileError>(loop), FileError{ELOOP});

    test::writeFile(dir.file("p.ini"), "[S]\nk=v\n");
    const auto file = IniFile::load(dir.file("p.ini"));
    ASSERT_TRUE(std::holds_alternative<IniFile>(file));
    EXPECT_EQ(std::get<IniFile>(file).value("s", "K", ""), "v");
}

}  // namespace
}  // namespace cofferon
