// The update's result window: a heading, the outcome's paragraphs wrapped at a fixed width, and "Zamknij".
#include "fwynikaktualizacji.h"

#include "ui_fwynikaktualizacji.h"

TFWynikAktualizacji::TFWynikAktualizacji(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TFWynikAktualizacji>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    setWindowModality(Qt::ApplicationModal);
    ui->LNaglowek->setFixedWidth(SzerokoscTekstu);
    ui->LWynik->setFixedWidth(SzerokoscTekstu);
    connect(ui->ButZamknij, &QPushButton::clicked, this, &QDialog::accept);
}

TFWynikAktualizacji::~TFWynikAktualizacji() = default;

void TFWynikAktualizacji::Pokaz(const QString& tekst)
{
    OstatniTekst = tekst;
    QStringList linie = QString(tekst).replace(QLatin1String("\r\n"), QLatin1String("\r")).split(QLatin1Char('\r'));
    ui->LNaglowek->setText(linie.takeFirst());
    ui->LWynik->setText(linie.join(QStringLiteral("\n\n")));
    ui->LWynik->setVisible(!linie.isEmpty());
    setAccessibleDescription(tekst.split(QLatin1Char('\r')).join(QLatin1Char('\n')));
    // Each label is as tall as its wrapped text needs at its fixed width: nothing is clipped, whatever the font.
    for (QLabel* etykieta : {ui->LNaglowek, ui->LWynik}) {
        etykieta->ensurePolished();
        etykieta->setMinimumHeight(etykieta->heightForWidth(SzerokoscTekstu));
    }
    adjustSize();
    if (parentWidget()) {
        QRect ramka(QPoint(), size());
        ramka.moveCenter(parentWidget()->frameGeometry().center());
        move(ramka.topLeft());
    }
    ui->ButZamknij->setFocus();
    emit pokazany();
    exec();
}
