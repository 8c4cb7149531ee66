#include "journal/TInfo.h"

#include "widgets/WindowScaling.h"
#include "state/main_state.h"
#include "platform/services.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quendra::journal {

namespace {

const char* const kAboutText =
    "Versione 4.72 per Windows XP, Vista, Windows 7, Windows 8 e Windows 10\n"
    "                     32-Bit e 64-Bit\n"
    "\n"
    "Proprietario: Diocesi Varnelia\n"
    "\n"
    "Quendra \u2014 assistenza: ufficio amministrativo della Diocesi Varnelia\n"
    "Velmora\n"
    "Per domande sul programma e sulla contabilit\u00e0 parrocchiale rivolgersi\n"
    "all'ufficio amministrativo della diocesi.";

}  // namespace

TInfo::TInfo(state::MainState& state, platform::Services&, QWidget* parent) : QDialog(parent) {
    setObjectName("TInfo");
    setWindowTitle("Info - Quendra parrocchiale");

    auto* name = new QLabel("Quendra", this);
    name->setObjectName("LabelName");
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 2.4);
    large.setBold(true);
    name->setFont(large);
    auto* diocese = new QLabel("della Diocesi Varnelia", this);
    diocese->setObjectName("LabelDiocese");
    QFont medium = diocese->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.3);
    diocese->setFont(medium);

    auto* text = new QPlainTextEdit(QString::fromUtf8(kAboutText), this);
    text->setObjectName("Memo1");
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ButtonOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(diocese);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);

    resize(560, 340);
    widgets::scaleWindow(this, state.settings.scalePercent());
}

}  // namespace quendra::journal
