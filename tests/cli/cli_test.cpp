#include "cli/cliargs.h"
#include "support/testsupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace torrentix;
using namespace torrentix::testing;

namespace {

cli::CliArgs parse(std::vector<std::string> args) {
    return cli::parseArgs(args);
}

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs the batch command with a shell-quoted argument string.
Outcome runCli(const TempDir& dir, const std::string& args) {
    const std::string command = std::string("'") + CLI_PATH + "' --taxa-db '" + TAXA_DB_PATH + "' " + args +
                                " >'" + dir.file("stdout") + "' 2>'" + dir.file("stderr") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir.file("stdout")),
            readFile(dir.file("stderr"))};
}

const std::string sample =
    crlfLines({"t", "CODE\tSAMPLE\tCLASS\tIdx\tPress\tAlt\tBAETIDAE\tLEUCTRIDAE\tMYSTERYIDAE",
               "1\ta\t6\t1\t\t\t1\t2\t3", "2\tb\t6\t2\t\t\t2\t2\t3", "3\tc\t6\t3\t\t\t3\t0\t3",
               "4\td\t6\t4\t\t\t1\t4\t0", "5\te\t6\t5\t\t\t5\t2\t3", "6\tf\t6\t6\t\t\t6\t1\t3",
               "7\tg\t2\t7\t\t\t9\t0\t3"});

} // namespace

TEST(CliArguments, GigsTypesAndTestVariableOptions) {
    auto a = parse({"--gig", "central / baltic", "--type", "r-c5", "--min", "2=0.5", "--observed-min", "1",
                    "--bio", "3", "--unknown", "suggest", "--force", "f.txt", "g.txt"});
    EXPECT_EQ(a.gigindex, 1);
    EXPECT_EQ(a.typeindex, 4);
    EXPECT_EQ(a.testVariables[1].minText, "0.5");
    EXPECT_TRUE(a.testVariables[0].observedMin);
    EXPECT_EQ(a.testVariables[0].minText, ""); // "Observed Min" empties "Min Value"
    EXPECT_TRUE(a.testVariables[2].biological);
    EXPECT_EQ(a.unknown, cli::UnknownTaxa::Suggest);
    EXPECT_TRUE(a.force);
    EXPECT_EQ(a.files, (std::vector<std::string>{"f.txt", "g.txt"}));
    EXPECT_EQ(parse({"--gig", "2", "--type", "R-E6", "x"}).gigindex, 2);
}

TEST(CliArguments, UsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"--type", "R-A1", "f"},                      // no GIG
        {"--gig", "Alp", "f"},                        // no type
        {"--gig", "Alp", "--type", "R-M1", "f"},      // type of another GIG
        {"--gig", "Atlantic", "--type", "R-A1", "f"}, // unknown GIG
        {"--gig", "Alp", "--type", "R-A1"},           // no file
        {"--gig", "Alp", "--type", "R-A1", "--min", "4=1", "f"},
        {"--gig", "Alp", "--type", "R-A1", "--min", "1=abc", "f"},
        {"--gig", "Alp", "--type", "R-A1", "--unknown", "maybe", "f"},
        {"--gig", "Alp", "--type", "R-A1", "--bogus", "f"},
        {"--gig"},
    };
    for (const auto& args : bad) {
        EXPECT_THROW(parse(args), Error) << args.size();
    }
    EXPECT_TRUE(parse({"--help"}).help);
}

TEST(CliRuns, UnknownNamesAbortByDefaultAndWriteNothing) {
    TempDir dir;
    writeFile(dir.file("s.txt"), sample);
    auto o = runCli(dir, "--gig Alpine --type R-A1 '" + dir.file("s.txt") + "'");
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("MYSTERYIDAE"), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("unknown taxon \"MYSTERYIDAE\""), std::string::npos) << o.err;
    EXPECT_FALSE(fileExists(dir.file("s_OUT.txt")));
    EXPECT_FALSE(fileExists(dir.file("s_adj.txt")));
    EXPECT_EQ(readFile(dir.file("s.txt")), sample);
}

TEST(CliRuns, IgnoreWritesTheCorrectedAndResultsFiles) {
    TempDir dir;
    writeFile(dir.file("s.txt"), sample);
    auto o = runCli(dir, "--gig nor --type r-n2 --unknown ignore '" + dir.file("s.txt") + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_NE(o.out.find("  REPORT:"), std::string::npos);
    EXPECT_NE(o.out.find(dir.file("s_OUT.txt")), std::string::npos);
    EXPECT_NE(o.out.find(dir.file("s_adj.txt")), std::string::npos);
    EXPECT_NE(readFile(dir.file("s_OUT.txt"))
                  .find("2 TAXA (Families). The following taxa were ignored:\r\n\r\n"
                        "MYSTERYIDAE\r\n"),
              std::string::npos);
    // Without --force an existing results file is an error, and it survives.
    const std::string before = readFile(dir.file("s_OUT.txt"));
    auto again = runCli(dir, "--gig nor --type r-n2 --unknown ignore '" + dir.file("s.txt") + "'");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("s_OUT.txt")), before);
    EXPECT_EQ(
        runCli(dir, "--force --gig nor --type r-n2 --unknown ignore '" + dir.file("s.txt") + "'").status, 0);
}

TEST(CliRuns, ExitStatusOfMixedBatchesAndUsage) {
    TempDir dir;
    writeFile(dir.file("good.txt"), sample);
    auto mixed = runCli(dir, "--gig Med --type R-M3 --unknown ignore '" + dir.file("good.txt") + "' '" +
                                 dir.file("missing.txt") + "'");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.err.find("missing.txt: File not found."), std::string::npos) << mixed.err;
    EXPECT_TRUE(fileExists(dir.file("good_OUT.txt")));
    EXPECT_EQ(runCli(dir, "--gig Med --type R-A1 x.txt").status, 2);
    auto help = runCli(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--unknown"), std::string::npos);
    auto noDb = runCli(dir, "--taxa-db '" + dir.file("none.db") + "' --gig Med --type R-M1 '" +
                                dir.file("good.txt") + "'");
    EXPECT_EQ(noDb.status, 1);
    EXPECT_NE(noDb.err.find(dir.file("none.db")), std::string::npos);
}

TEST(CliRuns, EveryExampleFileComputes) {
    const std::pair<const char*, const char*> examples[] = {{"alpine", "Alpine --type R-A1"},
                                                            {"central-baltic", "Cen --type R-C3"},
                                                            {"eastern-continental", "Eas --type R-E4"},
                                                            {"mediterranean", "Med --type R-M1"},
                                                            {"northern", "Nor --type R-N2"}};
    for (const auto& [name, choice] : examples) {
        TempDir dir;
        const std::string input = dir.file(std::string(name) + ".txt");
        writeFile(input, readFile(std::string(EXAMPLES_DIR) + "/" + name + ".txt"));
        auto o = runCli(dir, std::string("--gig ") + choice + " --bio 1 '" + input + "'");
        EXPECT_EQ(o.status, 0) << name << ": " << o.err;
        EXPECT_TRUE(o.err.empty()) << name << ": " << o.err; // no unknown taxon, no failed regression
        EXPECT_TRUE(fileExists(dir.file(std::string(name) + "_OUT.txt"))) << name;
    }
}
