#include "journal/activation.h"

#include "state/title_line.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/settings_file.h"
#include "support/chart_fixture.h"
#include "support/file_contents.h"
#include "support/year_fixture.h"
#include "transfer/net.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quendra::journal {
namespace {

namespace fs = std::filesystem;
using test::Movement;
using test::ymd;
using test::YearFixture;

std::vector<Movement> twoRows() {
    return {
        {1, ymd(2015, 1, 10), " A0101", " C0101", "Quota clero", 0, 120, 1, 0},
        {2, ymd(2015, 2, 3), " E0101", " C0201", "Offerte", 300, 0, 2, 0},
    };
}

void touch(const fs::path& file) { std::ofstream(file) << "x"; }

TEST(TitleLine, PrefixCountAndVersion) {
    EXPECT_EQ(state::titlePrefix("San Vigilio", "Lavis", "KW201501.dbf"), "QUENDRA: San Vigilio (Lavis) - 2015/01");
    EXPECT_EQ(state::titlePrefix("", "", "kw"), "QUENDRA:  () - /");
    EXPECT_EQ(state::movementsTitle("P", 12), "P - movimenti: 12");
    EXPECT_EQ(state::addingTitle("P", 13), "P - record: 13");
    EXPECT_EQ(state::versionTextOf(state::kMainCaption), "Vers. 4.77");
    EXPECT_EQ(state::versionTextOf("Quendra (Vers.5)"), "Vers. 5)");
}

TEST(Activation, OpensTheYearWithItsTitleLine) {
    YearFixture fixture(twoRows());
    fixture.state.titlePrefix.clear();
    fixture.state.addingMode = true;
    ASSERT_EQ(activate(fixture.context, {}), ActivationResult::Ready);

    EXPECT_EQ(fixture.state.titleLine, "QUENDRA: Parrocchia San Vigilio (Lavis) - 2015/01 - movimenti: 2");
    EXPECT_EQ(fixture.state.movementCount, "2");
    EXPECT_EQ(fixture.state.versionText, "Vers. 4.77");
    EXPECT_FALSE(fixture.state.addingMode);
    EXPECT_TRUE(fixture.prompt.shown.empty());
    EXPECT_EQ(fs::current_path(), fixture.dataDir);

    EXPECT_EQ(fixture.year.journal.currentOrder(), "NUMMER");
    EXPECT_EQ(fixture.year.journal.asInteger("Nummer"), 1);
    EXPECT_EQ(fixture.year.account.asText("TEXTH"), "Contributo sostentamento Clero");
    EXPECT_EQ(fixture.year.cashBox.asText("TEXT"), "Cassa parrocchiale");
}

TEST(Activation, EmptyJournalAsksForAMovementUntilYes) {
    YearFixture fixture;
    fixture.prompt.answers({false, false, true});
    ASSERT_EQ(activate(fixture.context, {}), ActivationResult::Ready);
    EXPECT_EQ(fixture.prompt.texts(), std::vector<std::string>(3, "vuol aggiungere un nuovo record?"));
    ASSERT_EQ(fixture.rows().size(), 1u);
    EXPECT_EQ(fixture.rows()[0].datum, ymd(2015, 6, 15));
    EXPECT_TRUE(fixture.state.addingMode);
    EXPECT_EQ(fixture.state.titleLine, fixture.state.titlePrefix + " - record: 1");
}

TEST(Activation, WithoutACurrentJournalTheYearDialogMayChooseOne) {
    YearFixture fixture(twoRows());
    fixture.state.settings.hauptdatei.clear();
    fixture.state.settings.konto.clear();
    EXPECT_EQ(activate(fixture.context, {}), ActivationResult::NoYear);
    EXPECT_EQ(noYearMessage(fixture.state),
              "Nessun esercizio aperto: le impostazioni non indicano un esercizio corrente.\n\nIl programma viene chiuso.");

    int dialogs = 0;
    ActivationHooks hooks;
    hooks.chooseYear = [&] {
        ++dialogs;
        return false;  // "&esci"
    };
    EXPECT_EQ(activate(fixture.context, hooks), ActivationResult::NoYear);
    hooks.chooseYear = [&] {
        ++dialogs;
        fixture.state.settings.hauptdatei = "KR201501.DBF";  // any case finds the file
        return true;
    };
    EXPECT_EQ(activate(fixture.context, hooks), ActivationResult::Ready);
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(fixture.state.settings.konto, "kw201501.DBF") << "the chart of the journal";
    EXPECT_EQ(fixture.state.movementCount, "2");
}

TEST(Activation, MissingJournalFileIsNamedInTheMessage) {
    YearFixture fixture(twoRows());
    fixture.state.settings.hauptdatei = "kr201502.dbf";
    EXPECT_EQ(activate(fixture.context, {}), ActivationResult::NoYear);
    EXPECT_EQ(noYearMessage(fixture.state),
              "Nessun esercizio aperto: il file \"kr201502.dbf\" non si trova nella cartella dei dati.\n\n"
              "Il programma viene chiuso.");
}

TEST(Activation, LostIndexesAreRebuilt) {
    YearFixture fixture(twoRows());
    fs::remove(fixture.dataDir / "kr201501.mdx");
    fs::remove(fixture.dataDir / "kw201501.mdx");
    ASSERT_EQ(activate(fixture.context, {}), ActivationResult::Ready);
    EXPECT_TRUE(fs::exists(fixture.dataDir / "kr201501.mdx"));
    EXPECT_TRUE(fs::exists(fixture.dataDir / "kw201501.mdx"));
    EXPECT_EQ(fixture.year.journal.recordCount(), 2u);
}

TEST(Activation, RowsThatCannotBeReadAreNotRepairedOverButMayBeRestored) {
    YearFixture fixture(twoRows());
    const std::string good = test::readFile(fixture.journalPath());
    std::string damaged = good;
    damaged[std::size_t(std::uint8_t(good[8]) | std::uint8_t(good[9]) << 8)] = '\0';  // the first row's flag
    test::writeFile(fixture.journalPath(), damaged);
    fs::remove(fixture.dataDir / "kr201501.mdx");
    EXPECT_THROW(activate(fixture.context, {}), storage::DbError) << "no way out: the damage is told";
    EXPECT_EQ(test::readFile(fixture.journalPath()), damaged);

    ActivationHooks hooks;
    std::string told;
    hooks.restoreDamagedYear = [&](const std::string& damage) {
        told = damage;
        test::writeFile(fixture.journalPath(), good);
        return true;
    };
    ASSERT_EQ(activate(fixture.context, hooks), ActivationResult::Ready);
    EXPECT_TRUE(told.starts_with("La tabella \"KR201501.DBF\" ha 1 record danneggiato (1)")) << told;
    EXPECT_EQ(fixture.year.journal.recordCount(), 2u);
}

TEST(Activation, MissingChartEndsTheProgram) {
    YearFixture fixture(twoRows());
    fs::remove(fixture.chartPath());
    try {
        activate(fixture.context, {});
        FAIL() << "no MissingYearFile";
    } catch (const storage::MissingYearFile& missing) {
        EXPECT_EQ(missing.fileName(), "kw201501.dbf");
    }
}

TEST(Activation, AlignsAndUpdatesTheChart) {
    YearFixture fixture(twoRows());
    {
        storage::Cursor chart(fixture.chartPath(), storage::OpenMode::Exclusive);
        chart.setOrder("cod");
        ASSERT_TRUE(chart.findKey(std::string(" A0102")));
        chart.edit();
        chart.setText("TEXTH", "vecchio testo");
        chart.post();
    }
    activate(fixture.context, {});
    EXPECT_EQ(test::readChartByCode(fixture.chartPath()).at(" A0102").texth, "Contributo sostentamento Clero");
}

// A central server whose download area holds no signatures; it remembers what was asked.
class RecordingNet : public transfer::Net {
public:
    transfer::NetResult ftpStore(const transfer::FtpServer&, const std::vector<transfer::FtpUpload>&,
                                 const transfer::StatusCallback&) override {
        return {};
    }
    transfer::TextResult httpGetText(const transfer::WebFile& source, const transfer::StatusCallback&) override {
        urls.push_back(source.url);
        return {"", "non trovato", 404};
    }
    transfer::NetResult download(const transfer::WebFile& source, const fs::path&, transfer::FileKind,
                                 const transfer::DownloadCheck&, const transfer::StatusCallback&) override {
        ADD_FAILURE() << "an unsigned file was downloaded: " << source.url;
        return {"no"};
    }
    std::vector<std::string> urls;
};

TEST(Activation, FetchesTheCompanionFilesWhenOneIsMissing) {
    YearFixture fixture(twoRows());
    RecordingNet net;
    fixture.services.net = &net;
    fixture.state.settings.server.webAddress = "http://127.0.0.1:9";
    fixture.state.settings.server.updateKey = "RWSfGu7OjGT3vWSwWmAM3FNL6K+byDy9wX7g389FLRDRm0O1By15S0bP";
    touch(fixture.home.path() / "pf_indicazioni.pdf");
    touch(fixture.dataDir / "KR000000.DBF");
    touch(fixture.dataDir / "kw000000.dbf");
    ASSERT_EQ(activate(fixture.context, {}), ActivationResult::Ready);
    ASSERT_EQ(net.urls.size(), 4u) << "one missing manual brings all four again, each signature first";
    EXPECT_EQ(net.urls[1], "http://127.0.0.1:9/upload/amministrazione/quendra2015.pdf.minisig");

    touch(fixture.home.path() / "quendra2015.pdf");
    activate(fixture.context, {});
    EXPECT_EQ(net.urls.size(), 4u) << "nothing is fetched when all are there";
}

TEST(Activation, ClosingWritesTheSettings) {
    YearFixture fixture(twoRows());
    activate(fixture.context, {});
    fixture.state.settings.scale = "120";
    closeYear(fixture.context);
    EXPECT_FALSE(fixture.year.journal.isOpen());
    EXPECT_FALSE(fixture.year.account.isOpen());
    const storage::Settings written = storage::readSettings(fixture.dataDir / "tovald.INI");
    EXPECT_EQ(written.scale, "120");
    EXPECT_EQ(written.hauptdatei, "kr201501.dbf");
}

}  // namespace
}  // namespace quendra::journal
