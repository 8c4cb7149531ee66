#include "bankimport/TKontoauszug.h"

#include "bankimport/csv_columns.h"
#include "bankimport/posting.h"
#include "bankimport/proposal_line.h"
#include "bankimport/statement_file.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/account_code.h"
#include "storage/amount_format.h"
#include "storage/dbase/cursor.h"
#include "storage/dbase/table_ops.h"
#include "storage/year_files.h"
#include "widgets/QtHelpers.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace quendra::bankimport {

using widgets::qs;

namespace {

std::string str(const QString& text) { return text.toStdString(); }

enum Column { Tick, Date, Side, Amount, Code, State, Text, ColumnCount };

// The roles of the column choice, in the order shown.
struct Role {
    const char* label;
    int CsvColumns::*member;
};
constexpr Role kRoles[] = {{"data", &CsvColumns::date},       {"data valuta", &CsvColumns::valueDate},
                           {"importo (con segno)", &CsvColumns::amount}, {"entrate", &CsvColumns::income},
                           {"uscite", &CsvColumns::expense}};

}  // namespace

struct TKontoauszug::Impl {
    Impl(state::MainState& s, platform::Services& p, AccountPicker a)
        : state(s), services(p), picker(std::move(a)) {}
    state::MainState& state;
    platform::Services& services;
    AccountPicker picker;
    QLineEdit* file = nullptr;
    QComboBox* cashBox = nullptr;
    QGroupBox* columnBox = nullptr;
    QSpinBox* headingRows = nullptr;
    std::vector<QComboBox*> roleCombos;
    QComboBox* textCombo = nullptr;
    QTableWidget* grid = nullptr;
    QPlainTextEdit* errors = nullptr;
    QPushButton* importa = nullptr;
    StatementFile statement;
    std::vector<Proposal> proposals;
    bool posted = false;

    ImportTarget target() const {
        return {state.dataDir, storage::yearNumberOf(state.settings.hauptdatei).value_or(""),
                str(cashBox->currentData().toString())};
    }
};

TKontoauszug::TKontoauszug(state::MainState& state, platform::Services& services, AccountPicker picker,
                           QWidget* parent)
    : QDialog(parent), impl_(std::make_unique<Impl>(state, services, std::move(picker))) {
    Impl& m = *impl_;
    setObjectName("Kontoauszug");
    setWindowTitle("Importa estratto conto");
    auto* layout = new QVBoxLayout(this);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(widgets::label("LabelFile", "file:", this));
    m.file = new QLineEdit(this);
    m.file->setObjectName("EditFile");
    m.file->setReadOnly(true);
    fileRow->addWidget(m.file, 1);
    QPushButton* choose = widgets::button("ButtonFile", "scegli file...", this);
    fileRow->addWidget(choose);
    fileRow->addWidget(widgets::label("LabelCassa", "banca:", this));
    m.cashBox = new QComboBox(this);
    m.cashBox->setObjectName("ComboCassa");
    fileRow->addWidget(m.cashBox);
    layout->addLayout(fileRow);

    m.columnBox = new QGroupBox("colonne del file CSV", this);
    m.columnBox->setObjectName("GroupColonne");
    auto* columns = new QFormLayout(m.columnBox);
    m.headingRows = new QSpinBox(m.columnBox);
    m.headingRows->setObjectName("SpinIntestazione");
    m.headingRows->setRange(0, 40);
    columns->addRow("righe prima dei movimenti:", m.headingRows);
    for (const Role& role : kRoles) {
        auto* combo = new QComboBox(m.columnBox);
        combo->setObjectName(QString("ComboColonna_") + role.label);
        columns->addRow(QString(role.label) + ":", combo);
        m.roleCombos.push_back(combo);
    }
    m.textCombo = new QComboBox(m.columnBox);
    m.textCombo->setObjectName("ComboColonna_causale");
    columns->addRow("causale:", m.textCombo);
    QPushButton* apply = widgets::button("ButtonColonne", "usa queste colonne", m.columnBox);
    columns->addRow(apply);
    m.columnBox->hide();
    layout->addWidget(m.columnBox);

    m.grid = new QTableWidget(0, ColumnCount, this);
    m.grid->setObjectName("GridProposte");
    m.grid->setHorizontalHeaderLabels({"", "data", "lato", "importo", "conto", "stato", "causale"});
    m.grid->verticalHeader()->hide();
    m.grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m.grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m.grid->horizontalHeader()->setStretchLastSection(true);
    m.grid->setToolTip("doppio clic sul conto per sceglierne un altro");
    layout->addWidget(m.grid, 1);

    m.errors = new QPlainTextEdit(this);
    m.errors->setObjectName("MemoErrori");
    m.errors->setReadOnly(true);
    m.errors->setMaximumHeight(fontMetrics().height() * 6);
    m.errors->hide();
    layout->addWidget(m.errors);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m.importa = widgets::button("ButtonImporta", "importa", this);
    QPushButton* close = widgets::button("ButtonChiudi", "chiudi", this);
    buttons->addWidget(m.importa);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(fontMetrics().averageCharWidth() * 130, fontMetrics().height() * 30);

    connect(choose, &QPushButton::clicked, this, &TKontoauszug::ButtonFileClick);
    connect(apply, &QPushButton::clicked, this, &TKontoauszug::ButtonColonneClick);
    connect(m.grid, &QTableWidget::cellDoubleClicked, this, &TKontoauszug::GridProposteDoubleClick);
    connect(m.importa, &QPushButton::clicked, this, &TKontoauszug::ButtonImportaClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

TKontoauszug::~TKontoauszug() = default;

bool TKontoauszug::showImport() {
    Impl& m = *impl_;
    m.posted = false;
    m.cashBox->blockSignals(true);
    m.cashBox->clear();
    try {
        for (const CashBox& box : cashBoxesOfChart(m.target().chart())) {
            m.cashBox->addItem(qs(std::string(storage::typedFromStored(box.code)) + " - " + box.text), qs(box.code));
        }
    } catch (const std::exception& e) {
        m.services.prompt.message(platform::PromptKind::Error, e.what());
        return false;
    }
    // A bank account (C02) rather than the cash box is what a statement belongs to.
    const int bank = m.cashBox->findData(qs(storage::kDefaultCashBox));
    if (bank >= 0) m.cashBox->setCurrentIndex(bank);
    m.cashBox->blockSignals(false);
    connect(m.cashBox, &QComboBox::currentIndexChanged, this, &TKontoauszug::ComboCassaChange, Qt::UniqueConnection);
    m.proposals.clear();
    showProposals();
    exec();
    return m.posted;
}

void TKontoauszug::ButtonFileClick() {
    const QString file = QFileDialog::getOpenFileName(this, "estratto conto", QString(),
                                                      "Estratti conto (*.xml *.csv *.txt);;Tutti i file (*)");
    if (!file.isEmpty()) openFile(file);
}

void TKontoauszug::openFile(const QString& file) {
    impl_->file->setText(file);
    load();
}

void TKontoauszug::ComboCassaChange() {
    if (!impl_->file->text().isEmpty()) load();
}

void TKontoauszug::load() {
    Impl& m = *impl_;
    const ImportTarget target = m.target();
    try {
        m.statement = readStatementFile(std::filesystem::path(str(m.file->text())), target.year(),
                                        rememberedColumns(m.state.settings, target.cashBox));
        m.proposals = propose(m.statement.statement, target);
    } catch (const std::exception& e) {
        m.proposals.clear();
        m.services.prompt.message(platform::PromptKind::Error, e.what());
    }
    showColumnChoice();
    showProposals();
}

void TKontoauszug::showColumnChoice() {
    Impl& m = *impl_;
    const bool csv = m.statement.kind == StatementKind::Csv;
    m.columnBox->setVisible(csv);
    if (!csv) return;
    const CsvColumns current = m.statement.columns.value_or(CsvColumns{});
    QStringList labels{"—"};
    for (const std::string& label : columnLabels(m.statement.table)) labels << qs(label);
    auto fill = [&](QComboBox* combo, int column) {
        combo->clear();
        combo->addItems(labels);
        combo->setCurrentIndex(column + 1);
    };
    for (std::size_t i = 0; i < std::size(kRoles); ++i) fill(m.roleCombos[i], current.*kRoles[i].member);
    fill(m.textCombo, current.text.empty() ? -1 : current.text.front());
    m.headingRows->setValue(current.headingRows);
}

void TKontoauszug::ButtonColonneClick() {
    Impl& m = *impl_;
    CsvColumns columns;
    columns.headingRows = m.headingRows->value();
    for (std::size_t i = 0; i < std::size(kRoles); ++i) columns.*kRoles[i].member = m.roleCombos[i]->currentIndex() - 1;
    if (m.textCombo->currentIndex() > 0) columns.text = {m.textCombo->currentIndex() - 1};
    if (!columns.complete()) {
        m.services.prompt.message(platform::PromptKind::Warning,
                                  "Scelga almeno la data, la causale e l'importo (o entrate e uscite).");
        return;
    }
    const ImportTarget target = m.target();
    try {
        rememberColumns(m.state.settings, target.cashBox, columns);
        storage::writeSettings(m.state.dataDir / storage::kSettingsFileName, m.state.settings);
        useColumns(m.statement, columns, target.year());
        m.proposals = propose(m.statement.statement, target);
    } catch (const std::exception& e) {
        m.services.prompt.message(platform::PromptKind::Error, e.what());
    }
    showProposals();
}

void TKontoauszug::showProposals() {
    Impl& m = *impl_;
    m.grid->setRowCount(int(m.proposals.size()));
    for (int row = 0; row < int(m.proposals.size()); ++row) {
        const Proposal& p = m.proposals[std::size_t(row)];
        auto* tick = new QTableWidgetItem;
        tick->setFlags(p.state == ProposalState::Imported ? Qt::ItemIsSelectable
                                                          : Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        tick->setCheckState(p.ticked ? Qt::Checked : Qt::Unchecked);
        m.grid->setItem(row, Tick, tick);
        const bool income = p.side == storage::journal::Side::Entrata;
        const std::string code = p.cod.empty() ? "" : std::string(storage::typedFromStored(p.cod));
        const std::string texts[] = {p.entry.booking.toDisplay(), income ? "entrata" : "uscita",
                                     storage::formatNumber(p.entry.amount, storage::Picture::Amount), code,
                                     std::string(stateName(p.state)), p.text};
        for (int column = Date; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(qs(texts[column - Date]));
            if (column == Amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m.grid->setItem(row, column, item);
        }
    }
    m.grid->resizeColumnsToContents();
    std::string errors;
    for (const StatementError& error : m.statement.statement.errors) errors += errorLine(error) + "\n";
    m.errors->setPlainText(qs(errors));
    m.errors->setVisible(!errors.empty());
    m.importa->setEnabled(!m.proposals.empty());
}

void TKontoauszug::readTicks() {
    Impl& m = *impl_;
    for (int row = 0; row < m.grid->rowCount() && std::size_t(row) < m.proposals.size(); ++row) {
        m.proposals[std::size_t(row)].ticked = m.grid->item(row, Tick)->checkState() == Qt::Checked;
    }
}

void TKontoauszug::GridProposteDoubleClick(int row, int column) {
    Impl& m = *impl_;
    if (column != Code || row < 0 || std::size_t(row) >= m.proposals.size() || !m.picker) return;
    readTicks();
    Proposal& proposal = m.proposals[std::size_t(row)];
    if (proposal.state == ProposalState::Imported) return;
    // The picker works on a journal row: a scratch row of the journal's structure.
    QTemporaryDir scratch;
    try {
        const std::filesystem::path table = std::filesystem::path(str(scratch.path())) / "scelta.dbf";
        storage::createTable(table, storage::journal::fields());
        storage::Cursor cursor(table, storage::OpenMode::Shared);
        cursor.append();
        cursor.setText(storage::journal::kCod, proposal.cod);
        cursor.setText(storage::journal::kCodd, m.target().cashBox);
        cursor.post();
        m.picker(cursor, false);
        proposal.cod = cursor.asText(storage::journal::kCod);
    } catch (const std::exception& e) {
        m.services.prompt.message(platform::PromptKind::Error, e.what());
        return;
    }
    if (proposal.state == ProposalState::New) proposal.ticked = true;
    showProposals();
}

void TKontoauszug::ButtonImportaClick() {
    Impl& m = *impl_;
    readTicks();
    const std::size_t errors = m.statement.statement.errors.size();
    if (errors > 0 &&
        !m.services.prompt.ask(platform::PromptKind::Warning,
                               "Il file ha " + std::to_string(errors) +
                                   " righe con errori, che non saranno importate. Importare gli altri movimenti?")) {
        return;
    }
    try {
        const std::vector<PostedMovement> posted = postProposals(m.proposals, m.target());
        if (posted.empty()) {
            m.services.prompt.message(platform::PromptKind::Information, "Nessun movimento scelto.");
            return;
        }
        m.posted = true;
        m.services.prompt.message(platform::PromptKind::Information,
                                  "Importati " + std::to_string(posted.size()) + " movimenti, numeri da " +
                                      std::to_string(posted.front().number) + " a " +
                                      std::to_string(posted.back().number) + ".");
    } catch (const std::exception& e) {
        m.services.prompt.message(platform::PromptKind::Error, e.what());
    }
    load();
}

}  // namespace quendra::bankimport
