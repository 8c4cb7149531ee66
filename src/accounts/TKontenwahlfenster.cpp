#include "accounts/TKontenwahlfenster.h"

#include "accounts/chart_import.h"
#include "widgets/WindowScaling.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/error.h"
#include "storage/index_repair.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>
#include <vector>

namespace quendra::accounts {

namespace {

constexpr const char* kExplanation =
    "IMPORTO PIANO CONTI\n\nSi può importare il piano conti standard oppure il piano conti di un esercizio "
    "precedente.";

// The busy cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

struct TKontenwahlfenster::Impl {
    Impl(state::MainState& s, platform::Services& sv) : state(s), services(sv) {}

    state::MainState& state;
    platform::Services& services;
    std::vector<ChartChoice> choices;
    bool imported = false;
    QListWidget* list = nullptr;

    // Runs an operation with the busy cursor. A table error is told and the window
    // stays; a year file that vanished ends the program, as everywhere.
    bool guarded(QDialog& dialog, const std::function<void()>& operation) {
        try {
            const BusyCursor busy;
            operation();
            return true;
        } catch (const storage::MissingYearFile& missing) {
            services.prompt.message(platform::PromptKind::Error,
                                    storage::missingYearFileMessage(missing.fileName(), state.settings.server));
            services.shell.quit();
            dialog.done(QDialog::Rejected);
        } catch (const storage::DbError& error) {
            services.prompt.message(platform::PromptKind::Error, error.what());
        }
        return false;
    }
};

TKontenwahlfenster::TKontenwahlfenster(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), impl_(std::make_unique<Impl>(state, services)) {
    setObjectName("TKontenwahlfenster");
    setWindowTitle("Auswahl der Kontenpläne");

    auto* explanation = new QLabel(kExplanation, this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);
    impl_->list = new QListWidget(this);
    impl_->list->setObjectName("ListBox1");
    impl_->list->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Button1");
    ok->setDefault(true);
    auto* annulla = new QPushButton("annulla", this);
    annulla->setObjectName("Button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(annulla);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(impl_->list, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TKontenwahlfenster::Button1Click);
    connect(annulla, &QPushButton::clicked, this, &TKontenwahlfenster::Button2Click);

    resize(560, 340);
    widgets::scaleWindow(this, state.settings.scalePercent());
}

TKontenwahlfenster::~TKontenwahlfenster() = default;

bool TKontenwahlfenster::showImport() {
    impl_->imported = false;
    FormActivate();
    exec();
    return impl_->imported;
}

void TKontenwahlfenster::FormActivate() {
    impl_->list->clear();
    impl_->choices.clear();
    ChartChoices listed;
    if (!impl_->guarded(*this, [&] { listed = listCharts(impl_->state.dataDir, impl_->state.settings.hauptdatei); })) {
        return;
    }
    impl_->choices = std::move(listed.choices);
    for (const ChartChoice& choice : impl_->choices) impl_->list->addItem(QString::fromStdString(choice.line));
    if (!impl_->choices.empty()) impl_->list->setCurrentRow(0);
    impl_->list->setFocus();
    if (!listed.unreadable.empty()) {
        impl_->services.prompt.message(platform::PromptKind::Warning, unreadableChartsMessage(listed.unreadable));
    }
}

void TKontenwahlfenster::Button1Click() {
    const int row = impl_->list->currentRow();
    if (row < 0 || std::size_t(row) >= impl_->choices.size()) return;
    const std::string yearNumber = impl_->choices[std::size_t(row)].yearNumber;
    // From here on the current chart may change, whatever happens.
    impl_->imported = true;
    if (impl_->guarded(*this, [&] { importChart(impl_->state.dataDir, impl_->state.settings.hauptdatei, yearNumber); })) {
        accept();
    }
}

void TKontenwahlfenster::Button2Click() { reject(); }

}  // namespace quendra::accounts
