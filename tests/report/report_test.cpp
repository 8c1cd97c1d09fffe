#include "report/formulaguard.h"
#include "report/reporttext.h"
#include "report/resultsfile.h"
#include "report/tidytable.h"

#include "support/testsupport.h"

using namespace torrentix;
using torrentix::testing::Mentions;

namespace {

ReportInput sitesReport() {
    ReportInput in;
    in.sourcePath = "/data/rivers/sites.txt";
    in.nsamp = 40;
    in.nfam = 55;
    in.testVariableNames = {"Altitude", "Pressure", "Idx"};
    in.numericTestValueCounts = {12, 11, 40};
    in.classcount = {10, 8, 6, 6, 5, 0, 5};
    in.gigCaption = "Alpine";
    in.riverTypeCaption = "R-A1 (small to medium high altitude calcareous)";
    in.minValueTexts = {"100", "0", ""};
    in.biological = {true, false, false};
    return in;
}

} // namespace

// The lines of the report; no selection and no sample still give one.
TEST(ScreenReport, LinesOfTheReport) {
    EXPECT_EQ(reportText(sitesReport()),
              "  REPORT:\r\n\r\n"
              "  file location: /data/rivers/\r\n"
              "  filename: sites.txt\r\n\r\n"
              "  GIG: Alpine\r\n"
              "  River Type: R-A1 (small to medium high altitude calcareous)\r\n\r\n"
              "  40 samples - 55 Taxa (Families)\r\n"
              "     10 Reference (25.00%)\r\n"
              "     8 High (20.00%)\r\n"
              "     6 Good (15.00%)\r\n"
              "     6 Moderate (15.00%)\r\n"
              "     5 Poor (12.50%)\r\n"
              "     0 Bad (0.00%)\r\n"
              "     5 Not Classified (12.50%)\r\n\r\n"
              "  Test variables:\r\n"
              "  Altitude (min value=100, bio).\r\n"
              "  Var2 absent or values<12\r\n"
              "  Idx (min value=).");
    ReportInput in;
    in.sourcePath = "sites.txt";
    EXPECT_THAT(reportText(in), Mentions("  file location: \r\n  filename: sites.txt\r\n",
                                         "  GIG: \r\n  River Type: \r\n", "     0 Reference (0.00%)"));
}

TEST(ResultsFile, NormalisationLinesUseThe32BitForm) {
    EXPECT_EQ(normalisationLine("ASPT", 2.0f, 0.95f), "ASPT\t2\t0.95\r\n");
    EXPECT_EQ(normalisationLine("Degradations Index", -7.0f, 1.0f / 3.0f),
              "Degradations Index\t-7\t0.3333333\r\n");
}

// A text a spreadsheet would evaluate gets its apostrophe; a number, negative or not, and
// any other text stay as they are.
TEST(TablesForOtherPrograms, FormulasAreGuardedAndNumbersKept) {
    for (const char* formula :
         {"=1+1", "=HYPERLINK(\"http://x\";\"click\")", "+A1", "-A1", "-", "@SUM(A1)", "\tx", "\r=1"}) {
        EXPECT_EQ(guardFormula(formula), "'" + std::string(formula)) << formula;
    }
    for (const char* kept : {"-0.5", "+3", "-1e-05", "", "a=b", " =1", "'=1"}) {
        EXPECT_EQ(guardFormula(kept), kept) << kept;
    }
    // Cells of the table: guarded, then quoted where a TAB, a quote or a "#" would cut them.
    EXPECT_EQ(textCell("=1+1", true), "'=1+1");
    EXPECT_EQ(textCell("\t=1", true), "\"'\t=1\"");
    EXPECT_EQ(textCell("Site #3", true), "\"Site #3\"");
    EXPECT_EQ(textCell("@Ca\xF1o", false), "'@Ca\xC3\xB1o");
}

// The test variables' columns are identifiers, unique whatever their case, and clash with
// no other column of any GIG's table.
TEST(TablesForOtherPrograms, TestVariableColumnsAreUniqueIdentifiers) {
    SampleTable t;
    t.utf8 = true;
    t.testVariableNames = {"URBAN_%", "Temp\xC3\xA9rature \xC3\x86", "2nd (m)"};
    EXPECT_EQ(testVariableColumns(t), (std::array<std::string, 3>{"URBAN", "Temperature_A", "TV3_2nd_m"}));
    t.testVariableNames = {"pH", "PH", "%"};
    EXPECT_EQ(testVariableColumns(t), (std::array<std::string, 3>{"pH", "PH_2", "TV3"}));
    t.testVariableNames = {"aspt", "STAR_ICMi", "IASPT"}; // ASPT_norm, STAR_ICMi, GIG_IASPT_norm are taken
    EXPECT_EQ(testVariableColumns(t), (std::array<std::string, 3>{"aspt_2", "STAR_ICMi_2", "IASPT"}));
    t.utf8 = false;
    t.testVariableNames = {"H\xF6he", "", "EQR"};
    EXPECT_EQ(testVariableColumns(t), (std::array<std::string, 3>{"Hohe", "TV2", "EQR"}));
}
