// Help window: links between the help pages and their anchors open here; addresses on the web go to the desktop.
#include "fpomoc.h"

#include "ui_fpomoc.h"

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QUrl>

TFPomoc::TFPomoc(QWidget* parent) : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::TFPomoc>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    // Closing the main window still ends the program while help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(ui->ButWstecz, &QPushButton::clicked, ui->TBPomoc, &QTextBrowser::backward);
    connect(ui->ButDalej, &QPushButton::clicked, ui->TBPomoc, &QTextBrowser::forward);
    connect(ui->TBPomoc, &QTextBrowser::backwardAvailable, ui->ButWstecz, &QWidget::setEnabled);
    connect(ui->TBPomoc, &QTextBrowser::forwardAvailable, ui->ButDalej, &QWidget::setEnabled);
    connect(ui->ButSpis, &QPushButton::clicked, this, [this] {
        if (!spis_.isEmpty())
            ui->TBPomoc->setSource(QUrl::fromLocalFile(spis_));
    });
    connect(ui->ButZamknijPomoc, &QPushButton::clicked, this, &QWidget::close);
    auto* zamknij = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(zamknij, &QShortcut::activated, this, &QWidget::close);
    connect(ui->TBPomoc, &QTextBrowser::sourceChanged, this, [this] {
        const QString tytul = ui->TBPomoc->documentTitle();
        setWindowTitle(tytul.isEmpty() ? QStringLiteral("Vokara – pomoc") : tytul);
    });
}

TFPomoc::~TFPomoc() = default;

void TFPomoc::Pokaz(const QString& plik)
{
    const QFileInfo info(plik);
    spis_ = info.dir().filePath(QStringLiteral("index.htm"));
    // The style sheet the pages link to is found beside them.
    ui->TBPomoc->setSearchPaths({info.absolutePath()});
    ui->TBPomoc->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    show();
    raise();
    activateWindow();
    ui->TBPomoc->setFocus();
}

QUrl TFPomoc::Strona() const
{
    return ui->TBPomoc->source();
}
