// The host program's command line and its export timeout.
#include "HostOptions.h"
#include "ExportAutomation.h"

#include <gtest/gtest.h>

#include <cstdlib>

using standin::HostOptions;
using standin::parseHostOptions;

namespace {

bool parse(std::vector<std::string> args, HostOptions& options, std::string& error)
{
    return parseHostOptions(args, options, error);
}

} // namespace

TEST(HostOptions, AcceptsEveryOptionInBothSpellings)
{
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({"p.json", "--comp", "Main Comp", "--output=out.json", "--export", "0-100",
                       "--host-version=17.0", "--plugins", "/x/Plug-ins"},
                      o, error))
        << error;
    EXPECT_EQ(o.project, "p.json");
    EXPECT_EQ(o.comp, "Main Comp");
    EXPECT_EQ(o.output, "out.json");
    EXPECT_TRUE(o.exportRange);
    EXPECT_EQ(o.exportStart, 0);
    EXPECT_EQ(o.exportEnd, 100);
    EXPECT_EQ(o.hostMajor, 17);
    EXPECT_EQ(o.hostMinor, 0);
    EXPECT_EQ(o.pluginsDir, "/x/Plug-ins");

    ASSERT_TRUE(parse({"--", "-odd name.json"}, o, error)) << error;
    EXPECT_EQ(o.project, "-odd name.json");
    EXPECT_FALSE(o.exportRange);
    EXPECT_EQ(o.hostMajor, 18);
    EXPECT_EQ(o.hostMinor, 0);
}

TEST(HostOptions, ExportRangeBounds)
{
    HostOptions o;
    std::string error;
    ASSERT_TRUE(parse({"p", "--export", "7-7"}, o, error)) << error;
    EXPECT_EQ(o.exportStart, 7);
    EXPECT_EQ(o.exportEnd, 7);
    ASSERT_TRUE(parse({"p", "--export", "0-16777215"}, o, error)) << error;
    EXPECT_EQ(o.exportEnd, standin::kMaxExportFrame);

    for (const char* bad : {"100-0", "0-16777216", "-1-5", "5", "a-b", "1-", "-", "1-2-3", " 1-2", "0x1-2",
                            "99999999999-1"}) {
        EXPECT_FALSE(parse({"p", "--export", bad}, o, error)) << bad;
        EXPECT_NE(error.find("--export"), std::string::npos) << error;
    }
}

TEST(HostOptions, RefusesWhatMakesNoSense)
{
    HostOptions o;
    std::string error;
    const std::vector<std::vector<std::string>> cases = {
        {},                                   // no project
        {"a.json", "b.json"},                 // two projects
        {"p", "--frobnicate"},                // unknown option
        {"p", "-x"},                          // unknown short option
        {"p", "--comp"},                      // missing value
        {"p", "--output="},                   // empty value
        {"p", "--host-version", "eighteen"},  // not a version
        {"p", "--host-version", "18."},
        {"--export", "0-10"},                 // options but no project
    };
    for (const auto& args : cases) {
        EXPECT_FALSE(parse(args, o, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(HostOptions, HelpStopsParsingAndListsTheExitCodes)
{
    HostOptions o;
    std::string error;
    EXPECT_FALSE(parse({"--bogus", "--help"}, o, error)); // left to right
    ASSERT_TRUE(parse({"-h", "--bogus"}, o, error));
    EXPECT_TRUE(o.help);
    const std::string usage = standin::hostUsage();
    for (const char* text : {"--export START-END", "STANDIN_PREFS", "ZOLVAR_HOST_TIMEOUT", "Exit codes",
                             "  8  "})
        EXPECT_NE(usage.find(text), std::string::npos) << text;
}

TEST(HostOptions, ExportTimeoutFromTheEnvironment)
{
    std::string warning;
    unsetenv("ZOLVAR_HOST_TIMEOUT");
    EXPECT_EQ(standin::exportTimeoutFromEnvironment(600, &warning), 600);
    EXPECT_TRUE(warning.empty());

    setenv("ZOLVAR_HOST_TIMEOUT", "45", 1);
    EXPECT_EQ(standin::exportTimeoutFromEnvironment(600, &warning), 45);
    EXPECT_TRUE(warning.empty());

    for (const char* bad : {"0", "-3", "12s", "1e3", "99999999999"}) {
        setenv("ZOLVAR_HOST_TIMEOUT", bad, 1);
        warning.clear();
        EXPECT_EQ(standin::exportTimeoutFromEnvironment(600, &warning), 600) << bad;
        EXPECT_NE(warning.find("ZOLVAR_HOST_TIMEOUT"), std::string::npos) << bad;
    }
    unsetenv("ZOLVAR_HOST_TIMEOUT");
}
