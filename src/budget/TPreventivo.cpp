#include "budget/TPreventivo.h"

#include "budget/budget_figures.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/amount_format.h"
#include "storage/dbase/error.h"
#include "storage/year_files.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quendra::budget {

namespace {

enum Column { Code, Text, LastYear, Actual, PlannedColumn, ColumnCount };

// Row data: the account line the row shows, or none on headings.
constexpr int kLineRole = Qt::UserRole;

QString amountText(double value) { return QString::fromStdString(storage::formatNumber(value, storage::Picture::Amount)); }

QTableWidgetItem* cell(const QString& text, bool bold, bool number) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (bold) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

std::string codeShown(const std::string& code) { return std::string(code.size() > 1 ? code.substr(1) : code); }

}  // namespace

TPreventivo::TPreventivo(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), state_(state), services_(services), overview_(std::make_unique<Overview>()) {
    setObjectName("TPreventivo");
    auto* layout = new QVBoxLayout(this);
    grid_ = new QTableWidget(0, ColumnCount, this);
    grid_->setObjectName("GridPreventivo");
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->horizontalHeader()->setSectionResizeMode(Text, QHeaderView::Stretch);
    const QFontMetrics metrics = grid_->fontMetrics();
    grid_->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    grid_->setColumnWidth(Code, metrics.horizontalAdvance("A0000") + 24);
    for (const int column : {LastYear, Actual, PlannedColumn}) {
        grid_->setColumnWidth(column, metrics.horizontalAdvance("consuntivo 0000") + 24);
    }
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    layout->addWidget(grid_, 1);
    connect(grid_, &QTableWidget::itemChanged, this, &TPreventivo::plannedTyped);

    auto* totals = new QHBoxLayout;
    for (const char* name : {"LabelEntrate", "LabelUscite", "LabelSaldo"}) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        totals->addWidget(label, 1);
        totals_.push_back(label);
    }
    layout->addLayout(totals);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel("aumento %", this));
    percent_ = new QLineEdit("0", this);
    percent_->setObjectName("EditPercentuale");
    percent_->setMaximumWidth(80);
    buttons->addWidget(percent_);
    auto* propose = new QPushButton("Proponi dal consuntivo", this);
    propose->setObjectName("ButtonProponi");
    propose->setAutoDefault(false);
    connect(propose, &QPushButton::clicked, this, &TPreventivo::ProponiClick);
    buttons->addWidget(propose);
    buttons->addStretch(1);
    auto* close = new QPushButton("&esci", this);
    close->setObjectName("ButtonEsci");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(900, 640);
}

TPreventivo::~TPreventivo() = default;

void TPreventivo::showBudget() {
    FormActivate();
    exec();
}

void TPreventivo::FormActivate() {
    const std::string number = storage::yearNumberOf(state_.settings.hauptdatei).value_or("");
    setWindowTitle(QString::fromStdString("Preventivo " + number.substr(0, 4)));
    try {
        OverviewSources sources{state_.chartPath(), state_.journalPath(), budgetPathOf(state_.journalPath()), {}};
        if (!number.empty()) sources.lastYearJournal = previousYearJournal(state_.dataDir, number);
        *overview_ = makeOverview(sources);
    } catch (const std::exception& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
        *overview_ = Overview{};
    }
    const QString year = QString::fromStdString(number.substr(0, 4));
    const QString before = year.isEmpty() ? QString() : QString::number(year.toInt() - 1);
    grid_->setHorizontalHeaderLabels({"codice", "conto",
                                      overview_->hasLastYear ? "consuntivo " + before : "(manca l'anno precedente)",
                                      "consuntivo " + year, "preventivo " + year});
    fill();
}

void TPreventivo::fill() {
    filling_ = true;
    grid_->setRowCount(0);
    const auto addRow = [this](const std::string& code, const std::string& text, bool bold) {
        const int row = grid_->rowCount();
        grid_->insertRow(row);
        grid_->setItem(row, Code, cell(QString::fromStdString(code), bold, false));
        grid_->setItem(row, Text, cell(QString::fromStdString(text), bold, false));
        for (const int column : {LastYear, Actual, PlannedColumn}) grid_->setItem(row, column, cell({}, bold, true));
        return row;
    };
    int lineNumber = 0;
    for (const SideLines* side : {&overview_->income, &overview_->expense}) {
        addRow("", side->classLetter == 'E' ? "ENTRATE" : "USCITE", true);
        for (const GroupLines& group : side->groups) {
            const int heading = addRow(codeShown(group.prefix), group.text, true);
            grid_->item(heading, Code)->setData(kLineRole, -1 - lineNumber);
            for (const AccountLine& line : group.accounts) {
                const int row = addRow(codeShown(line.code), line.text, false);
                grid_->item(row, Code)->setData(kLineRole, lineNumber++);
                grid_->item(row, PlannedColumn)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            }
        }
    }
    filling_ = false;
    showSums();
    moveToNextAmount(-1);
}

// Every figure from the overview: typed amounts change the sums of their heading too.
void TPreventivo::showSums() {
    filling_ = true;
    std::vector<const AccountLine*> lines;
    std::vector<const GroupLines*> groups;
    for (const SideLines* side : {&overview_->income, &overview_->expense}) {
        for (const GroupLines& group : side->groups) {
            groups.push_back(&group);
            for (const AccountLine& line : group.accounts) lines.push_back(&line);
        }
    }
    std::size_t groupIndex = 0;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const QVariant data = grid_->item(row, Code)->data(kLineRole);
        if (!data.isValid()) continue;
        const int index = data.toInt();
        double last = 0, actual = 0, planned = 0;
        if (index >= 0) {
            const AccountLine& line = *lines[std::size_t(index)];
            last = line.lastYear.value_or(0), actual = line.actual, planned = line.planned;
        } else {
            const GroupLines& group = *groups[groupIndex++];
            last = group.lastYear, actual = group.actual, planned = group.planned;
        }
        if (overview_->hasLastYear) grid_->item(row, LastYear)->setText(amountText(last));
        grid_->item(row, Actual)->setText(amountText(actual));
        grid_->item(row, PlannedColumn)->setText(amountText(planned));
    }
    const Overview& o = *overview_;
    const std::pair<double, double> figures[] = {
        {o.income.planned, o.income.actual}, {o.expense.planned, o.expense.actual}, {o.plannedSaldo(), o.actualSaldo()}};
    const char* captions[] = {"ENTRATE previste ", "USCITE previste ", "SALDO previsto "};
    for (std::size_t i = 0; i < totals_.size(); ++i) {
        totals_[i]->setText(captions[i] + amountText(figures[i].first) + "\nconsuntivo " + amountText(figures[i].second));
    }
    filling_ = false;
}

void TPreventivo::plannedTyped(QTableWidgetItem* item) {
    if (filling_ || item->column() != PlannedColumn) return;
    const QVariant data = grid_->item(item->row(), Code)->data(kLineRole);
    if (!data.isValid() || data.toInt() < 0) return;
    AccountLine* target = nullptr;
    int index = data.toInt();
    for (SideLines* side : {&overview_->income, &overview_->expense}) {
        for (GroupLines& group : side->groups) {
            for (AccountLine& line : group.accounts) {
                if (index-- == 0) target = &line;
            }
        }
    }
    const std::optional<double> amount = storage::parseAmount(item->text().toStdString());
    if (!amount) {
        services_.prompt.message(platform::PromptKind::Warning,
                                 "Importo non valido: \"" + item->text().toStdString() + "\"");
    } else {
        try {
            writePlanned(budgetPathOf(state_.journalPath()), target->code, {*amount, target->note});
            target->planned = *amount;
            resum(*overview_);
        } catch (const storage::DbError& error) {
            services_.prompt.message(platform::PromptKind::Error, error.what());
        }
    }
    showSums();
    if (amount) moveToNextAmount(item->row());
}

void TPreventivo::moveToNextAmount(int row) {
    for (int next = row + 1; next < grid_->rowCount(); ++next) {
        if (grid_->item(next, PlannedColumn)->flags() & Qt::ItemIsEditable) {
            grid_->setCurrentCell(next, PlannedColumn);
            return;
        }
    }
}

void TPreventivo::ProponiClick() {
    const std::optional<double> percent = storage::parseAmount(percent_->text().toStdString());
    if (!percent || *percent <= -100) {
        services_.prompt.message(platform::PromptKind::Warning, "Percentuale non valida: \"" +
                                                                    percent_->text().toStdString() + "\"");
        return;
    }
    const std::string number = storage::yearNumberOf(state_.settings.hauptdatei).value_or("");
    try {
        const auto lastYear = number.empty() ? std::nullopt : previousYearJournal(state_.dataDir, number);
        if (!lastYear) {
            services_.prompt.message(platform::PromptKind::Information,
                                     "Manca l'esercizio dell'anno precedente: non c'è un consuntivo da proporre.");
            return;
        }
        bool typed = false;
        for (const SideLines* side : {&overview_->income, &overview_->expense}) {
            for (const GroupLines& group : side->groups) {
                for (const AccountLine& line : group.accounts) typed = typed || line.planned != 0;
            }
        }
        if (typed && !services_.prompt.askBeforeLoss(platform::PromptKind::Confirmation,
                                                     "Il preventivo contiene già degli importi.\n"
                                                     "Sostituirli con la proposta dal consuntivo "
                                                     "dell'anno precedente?")) {
            return;
        }
        writeProposal(budgetPathOf(state_.journalPath()), actualAmounts(*lastYear), *percent);
    } catch (const std::exception& error) {
        services_.prompt.message(platform::PromptKind::Error, error.what());
    }
    FormActivate();
}

}  // namespace quendra::budget
