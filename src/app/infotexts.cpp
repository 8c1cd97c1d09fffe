// The texts of the information window.
#include "app/infowindow.h"

#include "report/resultsfile.h"

namespace torrentix {
namespace {

QString version() {
    return QString::fromLatin1(programVersion.data(), static_cast<qsizetype>(programVersion.size()));
}

QString aboutPage() {
    return QStringLiteral(
        "<h3>What Torrentix does</h3>"
        "<p>Torrentix computes the Intercalibration Common Metrics (ICMs) of benthic macro-invertebrate "
        "samples "
        "and combines them into the STAR_ICMi and, for the Alpine, Eastern continental and Mediterranean "
        "groups, into the ICM index of the Geographical Intercalibration Group (GIG).</p>"
        "<p>It is meant for freshwater ecologists who take part in the intercalibration of river assessment "
        "methods under the EU Water Framework Directive.</p>"
        "<p>Choose a GIG and a river type, then open a tab-separated text file with one row per sample: "
        "code, "
        "name, quality class (6 Reference, 5 High, 4 Good, 3 Moderate, 2 Poor, 1 Bad) and three test "
        "variables, followed by the abundance of each family. Every family name is checked against the taxa "
        "database; names of genera and species are given their family by the taxon dictionary, and unknown "
        "names are offered for correction. Each metric is normalised against the reference "
        "samples of the file, the indices are computed, and the indices are regressed against every test "
        "variable with at least 6 values.</p>"
        "<p>The results are written to a file ending in <i>_OUT.txt</i> beside the sample file and are shown "
        "as a report, a class histogram, a sortable list and scatter plots.</p>");
}

QString citePage() {
    return QStringLiteral("<h3>How to cite</h3>"
                          "<p>Torrentix %1: Intercalibration Common Metrics of river macro-invertebrates. "
                          "Desktop program for Linux.</p>"
                          "<p>Please give the version number when you report results computed with "
                          "Torrentix, together with the intercalibration literature on which its metrics "
                          "and indices rest (see Bibliography).</p>")
        .arg(version());
}

QString termsPage() {
    return QStringLiteral(
        "<h3>Terms of use</h3>"
        "<p>Torrentix is free software, distributed under the MIT licence.</p>"
        "<p>Permission is hereby granted, free of charge, to any person obtaining a copy of this software "
        "and "
        "associated documentation files (the \"Software\"), to deal in the Software without restriction, "
        "including without limitation the rights to use, copy, modify, merge, publish, distribute, "
        "sublicense, and/or sell copies of the Software, and to permit persons to whom the Software is "
        "furnished to do so, subject to the following conditions: the above copyright notice and this "
        "permission notice shall be included in all copies or substantial portions of the Software.</p>"
        "<p>THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR IMPLIED, INCLUDING "
        "BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND "
        "NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, "
        "DAMAGES OR OTHER LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT "
        "OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.</p>"
        "<p>The taxon dictionary of the taxa database, which gives the family of genera and species, is "
        "derived from the invertebrate taxon dictionary of the Scottish Environment Protection Agency (R "
        "package macroinvertebrateMetrics), Copyright (c) 2017 Scottish Environment Protection Agency, "
        "distributed under the MIT licence with the permission notice and disclaimer above.</p>");
}

QString bibliographyPage() {
    return QString::fromUtf8(
        "<h3>Bibliography</h3>"
        "<p>Directive 2000/60/EC of the European Parliament and of the Council of 23 October 2000 "
        "establishing "
        "a framework for Community action in the field of water policy. Official Journal of the European "
        "Communities L 327: 1-72.</p>"
        "<p>Armitage P.D., Moss D., Wright J.F. &amp; Furse M.T. (1983). The performance of a new biological "
        "water quality score system based on macroinvertebrates over a wide range of unpolluted "
        "running-water "
        "sites. Water Research 17: 333-347.</p>"
        "<p>Alba-Tercedor J. &amp; Sánchez-Ortega A. (1988). Un método rápido y simple para evaluar la "
        "calidad biológica de las aguas corrientes basado en el de Hellawell (1978). Limnetica 4: 51-56.</p>"
        "<p>Alba-Tercedor J. et al. (2002). Caracterización del estado ecológico de ríos mediterráneos "
        "ibéricos mediante el índice IBMWP (antes BMWP'). Limnetica 21: 175-185.</p>"
        "<p>Shannon C.E. (1948). A mathematical theory of communication. Bell System Technical Journal 27: "
        "379-423, 623-656.</p>"
        "<p>Scottish Environment Protection Agency (2017). Invertebrate taxon dictionary "
        "(INVERT-TAXON-DICTIONARY.csv), in the R package macroinvertebrateMetrics. MIT licence.</p>"
        "<p>Efron B. &amp; Tibshirani R.J. (1993). An Introduction to the Bootstrap. Chapman &amp; Hall, "
        "New York.</p>"
        "<p>Hyndman R.J. &amp; Fan Y. (1996). Sample quantiles in statistical packages. The American "
        "Statistician 50: 361-365.</p>"
        "<p>Commission Decision 2008/915/EC of 30 October 2008 establishing, pursuant to Directive "
        "2000/60/EC, "
        "the values of the Member State monitoring system classifications as a result of the "
        "intercalibration "
        "exercise. Official Journal of the European Union L 332: 20-44.</p>");
}

} // namespace

QString InfoWindow::pageText(int index) {
    switch (index) {
    case 0:
        return aboutPage();
    case 1:
        return citePage();
    case 2:
        return termsPage();
    default:
        return bibliographyPage();
    }
}

QString InfoWindow::pageButtonCaption(int index) {
    static const char* const captions[pageCount] = {"What it does", "How to cite", "Terms of use",
                                                    "Bibliography"};
    return QString::fromLatin1(captions[index < 0 || index >= pageCount ? 0 : index]);
}

} // namespace torrentix
