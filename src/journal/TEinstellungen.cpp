#include "journal/TEinstellungen.h"

#include "journal/help.h"
#include "widgets/HelpKey.h"
#include "widgets/WindowScaling.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "journal/settings_dialog_rules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quendra::journal {

namespace {

constexpr int kHelpContext = 4;

QLineEdit* field(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

}  // namespace

TEinstellungen::TEinstellungen(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), state_(state), services_(services) {
    setObjectName("TEinstellungen");
    setWindowTitle("Einstellungen");
    widgets::setHelpContext(this, kHelpSettings);
    setProperty("helpContext", kHelpContext);

    auto* heading = new QLabel("   impostazione pagina   ", this);
    QFont bold = heading->font();
    bold.setBold(true);
    // Its own size, so that the window's scaling counts it once, not through the window too.
    bold.setPointSizeF(bold.pointSizeF());
    heading->setFont(bold);
    heading->setFrameShape(QFrame::StyledPanel);

    top_ = field("TopMargin", this);
    bottom_ = field("BottomMargin", this);
    frames_ = new QCheckBox("cornici", this);
    frames_->setObjectName("Frames");
    scale_ = field("Scale", this);
    screenFont_ = field("ScreenFont", this);
    printerFont_ = field("PrinterFont", this);
    uscita_ = new QPushButton("uscita", this);
    uscita_->setObjectName("ButtonUscita");
    // Enter in a field must not leave the dialog.
    uscita_->setAutoDefault(false);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(heading, row++, 0, 1, 3, Qt::AlignLeft);
    grid->addWidget(new QLabel("margine sopra", this), row, 0);
    grid->addWidget(top_, row, 1);
    grid->addWidget(new QLabel("cm (standard: 2,5 cm)", this), row++, 2);
    grid->addWidget(new QLabel("margine sotto", this), row, 0);
    grid->addWidget(bottom_, row, 1);
    grid->addWidget(new QLabel("cm (standard: 28 cm)", this), row++, 2);
    grid->addWidget(frames_, row++, 0, 1, 3);
    grid->addWidget(new QLabel("scermo", this), row, 0);
    grid->addWidget(scale_, row, 1);
    grid->addWidget(new QLabel("% (standard: 100 %)", this), row++, 2);
    grid->addWidget(new QLabel("dimensione caratteri schermo (15)", this), row, 0);
    grid->addWidget(screenFont_, row++, 1);
    grid->addWidget(new QLabel("dimensione caratteri stampante (15)", this), row, 0);
    grid->addWidget(printerFont_, row++, 1);
    grid->addWidget(new QLabel("   5 = molto grande / 30 = molto piccolo   ", this), row++, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(uscita_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(top_, &QLineEdit::editingFinished, this, &TEinstellungen::EditObenExit);
    connect(bottom_, &QLineEdit::editingFinished, this, &TEinstellungen::EditUntenExit);
    connect(scale_, &QLineEdit::editingFinished, this, &TEinstellungen::EditSkalaExit);
    connect(screenFont_, &QLineEdit::editingFinished, this, &TEinstellungen::EditBildschirmExit);
    connect(printerFont_, &QLineEdit::editingFinished, this, &TEinstellungen::EditDruckExit);
    for (QLineEdit* edit : {scale_, screenFont_, printerFont_}) {
        connect(edit, &QLineEdit::returnPressed, uscita_, [this] { uscita_->setFocus(); });
    }
    connect(uscita_, &QPushButton::clicked, this, &TEinstellungen::ButtonUscitaClick);

    resize(480, 270);
    widgets::scaleWindow(this, state.settings.scalePercent());
    // Wide enough for "28,55" in the scaled font, no wider.
    for (QLineEdit* edit : {top_, bottom_, scale_, screenFont_, printerFont_}) {
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("000000000"));
    }
}

void TEinstellungen::showEvent(QShowEvent* event) {
    fillFields();
    QDialog::showEvent(event);
}

void TEinstellungen::fillFields() {
    const storage::Settings& s = state_.settings;
    top_->setText(QString::fromStdString(marginText(s.topMargin)));
    bottom_->setText(QString::fromStdString(marginText(s.bottomMargin)));
    frames_->setChecked(s.frameLines == "1");
    scale_->setText(QString::fromStdString(s.scale));
    screenFont_->setText(QString::fromStdString(s.screenFont));
    printerFont_->setText(QString::fromStdString(s.printerFont));
}

// The field shows the held value again before the message, so that losing the focus to
// the message box does not report the same text twice.
void TEinstellungen::refused(QLineEdit* edit, const std::string& shown, std::string_view message) {
    edit->setText(QString::fromStdString(shown));
    services_.prompt.message(platform::PromptKind::Error, std::string(message));
    edit->setFocus();
    edit->selectAll();
}

void TEinstellungen::marginExit(QLineEdit* edit, int& held) {
    if (const std::optional<int> value = heldMargin(edit->text().toStdString())) held = *value;
    else refused(edit, marginText(held), kMarginNotANumberMessage);
}

void TEinstellungen::characterCountExit(QLineEdit* edit, std::string& count) {
    if (const std::optional<std::string> value = characterCount(edit->text().toStdString())) {
        count = *value;
        edit->setText(QString::fromStdString(count));
    } else {
        refused(edit, count, kCharacterCountMessage);
    }
}

void TEinstellungen::EditObenExit() { marginExit(top_, state_.settings.topMargin); }

void TEinstellungen::EditUntenExit() { marginExit(bottom_, state_.settings.bottomMargin); }

void TEinstellungen::EditBildschirmExit() { characterCountExit(screenFont_, state_.settings.screenFont); }

void TEinstellungen::EditDruckExit() { characterCountExit(printerFont_, state_.settings.printerFont); }

void TEinstellungen::EditSkalaExit() {
    const ScaleDecision decision = decideScale(scale_->text().toStdString(), state_.settings.scalePercent());
    switch (decision.outcome) {
        case ScaleOutcome::Unchanged: break;
        case ScaleOutcome::Changed:
            state_.settings.scale = std::to_string(decision.value);
            scale_->setText(QString::fromStdString(state_.settings.scale));
            services_.prompt.message(platform::PromptKind::Information, std::string(kRestartMessage));
            ButtonUscitaClick();
            break;
        case ScaleOutcome::OutOfRange:
        case ScaleOutcome::NotANumber: refused(scale_, state_.settings.scale, kScaleRangeMessage); break;
    }
}

void TEinstellungen::ButtonUscitaClick() {
    if (checking_ || !isVisible()) return;
    checking_ = true;
    state_.settings.frameLines.assign(1, frames_->isChecked() ? '1' : '0');
    if (pageLayoutAccepted(state_.settings.topMargin, state_.settings.bottomMargin)) {
        QDialog::done(QDialog::Accepted);
    } else {
        services_.prompt.message(platform::PromptKind::Warning, std::string(kPageLayoutMessage));
        fillFields();
    }
    checking_ = false;
}

void TEinstellungen::reject() { ButtonUscitaClick(); }

}  // namespace quendra::journal
