#include "accounts/Tkoanders.h"

#include "accounts/chart_editing.h"
#include "widgets/WindowScaling.h"
#include "state/main_state.h"
#include "platform/services.h"
#include "storage/dbase/error.h"
#include "widgets/QtHelpers.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>
#include <optional>

namespace quendra::accounts {

namespace {

using widgets::button;
using widgets::qs;

// The chart's TEXT field holds 60 characters.
constexpr int kTextLength = 60;

enum Column { CodeColumn, TextColumn, CodAlfaColumn, KColumn, ZColumn, CloseColumn, ArtColumn, ColumnCount };

// The text field "oggetto": leaving it (for another control of the window) stores the
// text; Enter leaves it too. Focus that goes to another window or a popup is no leaving.
class TextField : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void()> onLeave;
    std::function<void()> onEnter;

protected:
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        const bool elsewhere =
            event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
        if (!elsewhere && onLeave) onLeave();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            if (onEnter) onEnter();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }
};



}  // namespace

struct Tkoanders::Impl {
    Impl(state::MainState& s, platform::Services& sv) : state(s), services(sv) {}

    state::MainState& state;
    platform::Services& services;
    std::optional<ChartEditor> editor;
    bool showing = false;     // the widgets are being filled from the editor
    bool finishing = false;   // a text is being stored
    // Leaving the field for a control kept it open (the next text to name, or a text
    // that could not be stored): the control's own action waits.
    bool heldByLeave = false;

    QButtonGroup* classes = nullptr;
    QButtonGroup* views = nullptr;
    QTableWidget* grid = nullptr;
    QWidget* textPanel = nullptr;
    TextField* textField = nullptr;

    void showError(const storage::DbError& error) {
        services.prompt.message(platform::PromptKind::Error, error.what());
    }
};

Tkoanders::Tkoanders(state::MainState& state, platform::Services& services, QWidget* parent)
    : QDialog(parent), impl_(std::make_unique<Impl>(state, services)) {
    setObjectName("Tkoanders");
    setWindowTitle("Cambiamento piano conti");

    auto* classBox = new QGroupBox("classe", this);
    classBox->setObjectName("RadioGroup1");
    auto* classLayout = new QHBoxLayout(classBox);
    impl_->classes = new QButtonGroup(this);
    const char* classNames[] = {"Uscite", "Entrate", "Attiva", "Passiva"};
    for (int i = 0; i < int(kEditableClasses.size()); ++i) {
        auto* radio = new QRadioButton(classNames[i], classBox);
        radio->setObjectName(QString("RadioClass") + QChar(kEditableClasses[std::size_t(i)]));
        impl_->classes->addButton(radio, i);
        classLayout->addWidget(radio);
    }

    auto* viewBox = new QGroupBox("vista", this);
    viewBox->setObjectName("RadioGroup2");
    auto* viewLayout = new QHBoxLayout(viewBox);
    impl_->views = new QButtonGroup(this);
    auto* conti = new QRadioButton("Conti", viewBox);
    conti->setObjectName("RadioConti");
    auto* sottoconti = new QRadioButton("Sottoconti", viewBox);
    sottoconti->setObjectName("RadioSottoconti");
    impl_->views->addButton(conti, int(ChartView::MainAccounts));
    impl_->views->addButton(sottoconti, int(ChartView::SubAccounts));
    viewLayout->addWidget(conti);
    viewLayout->addWidget(sottoconti);

    auto* choices = new QHBoxLayout;
    choices->addWidget(classBox, 4);
    choices->addWidget(viewBox, 2);

    impl_->grid = new QTableWidget(0, ColumnCount, this);
    impl_->grid->setObjectName("DBGrid1");
    impl_->grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    impl_->grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    impl_->grid->setSelectionMode(QAbstractItemView::SingleSelection);
    impl_->grid->setAlternatingRowColors(true);
    impl_->grid->verticalHeader()->hide();
    impl_->grid->setHorizontalHeaderLabels({"Code", "", "CODALFA", "K", "Z", "CLOSE", "ART"});
    QHeaderView* header = impl_->grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    impl_->textPanel = new QWidget(this);
    impl_->textPanel->setObjectName("TextPanel");
    auto* textLayout = new QHBoxLayout(impl_->textPanel);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->addWidget(new QLabel("oggetto", impl_->textPanel));
    impl_->textField = new TextField(impl_->textPanel);
    impl_->textField->setObjectName("DBEdit1");
    impl_->textField->setMaxLength(kTextLength);
    textLayout->addWidget(impl_->textField, 1);
    impl_->textPanel->hide();

    auto* cambiamento = button("Button5", "cambiamento", this);
    auto* nuovo = button("Button6", "nuovo", this);
    auto* cancellare = button("loeschen", "cancellare", this);
    auto* uscita = button("Button4", "uscita", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cambiamento);
    buttons->addWidget(nuovo);
    buttons->addWidget(cancellare);
    buttons->addStretch();
    buttons->addWidget(uscita);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(impl_->grid, 1);
    layout->addWidget(impl_->textPanel);
    layout->addLayout(buttons);

    connect(impl_->classes, &QButtonGroup::idClicked, this, &Tkoanders::RadioGroup1Click);
    connect(impl_->views, &QButtonGroup::idClicked, this, &Tkoanders::RadioGroup2Click);
    connect(cambiamento, &QPushButton::clicked, this, &Tkoanders::Button5Click);
    connect(nuovo, &QPushButton::clicked, this, &Tkoanders::Button6Click);
    connect(cancellare, &QPushButton::clicked, this, &Tkoanders::loeschenClick);
    connect(uscita, &QPushButton::clicked, this, &Tkoanders::Button4Click);
    connect(impl_->grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { DBGrid1RowChanged(row); });
    impl_->textField->onLeave = [this] {
        if (!storeText()) impl_->heldByLeave = true;
    };
    connect(impl_->textField, &QLineEdit::textEdited, this, [this] { impl_->heldByLeave = false; });
    impl_->textField->onEnter = [this] {
        // Enter hands the focus back to the list, unless the next text is to be typed.
        if (storeText()) impl_->grid->setFocus();
    };

    resize(680, 480);
    widgets::scaleWindow(this, state.settings.scalePercent());
    // Rows and headings follow the scaled font (a style may give headings a font of their own).
    header->setFont(impl_->grid->font());
    impl_->grid->verticalHeader()->setDefaultSectionSize(impl_->grid->fontMetrics().height() + 6);
}

Tkoanders::~Tkoanders() = default;

void Tkoanders::showEditor() {
    if (!FormActivate()) return;
    exec();
}

bool Tkoanders::FormActivate() {
    impl_->editor.reset();
    try {
        impl_->editor.emplace(impl_->state.chartPath(), impl_->services.prompt);
    } catch (const storage::DbError& error) {
        impl_->showError(error);
        return false;
    }
    showState();
    impl_->grid->setFocus();
    return true;
}

void Tkoanders::showState() {
    if (!impl_->editor) return;
    const ChartEditor& editor = *impl_->editor;
    impl_->showing = true;

    for (std::size_t i = 0; i < kEditableClasses.size(); ++i) {
        if (kEditableClasses[i] == editor.currentClass()) impl_->classes->button(int(i))->setChecked(true);
    }
    impl_->views->button(int(editor.view()))->setChecked(true);

    QTableWidget* grid = impl_->grid;
    grid->horizontalHeaderItem(TextColumn)->setText(qs(editor.textColumnTitle()));
    grid->setRowCount(int(editor.rows().size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        const ChartEditorRow& row = editor.rows()[std::size_t(r)];
        const std::string* cells[ColumnCount] = {&row.code, &row.text, &row.codalfa, &row.k,
                                                 &row.z,    &row.close, &row.art};
        for (int c = 0; c < ColumnCount; ++c) grid->setItem(r, c, new QTableWidgetItem(qs(*cells[c])));
    }
    if (editor.current()) {
        grid->setCurrentCell(int(*editor.current()), CodeColumn);
        grid->scrollToItem(grid->item(int(*editor.current()), CodeColumn));
    } else {
        grid->setCurrentCell(-1, -1);
    }

    const bool wasOpen = impl_->textPanel->isVisible();
    const std::optional<TextEditing>& editing = editor.editing();
    if (editing) {
        impl_->textField->setText(qs(editing->text));
        impl_->textPanel->show();
        impl_->textField->setFocus();
        impl_->textField->selectAll();
    } else {
        const bool hadFocus = impl_->textField->hasFocus();
        impl_->textPanel->hide();
        if (wasOpen && hadFocus) grid->setFocus();
    }
    impl_->showing = false;
}

bool Tkoanders::leaveTextField() {
    if (impl_->heldByLeave) {
        impl_->heldByLeave = false;
        return false;
    }
    return storeText();
}

void Tkoanders::DBEdit1Exit() { storeText(); }

bool Tkoanders::storeText() {
    if (!impl_->editor || !impl_->editor->editing()) return true;
    if (impl_->finishing || impl_->showing) return false;
    impl_->heldByLeave = false;
    impl_->finishing = true;
    try {
        impl_->editor->finishText(impl_->textField->text().toStdString());
    } catch (const storage::DbError& error) {
        impl_->showError(error);
        impl_->finishing = false;
        impl_->textField->setFocus();
        return false;
    }
    impl_->finishing = false;
    showState();
    return !impl_->editor->editing();
}

void Tkoanders::run(const std::function<void(ChartEditor&)>& operation) {
    if (!impl_->editor) return;
    try {
        operation(*impl_->editor);
    } catch (const storage::DbError& error) {
        impl_->showError(error);
    }
    showState();
}

void Tkoanders::DBGrid1RowChanged(int row) {
    if (impl_->showing || !impl_->editor || row < 0) return;
    impl_->editor->moveTo(std::size_t(row));
    // While a text is being named the list stays on its row.
    if (impl_->editor->current() != std::optional<std::size_t>(std::size_t(row))) showState();
}

void Tkoanders::RadioGroup1Click() {
    const int chosen = impl_->classes->checkedId();
    run([&](ChartEditor& editor) {
        if (leaveTextField() && chosen >= 0) editor.chooseClass(kEditableClasses[std::size_t(chosen)]);
    });
}

void Tkoanders::RadioGroup2Click() {
    const int chosen = impl_->views->checkedId();
    run([&](ChartEditor& editor) {
        if (leaveTextField() && chosen >= 0) editor.chooseView(ChartView(chosen));
    });
}

void Tkoanders::Button5Click() {
    run([&](ChartEditor& editor) {
        if (leaveTextField()) editor.startRename();
    });
}

void Tkoanders::Button6Click() {
    run([&](ChartEditor& editor) {
        if (leaveTextField()) editor.addRow();
    });
}

void Tkoanders::loeschenClick() {
    run([&](ChartEditor& editor) {
        if (leaveTextField()) editor.deleteCurrent();
    });
}

void Tkoanders::Button4Click() { accept(); }

void Tkoanders::done(int result) {
    if (impl_->editor) {
        leaveTextField();
        impl_->editor.reset();
        impl_->textPanel->hide();
    }
    QDialog::done(result);
}

}  // namespace quendra::accounts
