// Free pronunciation: the typed text goes to the pronunciation as it stands; Enter or the button speaks it.
#include "stronaodsluchu.h"

#include "fwarning.h"
#include "ui_stronaodsluchu.h"

#include <QKeyEvent>

StronaOdsluchu::StronaOdsluchu(Uslugi uslugi, QWidget* parent)
    : TStrona(parent), uslugi_(std::move(uslugi)), ui(std::make_unique<Ui::TStronaOdsluchu>())
{
    setObjectName(QStringLiteral("StronaOdsluchu"));
    ui->setupUi(this);
    ui->LTekst->setBuddy(ui->EWpis4);
    connect(ui->BNastepny4, &QPushButton::clicked, this, &StronaOdsluchu::OdsluchajDowolne);
    ui->EWpis4->installEventFilter(this);
    EnterNaciska(this);
}

StronaOdsluchu::~StronaOdsluchu() = default;

void StronaOdsluchu::Resetuj()
{
    ui->EWpis4->clear();
    ui->EWpis4->setFocus();
}

void StronaOdsluchu::OdsluchajDowolne()
{
    if (!ui->EWpis4->text().isEmpty()) {
        uslugi_.WymowTekst(ui->EWpis4->text());
        return;
    }
    uslugi_.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaInformacji,
                      QStringLiteral("Wpisz, proszę, słowo, którego brzmienie chcesz odsłuchać"));
    ui->EWpis4->setFocus();
}

bool StronaOdsluchu::eventFilter(QObject* obiekt, QEvent* zdarzenie)
{
    if (obiekt == ui->EWpis4 && zdarzenie->type() == QEvent::KeyPress) {
        const int klawisz = static_cast<QKeyEvent*>(zdarzenie)->key();
        if (klawisz == Qt::Key_Return || klawisz == Qt::Key_Enter) {
            OdsluchajDowolne();
            return true;
        }
    }
    return TStrona::eventFilter(obiekt, zdarzenie);
}
