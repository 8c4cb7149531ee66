// quendra2015: the parish bookkeeping program.

#include "accounts/TKWN.h"
#include "bankimport/TKontoauszug.h"
#include "export/TExcelExport.h"
#include "accounts/TKontenwahlfenster.h"
#include "accounts/Tkoanders.h"
#include "platform/QtPrompt.h"
#include "platform/QtShell.h"
#include "journal/TCalculator.h"
#include "journal/TDatumform.h"
#include "journal/TEinstellungen.h"
#include "journal/TInfo.h"
#include "journal/TMainform.h"
#include "journal/TSuchen.h"
#include "platform/clock.h"
#include "state/main_state.h"
#include "state/single_instance.h"
#include "platform/services.h"
#include "printing/TFDrucken.h"
#include "printing/TFilterauswahl.h"
#include "printing/TJournalwahl.h"
#include "storage/dbase/cursor.h"
#include "budget/TPreventivo.h"
#include "statements/TZusammenfassung.h"
#include "storage/program_home.h"
#include "storage/year_files.h"
#include "transfer/TWebUpload.h"
#include "transfer/curl_net.h"
#include "widgets/ItalianTranslation.h"
#include "years/TOeffnen.h"
#include "years/backup_restore.h"

#include <QApplication>
#include <QIcon>
#include <QSignalBlocker>

#include <clocale>

using namespace quendra;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // QApplication adopts the desktop's locale for the C library too; under it_IT a
    // library that prints numbers with printf would write decimal commas into files.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Quendra parrochiale");
    widgets::installItalianTranslation(app);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName("it.velmora.quendra");
    QApplication::setWindowIcon(QIcon::fromTheme("quendra"));

    platform::SystemClock clock;
    platform::QtPrompt prompt;
    const storage::ProgramHome home = storage::currentProgramHome();
    try {
        storage::provideProgramHome(home);
    } catch (const storage::ProgramHomeError& error) {
        prompt.message(platform::PromptKind::Error, error.what());
        return 1;
    }
    state::MainState state;
    state.programDir = home.programDir;
    state.programFile = storage::executableFile();
    state.readOnlyInstallation = !home.installWritable;
    platform::QtShell shell;
    transfer::CurlNet net;
    platform::Services services{prompt, clock, shell, &net};

    const std::filesystem::path dataDir = storage::dataDirectory(state.programDir);
    const bool restarted = QCoreApplication::arguments().contains(
        QString::fromUtf8(platform::kRestartArgument.data(), qsizetype(platform::kRestartArgument.size())));
    const auto instance =
        state::claimDataDirectory(dataDir, prompt, restarted ? state::kRestartPatience : std::chrono::milliseconds{});
    if (!instance) return 1;

    // The windows, once each, in the order of the start (the balance summary is made
    // anew for each showing; the progress window belongs to TWebUpload).
    journal::TMainform mainform(state, services);
    years::TOeffnen oeffnen(state, services, &mainform);
    printing::TFilterauswahl filterauswahl(services, state.settings.scalePercent(), &mainform);
    printing::TFDrucken drucken(state, services, filterauswahl, &mainform);
    accounts::Tkoanders koanders(state, services, &mainform);
    accounts::TKontenwahlfenster kontenwahl(state, services, &mainform);
    journal::TEinstellungen einstellungen(state, services, &mainform);
    accounts::TKWN kwn(state, services, &mainform);
    journal::TDatumform datumform(state, services, &mainform);
    journal::TInfo info(state, services, &mainform);
    journal::TSuchen suchen(state, services, &mainform);
    printing::TJournalwahl journalwahl(state.settings.scalePercent(), &mainform);
    journal::TCalculator calculator(state, services, &mainform);
    spreadsheet::TExcelExport excelExport(state, services, &mainform);
    transfer::TWebUpload webUpload(state, services, &mainform);
    // The picker chooses for a proposal there, not for the main window's row: its side,
    // opening-mark and chart-editor signals must not reach the main window meanwhile.
    bankimport::TKontoauszug kontoauszug(
        state, services,
        [&](storage::Cursor& row, bool opening) {
            const QSignalBlocker quiet(kwn);
            kwn.showFor(row, opening);
        },
        &mainform);
    budget::TPreventivo preventivo(state, services, &mainform);

    oeffnen.setHooks({[&] { return webUpload.upcontrolClick("nein"); }, [&] { mainform.closeYearTables(); }, {}, {}});

    journal::MainformWindows windows;
    windows.accountPicker = [&](storage::Cursor& journal, bool opening) { kwn.showFor(journal, opening); };
    windows.datePicker = [&](storage::Date& date) { return datumform.pickDate(date); };
    windows.search = [&](storage::Cursor& journal) { suchen.showFor(journal); };
    windows.calculator = [&] { return calculator.askAmount(); };
    windows.settingsDialog = [&] { einstellungen.exec(); };
    windows.info = [&] { info.exec(); };
    windows.changeYear = [&] { return oeffnen.showModal(); };
    windows.restoreSavedYear = [&] { return oeffnen.showModal(); };
    windows.restoreDamagedYear = [&](const std::string& damage) {
        const auto year = storage::yearNumberOf(state.settings.hauptdatei);
        return year && years::offerBackupRestore(dataDir, *year, damage, services.prompt);
    };
    windows.deleteYear = [&] { return oeffnen.showModal(); };
    windows.saveYearCopy = [&] { oeffnen.Button6Click(); };
    windows.chartEditor = [&] { koanders.showEditor(); };
    windows.chartImport = [&] { kontenwahl.showImport(); };
    windows.balanceSummary = [&] { statements::TZusammenfassung::showSummary(state, services, &mainform); };
    windows.programUpdate = [&] { webUpload.upcontrolClick("ja"); };
    windows.statementImport = [&] { return kontoauszug.showImport(); };
    windows.budget = [&] { preventivo.showBudget(); };
    windows.printWindow = [&] { drucken.showMaximized(); drucken.exec(); };
    drucken.setJournalwahl(journalwahl);
    drucken.setUpdateCheck([&] { return webUpload.upcontrolClick("nein"); });
    drucken.setTransmission([&] { webUpload.exec(); });
    drucken.setWorkbookExport([&] { excelExport.exec(); });
    windows.workbookExport = [&] { excelExport.exec(); };
    mainform.setWindows(std::move(windows));

    QObject::connect(&kwn, &accounts::TKWN::sideChosen, &mainform, &journal::TMainform::sideChosen);
    QObject::connect(&kwn, &accounts::TKWN::openingMarkChanged, &mainform, &journal::TMainform::openingMarkChanged);
    QObject::connect(&kwn, &accounts::TKWN::chartEditorRequested, &mainform,
                     [&] { mainform.CambiamentoPianoContiClick(); });
    QObject::connect(&mainform, &journal::TMainform::sideChanged, &kwn, &accounts::TKWN::setSide);
    QObject::connect(&suchen, &journal::TSuchen::journalMoved, &mainform, &journal::TMainform::journalMoved);

    mainform.showMaximized();
    return app.exec();
}
