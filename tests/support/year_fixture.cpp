#include "support/year_fixture.h"

#include "storage/account_code.h"
#include "storage/chart_record.h"
#include "storage/journal_record.h"
#include "storage/settings_file.h"
#include "support/chart_fixture.h"

namespace quendra::test {

using namespace storage;
namespace kr = storage::journal;

YearFixture::YearFixture(const std::vector<Movement>& rows) {
    dataDir = home.path() / "krw";
    std::filesystem::create_directories(dataDir);
    loadStandardChart("it", chartPath());
    {
        Cursor chart(chartPath(), OpenMode::Exclusive);
        chart.setOrder(chart::kCod);
        if (chart.findKey(std::string(kParishHeaderCode))) {
            chart.edit();
            chart.setText(chart::kText, kParishName);
            chart.setText(chart::kTextH, kParishPlace);
            chart.post();
        }
    }
    makeJournal(journalPath(), rows);
    Settings settings;
    settings.hauptdatei = "kr201501.dbf";
    settings.konto = "kw201501.dbf";
    writeSettings(dataDir / kSettingsFileName, settings);

    state.programDir = home.path();
    state.dataDir = dataDir;
    state.settings = settings;
    state.titlePrefix = std::string("QUENDRA: ") + kParishName + " (" + kParishPlace + ") - 2015/01";
}

void YearFixture::openYear() {
    year.openJournal(journalPath());
    year.openCharts(chartPath());
}

std::vector<Movement> YearFixture::rows() const {
    std::vector<Movement> out;
    Cursor table(journalPath(), OpenMode::Shared);
    table.setOrder(kr::kNummer);
    for (table.first(); !table.eof(); table.next()) {
        out.push_back({int(table.asInteger(kr::kNummer)), table.asDate(kr::kDatum),
                       table.asText(kr::kCod), table.asText(kr::kCodd), table.asText(kr::kText),
                       table.asNumber(kr::kEinnahme), table.asNumber(kr::kAusgabe),
                       int(table.asInteger(kr::kEA)), int(table.asInteger(kr::kEroeffnung))});
    }
    return out;
}

}  // namespace quendra::test
