// manual_screenshots DIR: the pictures of the manual, made by the program's own windows on
// a demo year under the offscreen platform, so that they follow the windows as they change.

#include "accounts/TKWN.h"
#include "journal/TEinstellungen.h"
#include "journal/TMainform.h"
#include "journal/TSuchen.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "printing/TFDrucken.h"
#include "printing/TFilterauswahl.h"
#include "storage/dbase/cursor.h"
#include "storage/demo_data.h"
#include "storage/year_files.h"
#include "transfer/TWebUpload.h"
#include "widgets/ItalianTranslation.h"
#include "years/TOeffnen.h"

#include "support/fixed_clock.h"
#include "support/recording_shell.h"
#include "support/scripted_prompt.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace quendra;
namespace fs = std::filesystem;

namespace {

QString outDir;

void save(QWidget* window, const char* name) {
    QCoreApplication::processEvents();
    if (!window->grab().save(outDir + "/" + name + ".png")) std::fprintf(stderr, "non salvato: %s\n", name);
}

// The modal window the action opens, grabbed and closed once it is up.
void grabModal(const char* name, const std::function<void()>& open) {
    QTimer::singleShot(0, [name] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal) return;
        save(modal, name);
        modal->done(QDialog::Rejected);
    });
    open();
}

void copyTemplates(const fs::path& dataDir) {
    fs::create_directories(dataDir);
    for (const char* file : {"kr000000.dbf", "kr000000.mdx", "kw000000.dbf", "kw000000.mdx"}) {
        fs::copy_file(fs::path(QUENDRA_RUNTIME_DIR) / "krw" / file, dataDir / file);
    }
}

template <class T>
T* child(QWidget* window, const char* name) {
    return window->findChild<T*>(name);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    widgets::installItalianTranslation(app);
    if (argc != 2) {
        std::fprintf(stderr, "uso: manual_screenshots CARTELLA\n");
        return 2;
    }
    // Absolute: opening a year makes its data directory the working directory.
    outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();

    test::ScriptedPrompt prompt;
    test::FixedClock clock{storage::Date::fromYmd(2026, 4, 20)};
    test::RecordingShell shell;
    platform::Services services{prompt, clock, shell};

    // The first start: only the templates.
    {
        test::TempDir home;
        state::MainState state;
        state.programDir = home.path();
        state.dataDir = home.path() / "krw";
        copyTemplates(state.dataDir);
        years::TOeffnen dialog(state, services);
        dialog.show();
        save(&dialog, "primo-avvio");
        child<QPushButton>(&dialog, "Neuesjahr")->click();
        child<QRadioButton>(&dialog, "njradioFirst")->click();
        save(&dialog, "nuovo-esercizio");
        child<QPushButton>(&dialog, "MaskEdit1Ok")->click();
        save(&dialog, "parrocchia");
    }

    // A year at work.
    test::TempDir home;
    const fs::path dataDir = home.path() / "krw";
    copyTemplates(dataDir);
    // The second names itself in tovald.INI: the year the main window opens.
    storage::makeDemoDataDirectory(dataDir, dataDir, {2025, 40, 2});
    storage::makeDemoDataDirectory(dataDir, dataDir, {2026, 60, 1});
    state::MainState state;
    state.programDir = home.path();

    journal::TMainform form(state, services);
    years::TOeffnen years(state, services, &form);
    printing::TFilterauswahl filter(services, 100, &form);
    printing::TFDrucken print(state, services, filter, &form);
    accounts::TKWN picker(state, services, &form);
    journal::TEinstellungen settings(state, services, &form);
    journal::TSuchen search(state, services, &form);
    transfer::TWebUpload upload(state, services, &form);

    journal::MainformWindows windows;
    windows.accountPicker = [&](storage::Cursor& journal, bool opening) { picker.showFor(journal, opening); };
    windows.search = [&](storage::Cursor& journal) { search.showFor(journal); };
    windows.settingsDialog = [&] { settings.exec(); };
    windows.changeYear = [&] { return years.showModal(); };
    windows.printWindow = [&] {
        print.resize(1100, 720);
        print.exec();
    };
    // The rest only need to look available.
    windows.datePicker = [](storage::Date&) { return false; };
    windows.calculator = [] { return std::optional<double>(); };
    windows.info = [] {};
    windows.restoreSavedYear = windows.deleteYear = [] { return true; };
    windows.saveYearCopy = windows.chartEditor = windows.chartImport = [] {};
    windows.balanceSummary = windows.programUpdate = windows.workbookExport = [] {};
    print.setWorkbookExport([] {});
    form.setWindows(windows);
    form.resize(1100, 720);
    form.FormActivate();
    form.show();
    save(&form, "principale");

    // The help key on the account field: the manual at its section.
    fs::copy(QUENDRA_MANUAL_SOURCE, home.path() / "manuale", fs::copy_options::recursive);
    QWidget* account = form.findChild<QWidget*>("DBEditcod");
    account->setFocus();
    QTest::keyClick(account, Qt::Key_F1);
    if (auto* help = form.findChild<QWidget*>("THilfe")) {
        save(help, "guida");
        help->close();
    }

    grabModal("scelta-conti", [&] { child<QPushButton>(&form, "ButtonConto")->click(); });
    grabModal("ricerca", [&] { child<QPushButton>(&form, "ButtonSearch")->click(); });
    grabModal("stampa", [&] { child<QPushButton>(&form, "ButtonPrint")->click(); });
    grabModal("impostazioni", [&] { settings.exec(); });
    grabModal("invio", [&] { upload.exec(); });
    // Last: leaving the year dialog this way ends the run.
    grabModal("esercizi", [&] { child<QPushButton>(&form, "ButtonChangeYear")->click(); });
    return 0;
}
