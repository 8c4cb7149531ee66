#include "journal/activation.h"

#include "state/title_line.h"
#include "storage/chart_record.h"
#include "storage/chart_update.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"
#include "storage/settings_file.h"
#include "storage/text_alignment.h"
#include "storage/year_files.h"
#include "transfer/companion_files.h"

#include <system_error>

namespace quendra::journal {

namespace fs = std::filesystem;
using storage::Cursor;
using storage::OpenMode;
using storage::YearTable;

namespace {

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::size_t countRows(const fs::path& journalPath) {
    const Cursor journal(journalPath, OpenMode::Shared);
    return journal.recordCount();
}

std::string readTitlePrefix(const fs::path& chartPath, const std::string& chartName) {
    Cursor chart(chartPath, OpenMode::Shared);
    chart.setOrder(storage::chart::kCod);
    chart.first();
    const bool hasHeader = chart.recordNumber() != 0;
    return state::titlePrefix(hasHeader ? chart.asText(storage::chart::kText) : std::string(),
                       hasHeader ? chart.asText(storage::chart::kTextH) : std::string(), chartName);
}

// Rows that cannot be read are never repaired over; restoring a backup is the way out.
void ensureSound(YearTable kind, const state::MainState& state, const std::string& fileName, const ActivationHooks& hooks) {
    try {
        storage::ensureYearTableSound(kind, state.dataDir, fileName);
    } catch (const storage::DbError& error) {
        if (error.kind() != storage::DbError::Kind::DamagedRows || !hooks.restoreDamagedYear ||
            !hooks.restoreDamagedYear(error.what())) {
            throw;
        }
        storage::ensureYearTableSound(kind, state.dataDir, fileName);
    }
}

}  // namespace

bool currentJournalExists(const state::MainState& state) {
    return !state.settings.hauptdatei.empty() && isFile(journalFile(state));
}

ActivationResult activate(EntryContext& context, const ActivationHooks& hooks) {
    state::MainState& state = context.state;
    state.versionText = state::versionTextOf(state::kMainCaption);
    transfer::refreshMissingCompanionFiles(context.services.net, state, {});
    state.addingMode = false;
    context.year.closeAll();

    std::error_code ignored;
    fs::current_path(state.dataDir, ignored);
    if (!currentJournalExists(state) && hooks.chooseYear && !hooks.chooseYear()) return ActivationResult::NoYear;
    if (!currentJournalExists(state)) return ActivationResult::NoYear;
    // A settings file that names only the journal still finds its chart.
    if (state.settings.konto.empty()) state.settings.konto = storage::chartNameOfJournal(state.settings.hauptdatei);

    ensureSound(YearTable::Journal, state, state.settings.hauptdatei, hooks);
    const std::size_t count = countRows(journalFile(state));
    state.movementCount = std::to_string(count);

    ensureSound(YearTable::Chart, state, state.settings.konto, hooks);
    storage::textabgleich(chartFile(state));
    {
        Cursor chart(chartFile(state), OpenMode::Exclusive);
        storage::kontrollekonto(chart);
    }

    state.titlePrefix = readTitlePrefix(chartFile(state), state.settings.konto);
    state.titleLine = state::movementsTitle(state.titlePrefix, count);

    context.year.openJournal(journalFile(state));
    context.year.openCharts(chartFile(state));
    while (!context.year.hasRow()) newMovement(context);
    return ActivationResult::Ready;
}

std::string noYearMessage(const state::MainState& state) {
    if (state.settings.hauptdatei.empty()) {
        return "Nessun esercizio aperto: le impostazioni non indicano un esercizio corrente.\n\n"
               "Il programma viene chiuso.";
    }
    return "Nessun esercizio aperto: il file \"" + state.settings.hauptdatei +
           "\" non si trova nella cartella dei dati.\n\nIl programma viene chiuso.";
}

void closeYear(EntryContext& context) {
    context.year.closeAll();
    storage::writeSettings(context.state.dataDir / storage::kSettingsFileName, context.state.settings);
}

}  // namespace quendra::journal
