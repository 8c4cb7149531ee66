// quendra2015: the parish bookkeeping program.

#include "accounts/TKWN.h"
#include "journal/QtPrompt.h"
#include "journal/QtShell.h"
#include "journal/TCalculator.h"
#include "journal/TDatumform.h"
#include "journal/TEinstellungen.h"
#include "journal/TInfo.h"
#include "journal/TMainform.h"
#include "journal/TProgress.h"
#include "journal/TSuchen.h"
#include "journal/clock.h"
#include "journal/main_state.h"
#include "journal/services.h"
#include "storage/cursor.h"
#include "storage/year_files.h"

#include <QApplication>

using namespace quendra;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quendra parrochiale");

    journal::MainState state;
    state.programDir = storage::programDirectory();
    journal::SystemClock clock;
    journal::QtPrompt prompt;
    journal::QtShell shell;
    journal::Services services{prompt, clock, shell};

    // The windows, once each, in the order of the start. The main window reads the
    // settings that the others scale themselves by. Still to come in their places:
    // TZusammenfassung (made anew for each showing), TOeffnen, TFilterauswahl, TFDrucken,
    // Tkoanders, TKontenwahlfenster; after TSuchen: TJournalwahl; after TCalculator:
    // TExcelExport, TWebUpload.
    journal::TMainform mainform(state, services);
    journal::TEinstellungen einstellungen(state, services, &mainform);
    accounts::TKWN kwn(state, services, &mainform);
    journal::TDatumform datumform(state, services, &mainform);
    journal::TInfo info(state, services, &mainform);
    journal::TSuchen suchen(state, services, &mainform);
    journal::TCalculator calculator(state, services, &mainform);
    journal::TProgress progress(state, services, &mainform);

    journal::MainformWindows windows;
    windows.accountPicker = [&](storage::Cursor& journal, bool opening) { kwn.showFor(journal, opening); };
    windows.datePicker = [&](storage::Date& date) { return datumform.pickDate(date); };
    windows.search = [&](storage::Cursor& journal) { suchen.showFor(journal); };
    windows.calculator = [&] { return calculator.askAmount(); };
    windows.settingsDialog = [&] { einstellungen.exec(); };
    windows.info = [&] { info.exec(); };
    mainform.setWindows(std::move(windows));

    QObject::connect(&kwn, &accounts::TKWN::sideChosen, &mainform, &journal::TMainform::sideChosen);
    QObject::connect(&kwn, &accounts::TKWN::openingMarkChanged, &mainform, &journal::TMainform::openingMarkChanged);
    QObject::connect(&kwn, &accounts::TKWN::chartEditorRequested, &mainform, [&] {
        mainform.CambiamentoPianoContiClick();
        kwn.reloadLists();
    });
    QObject::connect(&mainform, &journal::TMainform::sideChanged, &kwn, &accounts::TKWN::setSide);
    QObject::connect(&suchen, &journal::TSuchen::journalMoved, &mainform, &journal::TMainform::journalMoved);

    mainform.showMaximized();
    return app.exec();
}
