// The progress window: Qt Charts in the colours of the wooden skin, filled from the learning memory on each showing.
#include "fpostepy.h"

#include "pamiec.h"
#include "tekst.h"
#include "ui_fpostepy.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QKeyEvent>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace {

// The skin's paper, wood and ink, so the charts sit on the window like the pages do.
const QColor Papier(0xfb, 0xf5, 0xe9);
const QColor Drewno(0xa2, 0x7d, 0x4f);
const QColor Atrament(0x4a, 0x30, 0x18);
const QColor Siatka(0xe2, 0xd3, 0xb8);
const QColor Dobrze(0x6f, 0x8f, 0x4a);
const QColor Zle(0xb5, 0x56, 0x3a);
const QColor WNauce(0xb5, 0xc9, 0x92); // the lighter green of the pickers' bars

// One bar set in one colour.
QBarSet* Slupki(const QString& nazwa, const QColor& kolor)
{
    auto* z = new QBarSet(nazwa);
    z->setColor(kolor);
    z->setBorderColor(kolor.darker(120));
    return z;
}

// "1 powtórka", "3 powtórki", "12 powtórek", "22 powtórki".
QString LiczbaPowtorek(int n)
{
    const int jednosci = n % 10, dziesiatki = n % 100;
    if (n == 1)
        return QStringLiteral("1 powtórka");
    if (jednosci >= 2 && jednosci <= 4 && (dziesiatki < 12 || dziesiatki > 14))
        return QStringLiteral("%1 powtórki").arg(n);
    return QStringLiteral("%1 powtórek").arg(n);
}

// "84%" of a share, rounded.
QString Procent(double udzial)
{
    return QStringLiteral("%1%").arg(int(100.0 * udzial + 0.5));
}

QFont Czcionka(int piksele, bool gruba = false)
{
    QFont f = QApplication::font();
    f.setPixelSize(piksele);
    f.setBold(gruba);
    return f;
}

void Osie(QAbstractAxis* os)
{
    os->setLabelsColor(Atrament);
    os->setLabelsFont(Czcionka(11));
    os->setTruncateLabels(false); // set names and days stay whole; the chart makes room for them
    os->setLinePenColor(Drewno);
    os->setGridLineColor(Siatka);
}

// A bar chart's two axes: the categories along the bottom, the counts up the side in whole numbers from 0.
void OsieSlupkow(QChart* wykres, QAbstractBarSeries* seria, QBarCategoryAxis* osX, int najwiecej)
{
    auto* osY = new QValueAxis;
    osY->setRange(0, std::max(5, najwiecej));
    osY->setLabelFormat(QStringLiteral("%d"));
    osY->applyNiceNumbers();
    Osie(osX);
    Osie(osY);
    wykres->addAxis(osX, Qt::AlignBottom);
    wykres->addAxis(osY, Qt::AlignLeft);
    seria->attachAxis(osX);
    seria->attachAxis(osY);
}

void Zamien(QChartView* widok, QChart* wykres)
{
    QChart* stary = widok->chart();
    widok->setChart(wykres); // the view owns the new chart and lets go of the old one
    delete stary;
}

} // namespace

TFPostepy::TFPostepy(vokara::Pamiec& pamiec, const vokara::Dane& dane, QWidget* parent)
    : QWidget(parent, Qt::Window), pamiec_(pamiec), dane_(dane), ui(std::make_unique<Ui::TFPostepy>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(size());
    for (QChartView* widok : {ui->WykresDni, ui->WykresTerminow, ui->WykresZestawow, ui->WykresEtapow}) {
        widok->setRenderHint(QPainter::Antialiasing);
        widok->setFrameShape(QFrame::NoFrame);
        widok->setStyleSheet(QStringLiteral("background: transparent;"));
    }
    ui->TBledy->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->TBledy->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ui->TBledy->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    ui->TBledy->verticalHeader()->hide();
    connect(ui->ButZamknij, &QPushButton::clicked, this, &QWidget::close);
}

TFPostepy::~TFPostepy() = default;

void TFPostepy::keyPressEvent(QKeyEvent* zdarzenie)
{
    // Escape closes the window, as it would a dialog.
    if (zdarzenie->key() == Qt::Key_Escape && zdarzenie->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(zdarzenie);
}

void TFPostepy::Pokaz()
{
    Odswiez();
    if (!isVisible() && parentWidget()) {
        // Over the middle of the main window, as a dialog would open.
        QRect ramka = frameGeometry();
        ramka.moveCenter(parentWidget()->frameGeometry().center());
        move(ramka.topLeft());
    }
    show();
    raise();
    activateWindow();
    ui->ButZamknij->setFocus();
}

QChart* TFPostepy::NowyWykres() const
{
    auto* w = new QChart;
    w->setBackgroundBrush(Papier);
    w->setBackgroundPen(QPen(Drewno));
    w->setBackgroundRoundness(6);
    w->setMargins(QMargins(4, 4, 4, 4));
    w->legend()->setLabelColor(Atrament);
    w->legend()->setFont(Czcionka(11));
    w->setAnimationOptions(QChart::NoAnimation);
    return w;
}

void TFPostepy::Odswiez()
{
    const vokara::Statystyki s = pamiec_.Zbierz();
    QString podsumowanie;
    if (!pamiec_.Dostepna())
        podsumowanie = QStringLiteral("Postępy nie są zapisywane w tej sesji.   ");
    const int procent = s.Odpowiedzi > 0 ? int(100.0 * s.Poprawne / s.Odpowiedzi + 0.5) : 0;
    podsumowanie += QStringLiteral("Dni nauki z rzędu: %1   •   Odpowiedzi: %2, poprawnych: %3%   •   Do powtórki: %4")
                        .arg(s.DniZRzedu)
                        .arg(s.Odpowiedzi)
                        .arg(procent)
                        .arg(pamiec_.LiczbaDoPowtorki());
    ui->LPodsumowanie->setText(podsumowanie);
    // Which schedule decides, and how its predictions held: the share right against the share it expected.
    QString harmonogram = pamiec_.OpisHarmonogramu() + QStringLiteral("   •   ");
    if (s.Przewidziane > 0)
        harmonogram += QStringLiteral("Powtórki z 30 dni: poprawne %1, harmonogram przewidywał %2 (%3)")
                           .arg(Procent(double(s.Trafione) / s.Przewidziane),
                                Procent(s.SumaPrzewidywan / s.Przewidziane), LiczbaPowtorek(s.Przewidziane));
    else
        harmonogram += QStringLiteral("W ostatnich 30 dniach nie było jeszcze powtórek z przewidywaniem.");
    ui->LHarmonogram->setText(harmonogram);
    std::vector<std::string> pliki;
    for (const auto& z : dane_.Zestawy)
        pliki.push_back(z.Plik);
    const auto znajomosc = pamiec_.Znajomosc(dane_, pliki);
    RysujDni(s);
    RysujTerminy(s);
    RysujZestawy(znajomosc);
    RysujEtapy(znajomosc);
    WypelnijBledy(s);
}

void TFPostepy::RysujDni(const vokara::Statystyki& s)
{
    auto* dobrze = Slupki(QStringLiteral("Poprawne"), Dobrze);
    auto* zle = Slupki(QStringLiteral("Błędne"), Zle);
    QStringList dni;
    int najwiecej = 0;
    for (const auto& d : s.Dni) {
        *dobrze << d.Dobrze;
        *zle << d.Zle;
        // The day of the month only: thirty dates side by side leave no room for more.
        dni << QString::number(d.Data.day());
        najwiecej = std::max(najwiecej, d.Dobrze + d.Zle);
    }
    auto* seria = new QStackedBarSeries;
    seria->append(dobrze);
    seria->append(zle);
    seria->setBarWidth(0.7);
    QChart* w = NowyWykres();
    w->addSeries(seria);
    auto* osX = new QBarCategoryAxis;
    osX->append(dni);
    OsieSlupkow(w, seria, osX, najwiecej);
    w->legend()->setAlignment(Qt::AlignTop);
    Zamien(ui->WykresDni, w);
}

void TFPostepy::RysujTerminy(const vokara::Statystyki& s)
{
    auto* powtorki = Slupki(QStringLiteral("Powtórki"), Drewno);
    QStringList dni;
    int najwiecej = 0;
    const QDate dzis = pamiec_.Teraz().date();
    for (int d = 0; d < int(s.Terminy.size()); ++d) {
        *powtorki << s.Terminy[std::size_t(d)];
        dni << QString::number(dzis.addDays(d).day());
        najwiecej = std::max(najwiecej, s.Terminy[std::size_t(d)]);
    }
    auto* seria = new QBarSeries;
    seria->append(powtorki);
    seria->setBarWidth(0.7);
    QChart* w = NowyWykres();
    w->addSeries(seria);
    auto* osX = new QBarCategoryAxis;
    osX->append(dni);
    OsieSlupkow(w, seria, osX, najwiecej);
    w->legend()->hide();
    Zamien(ui->WykresTerminow, w);
}

void TFPostepy::RysujZestawy(const std::vector<vokara::ZnajomoscZestawu>& znajomosc)
{
    auto* opanowane = Slupki(QStringLiteral("Opanowane"), Dobrze);
    auto* wNauce = Slupki(QStringLiteral("W nauce"), WNauce);
    QStringList nazwy;
    // A horizontal chart lists its categories from the bottom up; the list's first set goes on top.
    for (std::size_t i = dane_.Zestawy.size(); i-- > 0;) {
        QString nazwa = vokara::ZCp1250(dane_.Zestawy[i].Nazwa);
        if (nazwa.size() > 28)
            nazwa = nazwa.left(27) + QStringLiteral("…");
        // Category names must differ: a list naming a set twice still gets two bars.
        while (nazwy.contains(nazwa))
            nazwa += QLatin1Char(' ');
        nazwy << nazwa;
        const bool cwiczony = i < znajomosc.size() && znajomosc[i].Cwiczony;
        *opanowane << (cwiczony ? 100.0 * znajomosc[i].Udzial() : 0.0);
        *wNauce << (cwiczony ? 100.0 * znajomosc[i].UdzialWNauce() : 0.0);
    }
    auto* seria = new QHorizontalStackedBarSeries;
    seria->append(opanowane);
    seria->append(wNauce);
    seria->setBarWidth(0.7);
    QChart* w = NowyWykres();
    w->addSeries(seria);
    auto* osY = new QBarCategoryAxis;
    osY->append(nazwy);
    auto* osX = new QValueAxis;
    osX->setRange(0, 100);
    osX->setTickCount(6);
    osX->setLabelFormat(QStringLiteral("%d%%"));
    for (QAbstractAxis* os : {static_cast<QAbstractAxis*>(osX), static_cast<QAbstractAxis*>(osY)})
        Osie(os);
    w->addAxis(osY, Qt::AlignLeft);
    w->addAxis(osX, Qt::AlignBottom);
    seria->attachAxis(osX);
    seria->attachAxis(osY);
    w->legend()->setAlignment(Qt::AlignTop);
    // Every set keeps a readable bar; a long list scrolls.
    const int wysokosc = std::max(ui->ObszarZestawow->height(), 22 * int(nazwy.size()) + 70);
    ui->WykresZestawow->setMinimumHeight(wysokosc);
    Zamien(ui->WykresZestawow, w);
}

void TFPostepy::RysujEtapy(const std::vector<vokara::ZnajomoscZestawu>& znajomosc)
{
    // Over the sets practised so far: a set never opened would count all its entries as new.
    std::array<int, 4> etapy{};
    for (const auto& z : znajomosc) {
        for (std::size_t e = 0; e < etapy.size() && z.Cwiczony; ++e)
            etapy[e] += z.Etapy[e];
    }
    auto* slowa = Slupki(QStringLiteral("Słowa"), Drewno);
    const QStringList nazwy{QStringLiteral("nowe"), QStringLiteral("w nauce"), QStringLiteral("utrwalane"),
                            QStringLiteral("opanowane")};
    for (int n : etapy)
        *slowa << n;
    auto* seria = new QBarSeries;
    seria->append(slowa);
    seria->setLabelsVisible(true);
    seria->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    QChart* w = NowyWykres();
    w->addSeries(seria);
    auto* osX = new QBarCategoryAxis;
    osX->append(nazwy);
    OsieSlupkow(w, seria, osX, *std::max_element(etapy.begin(), etapy.end()));
    w->legend()->hide();
    Zamien(ui->WykresEtapow, w);
}

void TFPostepy::WypelnijBledy(const vokara::Statystyki& s)
{
    ui->TBledy->setRowCount(int(s.Bledy.size()));
    for (int r = 0; r < int(s.Bledy.size()); ++r) {
        const auto& b = s.Bledy[std::size_t(r)];
        ui->TBledy->setItem(r, 0, new QTableWidgetItem(vokara::ZCp1250(b.Wpis.Angielski)));
        ui->TBledy->setItem(r, 1, new QTableWidgetItem(vokara::ZCp1250(b.Wpis.Polski)));
        auto* liczba = new QTableWidgetItem(QStringLiteral("%1 z %2").arg(b.Bledy).arg(b.Odpowiedzi));
        liczba->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui->TBledy->setItem(r, 2, liczba);
    }
}
