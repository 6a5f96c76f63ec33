#include "core/texts/ProfileText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

namespace fs = std::filesystem;

static void write(const std::string &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

TEST(ProfileText, FollowsProfileRules)
{
    const ProfileText text = ProfileText::parse(
        "\xEF\xBB\xBF; a comment line\r\norphan=before any section\r\n[msgEN]\r\n1=One\r\n"
        "  2  =   Two with blanks   \r\n3=\"  Quoted keeps inner blanks  \"\r\n4='single'\r\n"
        "5=\"only leading quote\r\n6=\"\"twice\"\"\r\n7=a=b=c\r\n8=first\r\n8=second\r\n9=\r\n"
        "line without equals\r\n=no key\r\n10=tab\tinside ; not a comment\n[ MSGit ]\n1=Uno\n"
        "[broken\n11=lost\n[msgEN]\n12=reopened\n1=not the first\n");
    // section, key, value ("<none>": not found)
    const std::tuple<const char *, const char *, const char *> cases[] = {{"msgEN", "1", "One"},
        {"MSGEN", "1", "One"}, {"msgen", " 1 ", "One"}, {"msgEN", "2", "Two with blanks"},
        {"msgEN", "3", "  Quoted keeps inner blanks  "}, {"msgEN", "4", "single"},
        {"msgEN", "5", "\"only leading quote"}, {"msgEN", "6", "\"twice\""},
        {"msgEN", "7", "a=b=c"}, {"msgEN", "8", "first"}, {"msgEN", "9", ""},
        {"msgEN", "10", "tab\tinside ; not a comment"}, {"msgEN", "12", "reopened"},
        {"msgIT", "1", "Uno"}, {"msgIT", "11", "<none>"}, {"msgEN", "11", "<none>"},
        {"msgEN", "orphan", "<none>"}, {"msgEN", "line without equals", "<none>"},
        {"msgEN", "", "<none>"}, {"msgDE", "1", "<none>"}, {"", "1", "<none>"}};
    for (const auto &[section, key, expected] : cases)
        EXPECT_EQ(text.value(section, key).value_or("<none>"), expected) << section << "/" << key;
    // A byte order mark before the first section; ";" alone starts a comment; a tab is a blank.
    const ProfileText marked
        = ProfileText::parse("\xEF\xBB\xBF[s]\n;c=comment\n#h=kept\n\tt\t=\ttab\t\n");
    for (const auto &[key, expected] : {std::pair {"c", "<none>"}, {"#h", "kept"}, {"t", "tab"}})
        EXPECT_EQ(marked.value("s", key).value_or("<none>"), expected) << key;
    // Odd bytes anywhere are survived.
    const char raw[] = "[a\0b]\n\0=\0\n[]\n=\n[x]\nk=\xFF\xFE\x80\n\n\n[";
    EXPECT_EQ(ProfileText::parse(std::string(raw, sizeof raw - 1)).value("x", "k"), "\xFF\xFE\x80");
    EXPECT_TRUE(ProfileText::parse("").section("msgEN").empty());
}

TEST(ProfileText, CutsValuesAt299CharactersWithoutSplittingUtf8)
{
    std::string accented;
    for (int i = 0; i < 150; ++i)
        accented += "\xC3\xA8\xF0\x9F\x98\x80"; // è and an emoji, two and four bytes
    const ProfileText text = ProfileText::parse("[s]\na=" + std::string(400, 'x') + "\nb="
        + accented + "\nc=\"" + std::string(298, 'q') + "\"\nd=" + std::string(299, 'd') + "\n");
    for (const auto &[key, value] :
        {std::pair {"a", std::string(299, 'x')}, {"b", accented.substr(0, 150 * 2 + 149 * 4)},
            {"c", std::string(298, 'q')}, {"d", std::string(299, 'd')}})
        EXPECT_EQ(text.value("s", key), value) << key;
    // Invalid UTF-8: a lead byte followed by endless continuation bytes is still cut.
    const ProfileText invalid = ProfileText::parse("[s]\nd=\xC3" + std::string(2000, '\x80'));
    EXPECT_EQ(invalid.value("s", "d")->size(), 2 + 298u); // "\xC3\x80" + 298 strays
    EXPECT_EQ(ReadProfileText("s", "a", std::string(500, 'd'), "/nonexistent/PRMSG"),
        std::string(299, 'd'));
}

TEST(ProfileText, ReadsFilesThroughACacheThatNoticesChanges)
{
    const std::string file
        = (fs::temp_directory_path() / ("profiletext-" + std::to_string(::getpid()))).string();
    write(file, "[msgEN]\n88=Sound card needed\n89=\n");
    const std::tuple<const char *, const char *, std::string, const char *> cases[]
        = {{"msgen", "88", file, "Sound card needed"}, {"msgEN", "89", file, "dflt"},
            {"msgEN", "90", file, "dflt"}, {"msgIT", "88", file, "dflt"},
            {"msgEN", "88", file + ".missing", "dflt"},
            {"msgEN", "88", fs::temp_directory_path().string(), "dflt"}};
    for (const auto &[section, key, path, expected] : cases)
        EXPECT_EQ(ReadProfileText(section, key, "dflt", path), expected) << section << key << path;
    const auto first = ProfileText::load(file);
    ASSERT_TRUE(first);
    EXPECT_EQ(ProfileText::load(file), first) << "unchanged file must come from the cache";
    // A different size is noticed even when the clock is too coarse to tell the writes apart.
    const auto stamp = fs::last_write_time(file);
    write(file, "[msgEN]\n1=newer\n");
    fs::last_write_time(file, stamp);
    EXPECT_EQ(ReadProfileText("msgEN", "1", "", file), "newer");
    // Same size, later modification time.
    write(file, "[msgEN]\n1=later\n");
    fs::last_write_time(file, fs::file_time_type::clock::now() + std::chrono::seconds(2));
    EXPECT_EQ(ReadProfileText("msgEN", "1", "", file), "later");
    fs::remove(file);
    EXPECT_FALSE(ProfileText::load(file));
    EXPECT_EQ(ReadProfileText("msgEN", "1", "gone", file), "gone");
}
