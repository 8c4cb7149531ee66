#include "statements/TZusammenfassung.h"

#include "state/main_state.h"
#include "platform/services.h"
#include "statements/balance_summary.h"
#include "storage/dbase/error.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <vector>

namespace quendra::statements {

namespace {

// The designed grid, in pixels. Text and both amounts are right-aligned cells.
constexpr int kGridLines = 26;
constexpr int kGridTop = 4;
constexpr int kLineHeight = 22;
constexpr int kCellHeight = 18;
constexpr int kRuleOffset = 18;  // a rule lies this far below the top of its line
constexpr int kTextLeft = 10;
constexpr int kTextWidth = 390;
constexpr int kOpeningLeft = 415;
constexpr int kClosingLeft = 600;
constexpr int kAmountWidth = 165;
constexpr int kHeadingWidth = 180;  // wider than its column: the texts stand right-aligned
constexpr int kGridRight = kClosingLeft + kAmountWidth;
constexpr int kGridWidth = kGridRight + 10;
constexpr int kWindowWidth = kGridWidth + 24;  // room for the scroll bar
constexpr int kHeaderHeight = 70;
constexpr int kWindowTop = 50;
constexpr int kButtonBelowBanks = 40;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 26;
constexpr int kGridBottomMargin = 12;

int lineTop(std::size_t index) { return kGridTop + int(index) * kLineHeight; }

QLabel* cell(QWidget* parent, const QString& name, int left, int top, int width) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(left, top, width, kCellHeight);
    label->hide();
    return label;
}

QFont boldFont(const QWidget* widget, bool bold) {
    QFont font = widget->font();
    font.setBold(bold);
    return font;
}

}  // namespace

struct TZusammenfassung::Impl {
    struct Row {
        QLabel* text;
        QLabel* opening;
        QLabel* closing;
        QFrame* rule;
    };

    state::MainState& state;
    platform::Services& services;
    QWidget* grid = nullptr;
    QPushButton* uscita = nullptr;
    std::vector<Row> rows;
    bool computed = false;

    Impl(state::MainState& s, platform::Services& sv) : state(s), services(sv) {}

    Row& row(std::size_t index) {
        while (rows.size() <= index) {
            const QString number = QString::number(rows.size() + 1);
            const int top = lineTop(rows.size());
            Row r{cell(grid, "LineText" + number, kTextLeft, top, kTextWidth),
                  cell(grid, "LineOpening" + number, kOpeningLeft, top, kAmountWidth),
                  cell(grid, "LineClosing" + number, kClosingLeft, top, kAmountWidth), new QFrame(grid)};
            r.rule->setObjectName("LineRule" + number);
            r.rule->setFrameShape(QFrame::HLine);
            r.rule->setFrameShadow(QFrame::Plain);
            r.rule->hide();
            rows.push_back(r);
        }
        return rows[index];
    }

    void clear() {
        for (const Row& r : rows) {
            for (QWidget* w : {static_cast<QWidget*>(r.text), static_cast<QWidget*>(r.opening),
                               static_cast<QWidget*>(r.closing), static_cast<QWidget*>(r.rule)}) {
                w->hide();
            }
        }
        placeButton(kGridLines - 1);
    }

    void show(const std::vector<SummaryLine>& lines) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const SummaryLine& line = lines[i];
            Row& r = row(i);
            fill(r.text, line.text, line.style == LineStyle::Heading || line.style == LineStyle::Banks);
            fill(r.opening, line.opening, line.style == LineStyle::Banks);
            fill(r.closing, line.closing, line.style == LineStyle::Banks);
            QPalette palette = grid->palette();
            if (line.style == LineStyle::Banks) palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
            r.text->setPalette(palette);
            showRule(r.rule, line.ruleAfter, lineTop(i) + kRuleOffset);
            if (line.style == LineStyle::Banks) placeButton(i);
        }
    }

    // An empty text leaves the cell hidden. A text too long for its cell is shortened in
    // the middle, so the group code at its end stays readable.
    static void fill(QLabel* label, const std::string& text, bool bold) {
        if (text.empty()) {
            label->hide();
            return;
        }
        label->setFont(boldFont(label, bold));
        const QString full = QString::fromStdString(text);
        const QString shown = label->fontMetrics().elidedText(full, Qt::ElideMiddle, label->width());
        label->setText(shown);
        label->setToolTip(shown == full ? QString() : full);
        label->show();
    }

    static void showRule(QFrame* rule, Rule kind, int top) {
        if (kind == Rule::None) {
            rule->hide();
            return;
        }
        const int left = kind == Rule::UnderAmounts ? kOpeningLeft : kTextLeft;
        rule->setGeometry(left, top, kGridRight - left, 1);
        rule->show();
    }

    // The button stands below the given line; the grid grows to hold it.
    void placeButton(std::size_t lineIndex) {
        const int top = lineTop(lineIndex) + kButtonBelowBanks;
        uscita->move(kGridRight - kButtonWidth, top);
        const int lines = std::max<int>(kGridLines, int(rows.size()));
        grid->setFixedSize(kGridWidth, std::max(lineTop(std::size_t(lines)), top + kButtonHeight) + kGridBottomMargin);
    }
};

TZusammenfassung::TZusammenfassung(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), impl_(std::make_unique<Impl>(state, services)) {
    setObjectName("Zusammenfassung");
    setWindowTitle("Riepilogo");

    auto* header = new QWidget(this);
    header->setFixedHeight(kHeaderHeight);
    auto* title = new QLabel("Riepilogo", header);
    title->setObjectName("Title");
    QFont titleFont = boldFont(title, true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(kTextLeft, 8, kGridRight - kTextLeft, 30);
    for (const auto& [name, text, left] : {std::tuple{"OpeningHeading", " Apertura  1 gennaio", kOpeningLeft},
                                           std::tuple{"ClosingHeading", " Chiusura   31 dicembre", kClosingLeft}}) {
        auto* heading = new QLabel(text, header);
        heading->setObjectName(name);
        heading->setFont(boldFont(heading, true));
        heading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        heading->setGeometry(left + kAmountWidth - kHeadingWidth, 44, kHeadingWidth, kCellHeight);
    }

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("Lines");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    impl_->grid = new QWidget;
    impl_->grid->setObjectName("Grid");
    impl_->uscita = new QPushButton("uscita", impl_->grid);
    impl_->uscita->setObjectName("ButtonUscita");
    impl_->uscita->resize(kButtonWidth, kButtonHeight);
    connect(impl_->uscita, &QPushButton::clicked, this, &TZusammenfassung::uscitaClick);
    impl_->row(kGridLines - 1);
    impl_->clear();
    scroll->setWidget(impl_->grid);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(scroll, 1);

    const QRect screen = this->screen()->geometry();
    const int height = screen.height() - (screen.height() + 5) / 10;
    resize(kWindowWidth, height);
    move(screen.x() + (screen.width() - kWindowWidth) / 2, screen.y() + kWindowTop);
}

TZusammenfassung::~TZusammenfassung() = default;

void TZusammenfassung::showSummary(state::MainState& state, platform::Services& services, QWidget* parent) {
    TZusammenfassung summary(state, services, parent);
    summary.exec();
}

void TZusammenfassung::FormActivate() {
    impl_->clear();
    const auto showLines = [this](const std::vector<SummaryLine>& lines) {
        impl_->show(lines);
        repaint();
    };
    try {
        balanceSummary(impl_->state.journalPath(), impl_->state.chartPath(), showLines);
    } catch (const storage::DbError& e) {
        impl_->services.prompt.message(platform::PromptKind::Error, e.what());
    } catch (const std::exception&) {
        impl_->services.prompt.message(platform::PromptKind::Error, "Il riepilogo non può essere calcolato.");
    }
}

void TZusammenfassung::uscitaClick() { close(); }

void TZusammenfassung::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per showing: the window is made anew for each, and a failure reported from
    // here must not start the computation again when the message box gives back focus.
    if (impl_->computed) return;
    impl_->computed = true;
    QTimer::singleShot(0, this, &TZusammenfassung::FormActivate);
}

}  // namespace quendra::statements
