#pragma once
// Runs of a few samples built by hand for the view tests.

#include "base/text.h"
#include "run/calcola.h"

#include <array>
#include <string>
#include <vector>

namespace torrentix::testing {

struct TestSample {
    std::string code;
    std::string name;
    int sampclass = 6;
    std::array<std::string, 3> testval{"N/A", "N/A", "N/A"};
    double staricm = 0.0;
    double gigicm = 0.0;
};

// A completed run over these samples: test counts from the numeric test values, the
// default plot pair (STAR_ICMi against the first usable test variable) and its regression.
inline RunResult makeRun(const std::vector<TestSample>& samples,
                         std::array<std::string, 3> testnames = {"Var1", "Var2", "Var3"}) {
    RunResult run;
    run.table.testname = testnames;
    for (const TestSample& t : samples) {
        Sample s;
        s.code = t.code;
        s.name = fitWidth(t.name, sampleNameWidth, false);
        s.sampclass = t.sampclass;
        s.testval = t.testval;
        run.table.samples.push_back(s);
        run.indices.staricm.push_back(t.staricm);
        run.indices.gigicm.push_back(t.gigicm);
        for (std::size_t k = 0; k < 3; ++k) {
            run.table.testcount[k] += isNumeric(t.testval[k]) ? 1 : 0;
        }
    }
    run.ploty = run.indices.staricm;
    for (int k = 0; k < 3; ++k) {
        if (isUsableTestVariable(run.table, k)) {
            run.plotTestVariable = k;
            for (const Sample& s : run.table.samples) {
                run.plotx.push_back(s.testval[static_cast<std::size_t>(k)]);
            }
            run.regression = regrlin(run.plotx, run.ploty);
            break;
        }
    }
    return run;
}

inline std::string number(double value) {
    return std::to_string(value);
}

} // namespace torrentix::testing
