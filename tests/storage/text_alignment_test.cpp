#include "storage/text_alignment.h"

#include "support/chart_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quendra::storage {
namespace {

using test::ChartRow;
using test::TempDir;

const std::string kNbsp = "\u00A0";

ChartRow row(std::string cod, std::string text, std::string texth, std::string k = "") {
    return {std::move(cod), std::move(text), std::move(texth), "", "", std::move(k), "", "", ""};
}

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class TextAlignment : public ::testing::Test {
protected:
    std::filesystem::path chart() const { return dir_ / "kw201501.dbf"; }
    std::string texthOf(const std::string& cod) const { return test::readChartByCode(chart()).at(cod).texth; }

    TempDir dir_;
};

TEST_F(TextAlignment, SubAccountsTakeTheirMainAccountsTextWithoutNonBreakingSpaces) {
    test::makeChart(chart(), {
                                 row("HA0100", "Contributo sostentamento Clero" + kNbsp + kNbsp, "x"),
                                 row(" A0101", "Quota", "vecchio testo"),
                                 row(" A0199", "Ultimo", ""),
                                 row("HA0200", "Spese per" + kNbsp + "il culto", "x"),
                                 row(" A0201", "Ostie", "Contributo sostentamento Clero"),
                                 row(" E0101", "Senza conto principale", "resta"),
                             });
    textabgleich(chart());
    EXPECT_EQ(texthOf(" A0101"), "Contributo sostentamento Clero");
    EXPECT_EQ(texthOf(" A0199"), "Contributo sostentamento Clero");
    EXPECT_EQ(texthOf(" A0201"), "Spese peril culto");
    EXPECT_EQ(texthOf(" E0101"), "resta");
    // Main accounts themselves are not touched.
    EXPECT_EQ(texthOf("HA0100"), "x");
}

TEST_F(TextAlignment, NoteAfterANonBreakingSpaceIsKept) {
    const std::string kept = "Spese per il culto" + kNbsp + "(vedi nota)";
    test::makeChart(chart(), {
                                 row("HA0200", "Spese per il culto", "Spese per il culto"),
                                 row(" A0201", "Ostie", kept),
                                 row(" A0202", "Fiori", "Spese per il culto (vecchio)"),
                             });
    textabgleich(chart());
    EXPECT_EQ(texthOf(" A0201"), kept);
    EXPECT_EQ(texthOf(" A0202"), "Spese per il culto");
}

TEST_F(TextAlignment, ClassVIsLeftAlone) {
    test::makeChart(chart(), {
                                 row("HV0100", "Conti d'ordine", "Conti d'ordine"),
                                 row(" V0101", "Depositi di terzi", "testo proprio"),
                             });
    textabgleich(chart());
    EXPECT_EQ(texthOf(" V0101"), "testo proprio");
}

TEST_F(TextAlignment, HeaderTypeRowsAndCutOffCodesChangeNothing) {
    const std::vector<ChartRow> rows = {
        row("  PFAR", "San Vito", "Valle"),  row("TA", "Uscite", "Uscite", "10"),
        row("HA", "Codice monco", "x"),      row("H", "Codice monco", "x"),
        row(" A0101", "Quota", "Clero"),     row(" E0101", "Offerte", "Offerte"),
    };
    test::makeChart(chart(), rows);
    textabgleich(chart());
    const auto byCode = test::readChartByCode(chart());
    for (const ChartRow& expected : rows) {
        EXPECT_EQ(byCode.at(expected.cod), expected);
    }
}

TEST_F(TextAlignment, SecondRunWritesNothing) {
    test::makeChart(chart(), {
                                 row("HA0100", "Clero " + kNbsp, "x"),
                                 row(" A0101", "Quota", "altro"),
                             });
    textabgleich(chart());
    EXPECT_EQ(texthOf(" A0101"), "Clero");
    const std::string before = bytesOf(chart());
    textabgleich(chart());
    EXPECT_EQ(bytesOf(chart()), before);
}

TEST_F(TextAlignment, StandardChartsAreAlreadyAligned) {
    for (const std::string language : {"it", "de"}) {
        const auto standard = dir_ / ("kw_" + language + ".dbf");
        test::loadStandardChart(language, standard);
        const std::vector<ChartRow> before = test::readChart(standard);
        ASSERT_GT(before.size(), 100u);
        textabgleich(standard);
        EXPECT_EQ(test::readChart(standard), before) << language;
    }
}

}  // namespace
}  // namespace quendra::storage
