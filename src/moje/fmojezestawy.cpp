// The own-sets editor: the list of own sets, the table of pairs with its checks, and the buttons around them.
#include "fmojezestawy.h"

#include "fwarning.h"
#include "slownik.h"
#include "tabelaslow.h"
#include "tekst.h"
#include "ui_fmojezestawy.h"
#include "wtle.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QShortcut>
#include <QStandardPaths>

using vokara::Para;

namespace {

const QColor TloBledu(255, 205, 205);
const QColor TloOstrzezenia(255, 240, 185);
const QString FiltrTsv = QStringLiteral("Tekst UTF-8 z tabulatorami – Anki, Quizlet (*.tsv *.txt)");
const QString FiltrZestawu = QStringLiteral("Zestaw programu Vokara, Windows-1250 (*.txt)");
const QString FiltrKvtml = QStringLiteral("KVTML 2 – KWordQuiz, Parley (*.kvtml)");

} // namespace

// ---- The table model ----

void ModelSlow::Ustaw(QList<Para> pary)
{
    beginResetModel();
    pary_ = std::move(pary);
    Sprawdz();
    endResetModel();
}

void ModelSlow::Sprawdz()
{
    uwagi_ = vokara::SprawdzPary(pary_);
    blokujace_ = 0;
    ostrzezenia_ = 0;
    for (const auto& u : uwagi_) {
        for (const auto& p : u.Pole) {
            blokujace_ += p.Blokuje ? 1 : 0;
            ostrzezenia_ += !p.Blokuje && !p.Tekst.isEmpty() ? 1 : 0;
        }
    }
}

void ModelSlow::ZamienKolumny()
{
    beginResetModel();
    for (Para& p : pary_)
        std::swap(p.Angielski, p.Polski);
    Sprawdz();
    endResetModel();
    emit zmieniony();
}

int ModelSlow::PustyNaKoncu()
{
    const int wiersze = int(pary_.size());
    if (wiersze > 0 && pary_.last().Angielski.trimmed().isEmpty() && pary_.last().Polski.trimmed().isEmpty())
        return wiersze - 1;
    beginInsertRows(QModelIndex(), wiersze, wiersze);
    pary_.append(Para{});
    Sprawdz();
    endInsertRows();
    return wiersze;
}

int ModelSlow::rowCount(const QModelIndex& rodzic) const
{
    return rodzic.isValid() ? 0 : int(pary_.size());
}

int ModelSlow::columnCount(const QModelIndex& rodzic) const
{
    return rodzic.isValid() ? 0 : 2;
}

QVariant ModelSlow::data(const QModelIndex& indeks, int rola) const
{
    if (!indeks.isValid() || indeks.row() >= pary_.size())
        return {};
    const Para& p = pary_[indeks.row()];
    const vokara::Uwaga& u = uwagi_[indeks.row()].Pole[indeks.column()];
    switch (rola) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return indeks.column() == 0 ? p.Angielski : p.Polski;
    case Qt::BackgroundRole:
        if (!u.Tekst.isEmpty())
            return u.Blokuje ? TloBledu : TloOstrzezenia;
        return {};
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return u.Tekst.isEmpty() ? QVariant() : QVariant(u.Tekst);
    default:
        return {};
    }
}

bool ModelSlow::setData(const QModelIndex& indeks, const QVariant& wartosc, int rola)
{
    if (!indeks.isValid() || rola != Qt::EditRole || indeks.row() >= pary_.size())
        return false;
    Para& p = pary_[indeks.row()];
    QString& pole = indeks.column() == 0 ? p.Angielski : p.Polski;
    const QString nowe = wartosc.toString();
    if (pole == nowe)
        return true;
    pole = nowe;
    // One field can make or end a duplicate anywhere in the set, so every row is checked again.
    Sprawdz();
    emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
    emit zmieniony();
    return true;
}

QVariant ModelSlow::headerData(int sekcja, Qt::Orientation kierunek, int rola) const
{
    if (rola != Qt::DisplayRole)
        return {};
    if (kierunek == Qt::Vertical)
        return sekcja + 1;
    return sekcja == 0 ? QStringLiteral("Angielski") : QStringLiteral("Polski");
}

Qt::ItemFlags ModelSlow::flags(const QModelIndex& indeks) const
{
    return QAbstractTableModel::flags(indeks) | Qt::ItemIsEditable;
}

bool ModelSlow::insertRows(int wiersz, int ile, const QModelIndex& rodzic)
{
    if (rodzic.isValid() || wiersz < 0 || wiersz > pary_.size() || ile < 1)
        return false;
    beginInsertRows(rodzic, wiersz, wiersz + ile - 1);
    pary_.insert(wiersz, ile, Para{});
    Sprawdz();
    endInsertRows();
    emit zmieniony();
    return true;
}

bool ModelSlow::removeRows(int wiersz, int ile, const QModelIndex& rodzic)
{
    if (rodzic.isValid() || wiersz < 0 || ile < 1 || wiersz + ile > pary_.size())
        return false;
    beginRemoveRows(rodzic, wiersz, wiersz + ile - 1);
    pary_.remove(wiersz, ile);
    Sprawdz();
    endRemoveRows();
    if (!pary_.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
    emit zmieniony();
    return true;
}

bool ModelSlow::moveRows(const QModelIndex& zRodzica, int wiersz, int ile, const QModelIndex& doRodzica, int cel)
{
    if (zRodzica.isValid() || doRodzica.isValid() || ile != 1 || wiersz < 0 || wiersz >= pary_.size() || cel < 0 ||
        cel > pary_.size() || cel == wiersz || cel == wiersz + 1)
        return false;
    beginMoveRows(zRodzica, wiersz, wiersz, doRodzica, cel);
    pary_.move(wiersz, cel > wiersz ? cel - 1 : cel);
    Sprawdz();
    endMoveRows();
    emit dataChanged(index(0, 0), index(rowCount() - 1, 1));
    emit zmieniony();
    return true;
}

// ---- The window ----

TFMojeZestawy::TFMojeZestawy(std::function<std::filesystem::path()> katalogRoboczy,
                             std::function<vokara::_zestawy()> zestawyListy, TFWarning& warning, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TFMojeZestawy>()), katalogRoboczy_(std::move(katalogRoboczy)),
      zestawyListy_(std::move(zestawyListy)), warning_(warning), model_(this)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window);
    setAttribute(Qt::WA_StyledBackground);
    setWindowIcon(QIcon(QStringLiteral(":/obrazy/vokara.png")));
    ui->TSlowa->setModel(&model_);
    ui->TSlowa->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->TSlowa->verticalHeader()->setDefaultSectionSize(22);
    ui->TSlowa->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->TSlowa->NowyWiersz = [this] { return model_.PustyNaKoncu(); };
    auto* komorka = new KomorkaSlowa(ui->TSlowa);
    ui->TSlowa->setItemDelegate(komorka);
    komorka->Podpowiedzi = [this](int kolumna, const QString& drugie) {
        // Only a dictionary already read answers here: the window never waits for one to load.
        QStringList wynik;
        if (!slownik_ || !slownik_->Czytany())
            return wynik;
        const std::string tekst = drugie.toStdString();
        const vokara::Wynik w = kolumna == 1 ? slownik_->SzukajAngielskie(tekst) : slownik_->SzukajPolskie(tekst);
        for (const std::string& z : w.Znaczenia(8))
            wynik << QString::fromStdString(z);
        return wynik;
    };
    connect(ui->ButSlowaZTekstu, &QPushButton::clicked, this, [this] { emit slowaZTekstu(QString()); });
    connect(komorka, &KomorkaSlowa::zaDlugi, this, &TFMojeZestawy::PokazDlugosc);

    connect(ui->LZestawy, &QListWidget::currentRowChanged, this, &TFMojeZestawy::ZmianaZaznaczenia);
    connect(ui->ButNowy, &QPushButton::clicked, this, &TFMojeZestawy::ButNowyClick);
    connect(ui->ButKopiuj, &QPushButton::clicked, this, &TFMojeZestawy::ButKopiujClick);
    connect(ui->ButUsun, &QPushButton::clicked, this, &TFMojeZestawy::ButUsunClick);
    connect(ui->ButImportuj, &QPushButton::clicked, this, &TFMojeZestawy::ButImportujClick);
    connect(ui->ButEksportuj, &QPushButton::clicked, this, &TFMojeZestawy::ButEksportujClick);
    connect(ui->ButZapisz, &QPushButton::clicked, this, &TFMojeZestawy::Zapisz);
    connect(ui->ButZamknij, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->ButDodajWiersz, &QPushButton::clicked, this, &TFMojeZestawy::DodajWiersz);
    connect(ui->ButUsunWiersz, &QPushButton::clicked, this, &TFMojeZestawy::UsunWiersz);
    connect(ui->ButWGore, &QPushButton::clicked, this, [this] { Przesun(-1); });
    connect(ui->ButWDol, &QPushButton::clicked, this, [this] { Przesun(1); });
    connect(ui->ButZamienKolumny, &QPushButton::clicked, &model_, &ModelSlow::ZamienKolumny);
    ui->CPierwszyNaglowek->hide();
    connect(ui->CPierwszyNaglowek, &QCheckBox::toggled, this, &TFMojeZestawy::PierwszyNaglowkiem);
    connect(&model_, &ModelSlow::zmieniony, this, &TFMojeZestawy::Zmieniono);
    for (QLineEdit* pole : {ui->ENazwa, ui->ENaglowekWyraz, ui->ENaglowekOznacza})
        connect(pole, &QLineEdit::textChanged, this, &TFMojeZestawy::Zmieniono);
    connect(ui->TSlowa->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFMojeZestawy::PokazUwage);
    connect(&model_, &QAbstractItemModel::dataChanged, this, &TFMojeZestawy::PokazUwage);

    auto* zapisz = new QShortcut(QKeySequence::Save, this);
    connect(zapisz, &QShortcut::activated, this, &TFMojeZestawy::Zapisz);
    auto* wGore = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), this);
    connect(wGore, &QShortcut::activated, this, [this] { Przesun(-1); });
    auto* wDol = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), this);
    connect(wDol, &QShortcut::activated, this, [this] { Przesun(1); });
    auto* wstaw = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(wstaw, &QShortcut::activated, this, &TFMojeZestawy::DodajWiersz);
    resize(900, 600);
}

TFMojeZestawy::~TFMojeZestawy() = default;

void TFMojeZestawy::UstawSlownik(std::shared_ptr<vokara::Slownik> slownik)
{
    slownik_ = std::move(slownik);
}

void TFMojeZestawy::Otworz()
{
    // The dictionary's suggestions are read in the background while the learner starts typing.
    if (slownik_ && !slownik_->Czytany())
        vokara::WTle([slownik = slownik_] { return slownik->Wczytaj(); });
    if (!isVisible())
        zmienionePliki_.clear();
    // Hidden, the window holds no unsaved work but an import waiting to be saved; the list is read afresh.
    if (!isVisible() && !zmieniony_)
        WypelnijListe(plik_);
    if (pierwszePokazanie_ && parentWidget()) {
        // The first time over the main window's middle; after that wherever the user left it.
        pierwszePokazanie_ = false;
        QRect ramka(QPoint(), size());
        ramka.moveCenter(parentWidget()->frameGeometry().center());
        move(ramka.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void TFMojeZestawy::WypelnijListe(const QString& zaznacz)
{
    wypelnianie_ = true;
    ui->LZestawy->clear();
    int wiersz = -1;
    for (const vokara::_zestaw& z : vokara::ListaMoich(katalogRoboczy_())) {
        auto* pozycja = new QListWidgetItem(vokara::ZCp1250(z.Nazwa), ui->LZestawy);
        pozycja->setData(Qt::UserRole, QString::fromStdString(z.Plik));
        if (QString::fromStdString(z.Plik) == zaznacz)
            wiersz = ui->LZestawy->count() - 1;
    }
    if (wiersz < 0 && ui->LZestawy->count() > 0)
        wiersz = 0;
    ui->LZestawy->setCurrentRow(wiersz);
    wypelnianie_ = false;
    wierszListy_ = wiersz;
    if (wiersz < 0 || !WczytajPozycje(ui->LZestawy->item(wiersz))) {
        vokara::WlasnyZestaw nowy;
        nowy.Nazwa = WolnaNazwa(QStringLiteral("Nowy zestaw"));
        nowy.Pary.append(Para{});
        Pokaz(nowy, true);
    }
}

void TFMojeZestawy::Pokaz(const vokara::WlasnyZestaw& zestaw, bool nowy)
{
    wypelnianie_ = true;
    plik_ = zestaw.Plik;
    // A field never cuts what it is given: a longer text widens it, and the checks say what is too long.
    for (auto [pole, tekst] :
         {std::pair{ui->ENazwa, &zestaw.Nazwa}, std::pair{ui->ENaglowekWyraz, &zestaw.NaglowekWyraz},
          std::pair{ui->ENaglowekOznacza, &zestaw.NaglowekOznacza}}) {
        if (tekst->size() > pole->maxLength())
            pole->setMaxLength(int(tekst->size()));
    }
    // The header choice belongs to an import: any other set shown drops it.
    naglowekImportu_.reset();
    ui->CPierwszyNaglowek->hide();
    ui->ENazwa->setText(zestaw.Nazwa);
    ui->ENaglowekWyraz->setText(zestaw.NaglowekWyraz);
    ui->ENaglowekOznacza->setText(zestaw.NaglowekOznacza);
    model_.Ustaw(zestaw.Pary);
    ui->LPodsumowanie->clear();
    // A set that has never been saved is shown as the list's last item until it is saved or dropped.
    for (int i = ui->LZestawy->count() - 1; i >= 0; --i) {
        if (ui->LZestawy->item(i)->data(Qt::UserRole).toString().isEmpty())
            delete ui->LZestawy->takeItem(i);
    }
    if (nowy) {
        auto* pozycja = new QListWidgetItem(zestaw.Nazwa + QStringLiteral(" (nowy)"), ui->LZestawy);
        pozycja->setData(Qt::UserRole, QString());
        ui->LZestawy->setCurrentItem(pozycja);
    }
    wierszListy_ = ui->LZestawy->currentRow();
    wypelnianie_ = false;
    // A new empty set holds nothing to lose yet; an import or a copy does.
    zmieniony_ = nowy && !zestaw.Pary.isEmpty() && !(zestaw.Pary.size() == 1 && zestaw.Pary[0] == Para{});
    Odswiez();
    if (model_.rowCount() > 0)
        ui->TSlowa->setCurrentIndex(model_.index(0, 0));
}

void TFMojeZestawy::ZmianaZaznaczenia(int wiersz)
{
    if (wypelnianie_ || wiersz == wierszListy_)
        return;
    const auto* pozycja = ui->LZestawy->item(wiersz);
    const QString cel = pozycja ? pozycja->data(Qt::UserRole).toString() : QString();
    const auto wroc = [this] {
        wypelnianie_ = true;
        ui->LZestawy->setCurrentRow(wierszListy_);
        wypelnianie_ = false;
    };
    if (!MoznaOpuscic()) {
        wroc(); // back to the set being edited, without asking again
        return;
    }
    // Saving on the way may have rebuilt the list: the set asked for is found again by its file.
    for (int i = 0; i < ui->LZestawy->count(); ++i) {
        if (!cel.isEmpty() && ui->LZestawy->item(i)->data(Qt::UserRole).toString() == cel) {
            wypelnianie_ = true;
            ui->LZestawy->setCurrentRow(i);
            wypelnianie_ = false;
            wierszListy_ = i;
            WczytajPozycje(ui->LZestawy->item(i));
            return;
        }
    }
    wroc();
}

bool TFMojeZestawy::WczytajPozycje(const QListWidgetItem* pozycja)
{
    const QString plik = pozycja->data(Qt::UserRole).toString();
    vokara::WlasnyZestaw zestaw;
    if (!vokara::WczytajWlasny(katalogRoboczy_(), plik.toStdString(), zestaw)) {
        Komunikat(QStringLiteral("Nie można odczytać zestawu „%1”.").arg(pozycja->text()));
        return false;
    }
    zestaw.Nazwa = pozycja->text();
    zestaw.Plik = plik;
    Pokaz(zestaw, false);
    return true;
}

vokara::WlasnyZestaw TFMojeZestawy::Biezacy() const
{
    vokara::WlasnyZestaw z;
    z.Nazwa = ui->ENazwa->text().trimmed();
    z.Plik = plik_;
    z.NaglowekWyraz = ui->ENaglowekWyraz->text();
    z.NaglowekOznacza = ui->ENaglowekOznacza->text();
    z.Pary = model_.Pary();
    return z;
}

QStringList TFMojeZestawy::InneNazwy() const
{
    // Shipped sets count too: two picker items of one name could not be told apart.
    QStringList nazwy;
    for (const vokara::_zestaw& z : zestawyListy_())
        nazwy << vokara::ZCp1250(z.Nazwa).trimmed();
    for (int i = 0; i < ui->LZestawy->count(); ++i) {
        const QString plik = ui->LZestawy->item(i)->data(Qt::UserRole).toString();
        if (!plik.isEmpty() && plik != plik_)
            nazwy << ui->LZestawy->item(i)->text().trimmed();
    }
    return nazwy;
}

QString TFMojeZestawy::WolnaNazwa(const QString& podstawa) const
{
    const QStringList zajete = InneNazwy();
    QString nazwa = podstawa;
    for (int n = 2; zajete.contains(nazwa, Qt::CaseInsensitive); ++n)
        nazwa = QStringLiteral("%1 (%2)").arg(podstawa).arg(n);
    return nazwa;
}

void TFMojeZestawy::Zmieniono()
{
    if (wypelnianie_)
        return;
    zmieniony_ = true;
    Odswiez();
}

void TFMojeZestawy::Odswiez()
{
    const QString uwaga = vokara::SprawdzNazwe(ui->ENazwa->text(), InneNazwy());
    QString podpisy = vokara::SprawdzNaglowek(ui->ENaglowekWyraz->text());
    if (podpisy.isEmpty())
        podpisy = vokara::SprawdzNaglowek(ui->ENaglowekOznacza->text());
    ui->LUwagaNazwy->setText(!uwaga.isEmpty()    ? uwaga
                             : podpisy.isEmpty() ? QString()
                                                 : QStringLiteral("Podpis: ") + podpisy);
    if (auto* pozycja = ui->LZestawy->currentItem(); pozycja && pozycja->data(Qt::UserRole).toString().isEmpty())
        pozycja->setText(ui->ENazwa->text() + QStringLiteral(" (nowy)"));
    setWindowTitle(
        QStringLiteral("Moje zestawy – %1%2").arg(ui->ENazwa->text(), zmieniony_ ? QStringLiteral("*") : QString()));
    PokazUwage();
}

void TFMojeZestawy::PokazUwage()
{
    const QModelIndex biezacy = ui->TSlowa->currentIndex();
    QString tekst;
    if (biezacy.isValid() && biezacy.row() < model_.Uwagi().size()) {
        const vokara::Uwaga& u = model_.Uwagi()[biezacy.row()].Pole[biezacy.column()];
        if (!u.Tekst.isEmpty())
            tekst = QStringLiteral("Wiersz %1: %2.").arg(biezacy.row() + 1).arg(u.Tekst);
    }
    if (tekst.isEmpty() && (model_.Blokujace() > 0 || model_.Ostrzezenia() > 0))
        tekst = QStringLiteral("Pola do poprawienia: %1, ostrzeżenia: %2 (zaznaczone kolorem; opis po najechaniu).")
                    .arg(model_.Blokujace())
                    .arg(model_.Ostrzezenia());
    ui->LUwaga->setText(tekst);
    ui->LUwaga->setStyleSheet(model_.Blokujace() > 0 ? QStringLiteral("color: rgb(170,0,0);") : QString());
}

void TFMojeZestawy::PokazDlugosc(const QModelIndex& indeks, int bajty)
{
    // While a cell is typed into, its size is told at once; when it fits again, the usual remarks come back.
    if (bajty == 0) {
        PokazUwage();
        return;
    }
    ui->LUwaga->setText(QStringLiteral("Wiersz %1: %2.").arg(indeks.row() + 1).arg(vokara::OpisDlugosci(bajty)));
    ui->LUwaga->setStyleSheet(QStringLiteral("color: rgb(170,0,0);"));
}

bool TFMojeZestawy::MoznaOpuscic()
{
    if (!zmieniony_)
        return true;
    warning_.Komunikat(vokara::komunikat::Pytanie, vokara::komunikat::IkonaPytania,
                       QStringLiteral("Zapisać zmiany w zestawie „%1”?").arg(ui->ENazwa->text().trimmed()));
    switch (warning_.WynikOkna) {
    case vokara::komunikat::Tak:
        return Zapisz();
    case vokara::komunikat::Nie:
        zmieniony_ = false;
        if (plik_.isEmpty()) {
            // The unsaved new set goes away with its answer.
            for (int i = ui->LZestawy->count() - 1; i >= 0; --i) {
                if (ui->LZestawy->item(i)->data(Qt::UserRole).toString().isEmpty()) {
                    wypelnianie_ = true;
                    delete ui->LZestawy->takeItem(i);
                    wypelnianie_ = false;
                }
            }
            wierszListy_ = ui->LZestawy->currentRow();
        }
        return true;
    default:
        return false;
    }
}

bool TFMojeZestawy::Zapisz()
{
    vokara::WlasnyZestaw zestaw = Biezacy();
    int wiersz = -1;
    const QString blad = vokara::PierwszyBlad(zestaw, InneNazwy(), &wiersz);
    if (!blad.isEmpty()) {
        if (wiersz >= 0)
            ui->TSlowa->setCurrentIndex(model_.index(wiersz, model_.Uwagi()[wiersz].Pole[0].Blokuje ? 0 : 1));
        Komunikat(QStringLiteral("Nie zapisano zestawu.") + QLatin1Char('\r') + blad);
        return false;
    }
    QString bladZapisu;
    if (!vokara::ZapiszWlasny(katalogRoboczy_(), zestaw, bladZapisu)) {
        Komunikat(QStringLiteral("Nie zapisano zestawu.") + QLatin1Char('\r') + bladZapisu);
        return false;
    }
    zmieniony_ = false;
    const QString podsumowanie = ui->LPodsumowanie->text();
    WypelnijListe(zestaw.Plik);
    ui->LPodsumowanie->setText(podsumowanie.isEmpty() ? QStringLiteral("Zapisano.")
                                                      : podsumowanie + QStringLiteral(" Zapisano."));
    setWindowTitle(QStringLiteral("Moje zestawy – %1").arg(zestaw.Nazwa));
    zmienionePliki_ << zestaw.Plik;
    emit zestawyZmienione();
    return true;
}

void TFMojeZestawy::ButNowyClick()
{
    if (!MoznaOpuscic())
        return;
    vokara::WlasnyZestaw nowy;
    plik_.clear();
    nowy.Nazwa = WolnaNazwa(QStringLiteral("Nowy zestaw"));
    nowy.Pary.append(Para{});
    Pokaz(nowy, true);
    ui->ENazwa->setFocus();
    ui->ENazwa->selectAll();
}

void TFMojeZestawy::ButKopiujClick()
{
    const vokara::_zestawy zestawy = zestawyListy_();
    QStringList nazwy;
    for (const auto& z : zestawy)
        nazwy << vokara::ZCp1250(z.Nazwa);
    if (nazwy.isEmpty()) {
        Komunikat(QStringLiteral("Nie ma zestawów do skopiowania."));
        return;
    }
    bool ok = false;
    const QString wybor =
        QInputDialog::getItem(this, QStringLiteral("Kopiuj zestaw"),
                              QStringLiteral("Który zestaw skopiować jako Twój własny?"), nazwy, 0, false, &ok);
    const qsizetype i = nazwy.indexOf(wybor);
    if (!ok || i < 0 || !MoznaOpuscic())
        return;
    vokara::WlasnyZestaw kopia;
    if (!vokara::WczytajWlasny(katalogRoboczy_(), zestawy[std::size_t(i)].Plik, kopia)) {
        Komunikat(QStringLiteral("Nie można odczytać zestawu „%1”.").arg(wybor));
        return;
    }
    plik_.clear();
    kopia.Nazwa = WolnaNazwa(wybor + QStringLiteral(" – kopia"));
    Pokaz(kopia, true);
    zmieniony_ = true;
}

void TFMojeZestawy::ButUsunClick()
{
    const QString nazwa = ui->ENazwa->text().trimmed();
    warning_.Komunikat(vokara::komunikat::Pytanie, vokara::komunikat::IkonaUwagi,
                       QStringLiteral("Usunąć zestaw „%1”?").arg(nazwa) + QLatin1Char('\r') +
                           QStringLiteral("Tego nie można cofnąć."));
    if (warning_.WynikOkna != vokara::komunikat::Tak)
        return;
    if (!plik_.isEmpty()) {
        QString blad;
        if (!vokara::UsunWlasny(katalogRoboczy_(), plik_, blad)) {
            Komunikat(blad);
            return;
        }
    }
    zmieniony_ = false;
    zmienionePliki_ << plik_;
    plik_.clear();
    WypelnijListe(QString());
    emit zestawyZmienione();
}

void TFMojeZestawy::ButImportujClick()
{
    const QString sciezka = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importuj słowa"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        QStringLiteral(
            "Listy słów i teksty (*.txt *.csv *.tsv *.kvtml *.xml *.srt *.vtt *.htm *.html);;Wszystkie pliki (*)"));
    if (sciezka.isEmpty())
        return;
    // Subtitles or an article are not a list of pairs: their words go to the words window instead.
    if (TekstDoSlow && TekstDoSlow(sciezka)) {
        emit slowaZTekstu(sciezka);
        return;
    }
    Importuj(sciezka);
}

bool TFMojeZestawy::Importuj(const QString& sciezka)
{
    if (!MoznaOpuscic())
        return false;
    if (!isVisible())
        WypelnijListe(plik_); // the own sets are listed beside the import even before the window first shows
    const vokara::WynikImportu wynik = vokara::ImportujPlik(sciezka);
    if (!wynik.Ok) {
        Komunikat(QStringLiteral("Nie zaimportowano pliku „%1”.")
                      .arg(vokara::NazwaDoKomunikatu(QFileInfo(sciezka).fileName())) +
                  QLatin1Char('\r') + wynik.Blad);
        return false;
    }
    vokara::WlasnyZestaw zestaw;
    plik_.clear();
    // The file's base name, with anything a name cannot hold made a blank.
    QString nazwa = vokara::OczyscPole(QFileInfo(sciezka).completeBaseName()).left(80);
    nazwa.replace(QLatin1Char('*'), QLatin1Char(' '));
    zestaw.Nazwa = WolnaNazwa(nazwa.isEmpty() ? QStringLiteral("Zaimportowany zestaw") : nazwa);
    if (!wynik.NaglowekWyraz.isEmpty() || !wynik.NaglowekOznacza.isEmpty()) {
        zestaw.NaglowekWyraz = wynik.NaglowekWyraz;
        zestaw.NaglowekOznacza = wynik.NaglowekOznacza;
    }
    zestaw.Pary = wynik.Pary;
    // A first row that reads as the columns' titles is left out, and the learner can take it back.
    const bool naglowek = wynik.PierwszyNaglowkiem && zestaw.Pary.size() > 1;
    std::optional<vokara::Para> pierwszy;
    if (naglowek)
        pierwszy = zestaw.Pary.takeFirst();
    Pokaz(zestaw, true);
    naglowekImportu_ = pierwszy;
    {
        const QSignalBlocker blokada(ui->CPierwszyNaglowek);
        ui->CPierwszyNaglowek->setChecked(naglowek);
    }
    ui->CPierwszyNaglowek->setVisible(wynik.Rodzaj != QLatin1String("KVTML 2") && wynik.NaglowekWyraz.isEmpty() &&
                                      wynik.NaglowekOznacza.isEmpty());
    zmieniony_ = true;
    ui->LPodsumowanie->setText(wynik.Podsumowanie() +
                               QStringLiteral(" Sprawdź słowa i kliknij „Zapisz”; jeśli kolumny są odwrotnie, "
                                              "kliknij „Zamień kolumny”."));
    return true;
}

void TFMojeZestawy::PierwszyNaglowkiem(bool naglowek)
{
    QList<vokara::Para> pary = model_.Pary();
    if (naglowek && !naglowekImportu_ && !pary.isEmpty()) {
        naglowekImportu_ = pary.takeFirst();
    } else if (!naglowek && naglowekImportu_) {
        pary.prepend(*naglowekImportu_);
        naglowekImportu_.reset();
    } else {
        return;
    }
    model_.Ustaw(pary);
    Zmieniono();
}

void TFMojeZestawy::ButEksportujClick()
{
    QString filtr = FiltrTsv;
    QString nazwa = ui->ENazwa->text().trimmed();
    nazwa.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString poczatek = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/') +
                             (nazwa.isEmpty() ? QStringLiteral("zestaw") : nazwa) + QStringLiteral(".tsv");
    QString sciezka = QFileDialog::getSaveFileName(
        this, QStringLiteral("Eksportuj zestaw"), poczatek,
        FiltrTsv + QStringLiteral(";;") + FiltrKvtml + QStringLiteral(";;") + FiltrZestawu, &filtr);
    if (sciezka.isEmpty())
        return;
    // A file named .kvtml is KVTML whichever filter was left chosen; with the KVTML filter the name offered (.tsv)
    // takes the extension the peers' "Open" looks for. The dialog has not asked about that name, so it is asked here.
    const QString rozszerzenie = QFileInfo(sciezka).suffix().toLower();
    const bool kvtml = filtr == FiltrKvtml || rozszerzenie == QLatin1String("kvtml");
    if (kvtml && rozszerzenie != QLatin1String("kvtml")) {
        if (rozszerzenie == QLatin1String("tsv") || rozszerzenie == QLatin1String("txt"))
            sciezka.chop(rozszerzenie.size() + 1);
        sciezka += QStringLiteral(".kvtml");
        if (QFileInfo::exists(sciezka)) {
            warning_.Komunikat(vokara::komunikat::Pytanie, vokara::komunikat::IkonaPytania,
                               QStringLiteral("Plik „%1” już jest. Zastąpić go?").arg(QFileInfo(sciezka).fileName()));
            if (warning_.WynikOkna != vokara::komunikat::Tak)
                return;
        }
    }
    Eksportuj(sciezka, kvtml                   ? FormatEksportu::Kvtml
                       : filtr == FiltrZestawu ? FormatEksportu::Zestaw
                                               : FormatEksportu::Tsv);
}

bool TFMojeZestawy::Eksportuj(const QString& sciezka, FormatEksportu format)
{
    const vokara::WlasnyZestaw zestaw = Biezacy();
    QString blad;
    const bool ok = format == FormatEksportu::Zestaw  ? vokara::EksportujZestaw(sciezka, zestaw, blad)
                    : format == FormatEksportu::Kvtml ? vokara::EksportujKvtml(sciezka, zestaw, blad)
                                                      : vokara::EksportujTsv(sciezka, zestaw, blad);
    if (!ok) {
        Komunikat(QStringLiteral("Nie wyeksportowano zestawu.") + QLatin1Char('\r') + blad);
        return false;
    }
    ui->LPodsumowanie->setText(QStringLiteral("Wyeksportowano do pliku %1.").arg(QDir::toNativeSeparators(sciezka)));
    return true;
}

void TFMojeZestawy::DodajWiersz()
{
    const QModelIndex biezacy = ui->TSlowa->currentIndex();
    const int wiersz = biezacy.isValid() ? biezacy.row() + 1 : model_.rowCount();
    model_.insertRows(wiersz, 1);
    const QModelIndex nowy = model_.index(wiersz, 0);
    ui->TSlowa->setCurrentIndex(nowy);
    ui->TSlowa->setFocus();
    ui->TSlowa->edit(nowy);
}

void TFMojeZestawy::UsunWiersz()
{
    const QModelIndex biezacy = ui->TSlowa->currentIndex();
    if (!biezacy.isValid())
        return;
    model_.removeRows(biezacy.row(), 1);
    if (model_.rowCount() > 0)
        ui->TSlowa->setCurrentIndex(model_.index(std::min(biezacy.row(), model_.rowCount() - 1), biezacy.column()));
}

void TFMojeZestawy::Przesun(int oIle)
{
    const QModelIndex biezacy = ui->TSlowa->currentIndex();
    if (!biezacy.isValid())
        return;
    const int z = biezacy.row();
    const int na = z + oIle;
    if (na < 0 || na >= model_.rowCount())
        return;
    model_.moveRows({}, z, 1, {}, oIle > 0 ? na + 1 : na);
    ui->TSlowa->setCurrentIndex(model_.index(na, biezacy.column()));
}

void TFMojeZestawy::Komunikat(const QString& tekst)
{
    warning_.Komunikat(vokara::komunikat::Informacja, vokara::komunikat::IkonaUwagi, tekst);
}

void TFMojeZestawy::closeEvent(QCloseEvent* zdarzenie)
{
    if (!MoznaOpuscic()) {
        zdarzenie->ignore();
        return;
    }
    zdarzenie->accept();
    emit zamkniety(zmienionePliki_);
    zmienionePliki_.clear();
}
