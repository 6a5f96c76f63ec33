#include "core/texts/ProfileText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A file named after the running test, removed at its end.
struct TempFile
{
    explicit TempFile(const std::string &content) { write(content); }
    ~TempFile() { fs::remove(m_path, m_ignored); }
    void write(const std::string &content) const
    {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << content;
    }
    std::string path() const { return m_path.string(); }

    fs::path m_path = fs::temp_directory_path()
        / ("profiletext-" + std::to_string(::getpid()) + "-"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::error_code m_ignored;
};

struct LookupCase
{
    const char *section;
    const char *key;
    const char *expected; // nullptr: not found
};

const char *const sample = "\xEF\xBB\xBF"
                           "; a comment line\r\n"
                           "orphan=before any section\r\n"
                           "[msgEN]\r\n"
                           "1=One\r\n"
                           "  2  =   Two with blanks   \r\n"
                           "3=\"  Quoted keeps inner blanks  \"\r\n"
                           "4='single'\r\n"
                           "5=\"only leading quote\r\n"
                           "6=\"\"twice\"\"\r\n"
                           "7=a=b=c\r\n"
                           "8=first\r\n"
                           "8=second\r\n"
                           "9=\r\n"
                           "line without equals\r\n"
                           "=no key\r\n"
                           "10=tab\tinside ; not a comment\n"
                           "[ MSGit ]\n"
                           "1=Uno\n"
                           "[broken\n"
                           "11=lost\n"
                           "[msgEN]\n"
                           "12=reopened\n"
                           "1=not the first\n";

class ProfileTextLookup : public ::testing::TestWithParam<LookupCase>
{
};

TEST_P(ProfileTextLookup, FollowsProfileRules)
{
    const ProfileText text = ProfileText::parse(sample);
    const LookupCase &c = GetParam();
    const auto value = text.value(c.section, c.key);
    if (c.expected == nullptr) {
        EXPECT_FALSE(value.has_value()) << *value;
    } else {
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileTextLookup,
    ::testing::Values(LookupCase {"msgEN", "1", "One"}, LookupCase {"MSGEN", "1", "One"},
        LookupCase {"msgen", " 1 ", "One"}, LookupCase {"msgEN", "2", "Two with blanks"},
        LookupCase {"msgEN", "3", "  Quoted keeps inner blanks  "},
        LookupCase {"msgEN", "4", "single"}, LookupCase {"msgEN", "5", "\"only leading quote"},
        LookupCase {"msgEN", "6", "\"twice\""}, LookupCase {"msgEN", "7", "a=b=c"},
        LookupCase {"msgEN", "8", "first"}, LookupCase {"msgEN", "9", ""},
        LookupCase {"msgEN", "10", "tab\tinside ; not a comment"},
        LookupCase {"msgEN", "12", "reopened"}, LookupCase {"msgIT", "1", "Uno"},
        LookupCase {"msgIT", "11", nullptr}, LookupCase {"msgEN", "11", nullptr},
        LookupCase {"msgEN", "orphan", nullptr},
        LookupCase {"msgEN", "line without equals", nullptr}, LookupCase {"msgEN", "", nullptr},
        LookupCase {"msgDE", "1", nullptr}, LookupCase {"", "1", nullptr}));

TEST(ProfileText, CutsValuesAt299CharactersWithoutSplittingUtf8)
{
    const std::string ascii(400, 'x');
    std::string accented;
    for (int i = 0; i < 300; ++i)
        accented += "\xC3\xA8"; // è
    const ProfileText text = ProfileText::parse(
        "[s]\na=" + ascii + "\nb=" + accented + "\nc=\"" + std::string(298, 'q') + "\"\n");
    EXPECT_EQ(text.value("s", "a")->size(), 299u);
    EXPECT_EQ(text.value("s", "b")->size(), 2 * 299u);
    EXPECT_EQ(*text.value("s", "c"), std::string(298, 'q'));
    // Invalid UTF-8: a lead byte followed by endless continuation bytes is still cut.
    const ProfileText invalid = ProfileText::parse("[s]\nd=\xC3" + std::string(2000, '\x80'));
    EXPECT_EQ(invalid.value("s", "d")->size(), 2 + 298u); // "\xC3\x80" + 298 strays
    EXPECT_EQ(ReadProfileText("s", "a", std::string(500, 'd'), "/nonexistent/PRMSG"),
        std::string(299, 'd'));
}

TEST(ProfileText, ReadProfileTextFallsBackToDefault)
{
    TempFile file("[msgEN]\n88=Sound card needed\n89=\n");
    EXPECT_EQ(ReadProfileText("msgen", "88", "dflt", file.path()), "Sound card needed");
    EXPECT_EQ(ReadProfileText("msgEN", "89", "dflt", file.path()), "dflt");
    EXPECT_EQ(ReadProfileText("msgEN", "90", "dflt", file.path()), "dflt");
    EXPECT_EQ(ReadProfileText("msgIT", "88", "dflt", file.path()), "dflt");
    EXPECT_EQ(ReadProfileText("msgEN", "88", "dflt", file.path() + ".missing"), "dflt");
    EXPECT_EQ(ReadProfileText("msgEN", "88", "dflt", fs::temp_directory_path().string()), "dflt");
}

TEST(ProfileText, CacheNoticesRewrittenFile)
{
    TempFile file("[msgEN]\n1=old\n");
    const auto first = ProfileText::load(file.path());
    ASSERT_TRUE(first);
    EXPECT_EQ(ProfileText::load(file.path()), first) << "unchanged file must come from the cache";

    // A different size is noticed even when the clock is too coarse to tell the writes apart.
    file.write("[msgEN]\n1=newer\n");
    EXPECT_EQ(ReadProfileText("msgEN", "1", "", file.path()), "newer");

    // Same size, later modification time.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    file.write("[msgEN]\n1=later\n");
    fs::last_write_time(file.path(), fs::file_time_type::clock::now() + std::chrono::seconds(2));
    EXPECT_EQ(ReadProfileText("msgEN", "1", "", file.path()), "later");

    fs::remove(file.path());
    EXPECT_FALSE(ProfileText::load(file.path()));
    EXPECT_EQ(ReadProfileText("msgEN", "1", "gone", file.path()), "gone");
}

TEST(ProfileText, SurvivesOddBytes)
{
    const char raw[] = "[a\0b]\n\0=\0\n[]\n=\n[x]\nk=\xFF\xFE\x80\n\n\n[";
    const std::string bytes(raw, sizeof raw - 1);
    const ProfileText text = ProfileText::parse(bytes);
    EXPECT_EQ(*text.value("x", "k"), "\xFF\xFE\x80");
    EXPECT_TRUE(ProfileText::parse("").section("msgEN").empty());
}

} // namespace
