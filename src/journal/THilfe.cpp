#include "journal/THilfe.h"

#include "journal/help.h"
#include "widgets/QtHelpers.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace quendra::journal {

THilfe::THilfe(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window), mainWindow_(mainWindow) {
    setObjectName("THilfe");
    setWindowTitle("Manuale di Quendra");
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("Browser");
    browser_->setOpenExternalLinks(true);
    auto* back = widgets::button("ButtonIndietro", "&indietro", this);
    auto* contents = widgets::button("ButtonSommario", "&sommario", this);
    auto* close = widgets::button("ButtonChiudi", "&chiudi", this);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this,
            [this] { browser_->setSource(browser_->source().resolved(QUrl(widgets::qs(kManualContents)))); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    back->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    resize(760, 640);
}

void THilfe::showPage(const QString& file, const QString& anchor) {
    // A window of the program's modal dialog is the only one the user can reach meanwhile.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = mainWindow_;
    if (parentWidget() != owner) setParent(owner, Qt::Window);
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    browser_->setSource(url);
    show();
    raise();
    activateWindow();
}

QUrl THilfe::source() const { return browser_->source(); }

}  // namespace quendra::journal
