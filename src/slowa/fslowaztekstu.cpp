// The words window: a file read and its words listed on a worker thread, the list in a model of its own (so a text of
// thousands of words shows at once), the ticked words saved as an own set through the service the window is given.
#include "fslowaztekstu.h"

#include "dane.h"
#include "slownik.h"
#include "tekst.h"
#include "tekstpliku.h"
#include "ui_fslowaztekstu.h"
#include "wtle.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>

#include <unordered_set>

namespace {

enum Kolumna { KSlowo, KIle, KZnaczenie, LiczbaKolumn };

} // namespace

void ModelSlowTekstu::Ustaw(std::vector<Wiersz> wiersze)
{
    beginResetModel();
    wiersze_ = std::move(wiersze);
    zaznaczone_ = 0;
    for (const Wiersz& w : wiersze_)
        zaznaczone_ += w.Zaznaczony ? 1 : 0;
    endResetModel();
    emit zaznaczenieZmienione();
}

void ModelSlowTekstu::ZaznaczWszystkie(bool zaznacz)
{
    for (Wiersz& w : wiersze_)
        w.Zaznaczony = zaznacz;
    zaznaczone_ = zaznacz ? int(wiersze_.size()) : 0;
    if (!wiersze_.empty())
        emit dataChanged(index(0, KSlowo), index(int(wiersze_.size()) - 1, KSlowo), {Qt::CheckStateRole});
    emit zaznaczenieZmienione();
}

int ModelSlowTekstu::rowCount(const QModelIndex& rodzic) const
{
    return rodzic.isValid() ? 0 : int(wiersze_.size());
}

int ModelSlowTekstu::columnCount(const QModelIndex& rodzic) const
{
    return rodzic.isValid() ? 0 : LiczbaKolumn;
}

QVariant ModelSlowTekstu::data(const QModelIndex& indeks, int rola) const
{
    if (!indeks.isValid() || std::size_t(indeks.row()) >= wiersze_.size())
        return {};
    const Wiersz& w = wiersze_[std::size_t(indeks.row())];
    switch (rola) {
    case Qt::DisplayRole:
        return indeks.column() == KSlowo ? QVariant(w.Haslo)
               : indeks.column() == KIle ? QVariant(w.Ile)
                                         : QVariant(w.Znaczenie);
    case Qt::CheckStateRole:
        return indeks.column() == KSlowo ? QVariant(w.Zaznaczony ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::TextAlignmentRole:
        return indeks.column() == KIle ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::AccessibleTextRole:
        // A screen reader hears the word's row at once: the word, its count and its meaning.
        return indeks.column() == KSlowo
                   ? QVariant(QStringLiteral("%1, razy: %2, %3").arg(w.Haslo).arg(w.Ile).arg(w.Znaczenie))
                   : QVariant();
    default:
        return {};
    }
}

bool ModelSlowTekstu::setData(const QModelIndex& indeks, const QVariant& wartosc, int rola)
{
    if (!indeks.isValid() || indeks.column() != KSlowo || rola != Qt::CheckStateRole ||
        std::size_t(indeks.row()) >= wiersze_.size())
        return false;
    Wiersz& w = wiersze_[std::size_t(indeks.row())];
    const bool zaznacz = wartosc.value<Qt::CheckState>() == Qt::Checked;
    if (w.Zaznaczony != zaznacz) {
        w.Zaznaczony = zaznacz;
        zaznaczone_ += zaznacz ? 1 : -1;
        emit dataChanged(indeks, indeks, {Qt::CheckStateRole});
        emit zaznaczenieZmienione();
    }
    return true;
}

QVariant ModelSlowTekstu::headerData(int sekcja, Qt::Orientation kierunek, int rola) const
{
    if (kierunek != Qt::Horizontal || rola != Qt::DisplayRole)
        return QAbstractTableModel::headerData(sekcja, kierunek, rola);
    switch (sekcja) {
    case KSlowo:
        return QStringLiteral("Słowo");
    case KIle:
        return QStringLiteral("Ile razy");
    case KZnaczenie:
        return QStringLiteral("Pierwsze znaczenie");
    default:
        return {};
    }
}

Qt::ItemFlags ModelSlowTekstu::flags(const QModelIndex& indeks) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(indeks);
    if (indeks.isValid() && indeks.column() == KSlowo)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

TFSlowaZTekstu::TFSlowaZTekstu(UslugiSlow uslugi, QWidget* parent)
    : QWidget(parent, Qt::Window), uslugi_(std::move(uslugi)), ui(std::make_unique<Ui::TFSlowaZTekstu>())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(size());
    ui->TSlowa->setModel(&model_);
    // Fixed widths: sizing a column to its contents would read every row of a long list.
    QHeaderView* naglowek = ui->TSlowa->horizontalHeader();
    naglowek->setSectionResizeMode(KSlowo, QHeaderView::Interactive);
    naglowek->setSectionResizeMode(KIle, QHeaderView::Fixed);
    naglowek->setSectionResizeMode(KZnaczenie, QHeaderView::Stretch);
    naglowek->resizeSection(KSlowo, 220);
    naglowek->resizeSection(KIle, 70);
    ui->TSlowa->verticalHeader()->hide();
    ui->TSlowa->verticalHeader()->setDefaultSectionSize(20);
    ui->LSlowa->setBuddy(ui->TSlowa);
    ui->LBezHasla->setBuddy(ui->TBezHasla);
    ui->LNazwa->setBuddy(ui->ENazwa);

    connect(ui->ButOtworzPlik, &QPushButton::clicked, this, &TFSlowaZTekstu::WybierzPlik);
    connect(ui->ButZaznacz, &QPushButton::clicked, this, [this] { model_.ZaznaczWszystkie(true); });
    connect(ui->ButOdznacz, &QPushButton::clicked, this, [this] { model_.ZaznaczWszystkie(false); });
    connect(ui->ButUtworz, &QPushButton::clicked, this, &TFSlowaZTekstu::UtworzZestaw);
    connect(ui->ButZamknij, &QPushButton::clicked, this, &QWidget::close);
    connect(&model_, &ModelSlowTekstu::zaznaczenieZmienione, this, &TFSlowaZTekstu::PokazZaznaczone);
    connect(&czytanie_, &QFutureWatcherBase::finished, this, [this] {
        if (czytanie_.future().resultCount() == 0)
            return;
        const Odczyt o = czytanie_.result();
        // Another file was asked for meanwhile: its own reading is on its way.
        if (o.Sciezka == sciezka_)
            Przeczytano(o);
    });
    PokazZaznaczone();
    Stan(QStringLiteral("Wybierz plik z tekstem: napisy do filmu (.srt, .vtt), artykuł lub książkę (.txt, .html)."));
}

TFSlowaZTekstu::~TFSlowaZTekstu() = default;

void TFSlowaZTekstu::keyPressEvent(QKeyEvent* zdarzenie)
{
    // Escape closes the window, as it would a dialog.
    if (zdarzenie->key() == Qt::Key_Escape && zdarzenie->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(zdarzenie);
}

void TFSlowaZTekstu::Pokaz()
{
    if (!isVisible() && parentWidget()) {
        // Over the middle of the main window, as a dialog would open.
        QRect ramka = frameGeometry();
        ramka.moveCenter(parentWidget()->frameGeometry().center());
        move(ramka.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void TFSlowaZTekstu::WybierzPlik()
{
    const QString sciezka = QFileDialog::getOpenFileName(
        this, QStringLiteral("Wybierz plik z tekstem"), sciezka_.isEmpty() ? QString() : QFileInfo(sciezka_).path(),
        QStringLiteral("Teksty (*.srt *.vtt *.txt *.htm *.html);;Wszystkie pliki (*)"));
    if (!sciezka.isEmpty())
        Wczytaj(sciezka);
}

void TFSlowaZTekstu::Wczytaj(const QString& sciezka)
{
    sciezka_ = sciezka;
    ui->LPlik->setText(QFileInfo(sciezka).fileName());
    ui->ENazwa->setText(QFileInfo(sciezka).completeBaseName());
    ui->ButUtworz->setEnabled(false);
    Stan(QStringLiteral("Czytam tekst i szukam jego słów w słowniku…"));
    if (!uslugi_.Slownik) {
        Przeczytano({sciezka, QString::fromUtf8(vokara::KomunikatBrakuSlownika), {}, {}, 0, 0});
        return;
    }
    // The memory is read here, on its own thread; the text, the dictionary's load and the list on a worker.
    std::vector<std::string> znane = uslugi_.Znane ? uslugi_.Znane() : std::vector<std::string>();
    czytanie_.setFuture(vokara::WTle(
        [slownik = uslugi_.Slownik, sciezka, znane = std::move(znane)] { return Czytaj(*slownik, sciezka, znane); }));
}

TFSlowaZTekstu::Odczyt TFSlowaZTekstu::Czytaj(vokara::Slownik& slownik, const QString& sciezka,
                                              const std::vector<std::string>& znane)
{
    Odczyt o;
    o.Sciezka = sciezka;
    std::string tekst;
    if (!vokara::CzytajTekst(sciezka, tekst, o.Blad))
        return o;
    // A known entry is known by its headword: "go, went, gone" and "to run" count for "go" and "run", "Knives" for
    // "knife".
    std::unordered_set<std::string> hasla;
    const QRegularExpression rozdzielniki(QStringLiteral("[,;/]")); // this thread's own
    for (const std::string& bajty : znane) {
        for (QString czesc : vokara::ZCp1250(bajty).toLower().split(rozdzielniki)) {
            czesc = czesc.trimmed();
            if (czesc.startsWith(QLatin1String("to ")))
                czesc = czesc.mid(3).trimmed();
            if (czesc.isEmpty())
                continue;
            const std::string slowo = czesc.toStdString();
            hasla.insert(slowo);
            if (std::string haslo = slownik.HasloAngielskie(slowo); !haslo.empty())
                hasla.insert(QString::fromStdString(haslo).toLower().toStdString());
        }
    }
    const vokara::SlowaTekstu s = slownik.SlowaZTekstu(
        tekst, hasla.empty() ? std::function<bool(const std::string&)>()
                             : [&hasla](const std::string& haslo) { return hasla.count(haslo) > 0; });
    if (!s.Ok) {
        o.Blad = QString::fromStdString(s.Blad);
        return o;
    }
    o.Wszystkich = qint64(s.WszystkichSlow);
    o.Znanych = qint64(s.Znanych);
    o.Slowa.reserve(s.Slowa.size());
    for (const vokara::SlowoTekstu& w : s.Slowa) {
        o.Slowa.push_back({QString::fromStdString(w.Haslo), QString::fromStdString(w.Znaczenie), w.Ile,
                           o.Slowa.size() < std::size_t(ZaznaczaneNaPoczatek)});
    }
    QStringList bez;
    bez.reserve(qsizetype(s.BezHasla.size()));
    for (const vokara::SlowoTekstu& w : s.BezHasla)
        bez << (w.Ile > 1 ? QStringLiteral("%1 (%2)").arg(QString::fromStdString(w.Haslo)).arg(w.Ile)
                          : QString::fromStdString(w.Haslo));
    o.BezHasla = bez.join(QStringLiteral(", "));
    return o;
}

void TFSlowaZTekstu::Przeczytano(const Odczyt& o)
{
    model_.Ustaw(o.Slowa);
    ui->TBezHasla->setPlainText(o.BezHasla);
    const qsizetype bezHasla = o.BezHasla.isEmpty() ? 0 : o.BezHasla.count(QLatin1String(", ")) + 1;
    ui->LBezHasla->setText(QStringLiteral("Bez hasła w słowniku: %1").arg(bezHasla));
    if (!o.Blad.isEmpty()) {
        ui->LPodsumowanie->clear();
        Stan(o.Blad);
    } else {
        ui->LPodsumowanie->setText(
            QStringLiteral("Słów w tekście: %1 · haseł ze słownika: %2 · bez hasła: %3 · znanych, pominiętych: %4")
                .arg(o.Wszystkich)
                .arg(o.Slowa.size())
                .arg(bezHasla)
                .arg(o.Znanych));
        Stan(o.Slowa.empty() ? QStringLiteral("W tekście nie ma słów do nauki, które zna słownik.")
                             : QStringLiteral("Zaznacz słowa do nauki i kliknij „Utwórz zestaw”."));
    }
    ui->TSlowa->scrollToTop();
    if (!o.Slowa.empty())
        ui->TSlowa->setCurrentIndex(model_.index(0, 0));
    PokazZaznaczone();
    emit wczytano();
}

void TFSlowaZTekstu::PokazZaznaczone()
{
    ui->LZaznaczone->setText(
        QStringLiteral("Zaznaczone: %1 z %2").arg(model_.Zaznaczone()).arg(model_.Wiersze().size()));
    ui->ButUtworz->setEnabled(model_.Zaznaczone() > 0 && !Czyta());
}

void TFSlowaZTekstu::Stan(const QString& tekst)
{
    ui->LStan->setText(tekst);
}

bool TFSlowaZTekstu::UtworzZestaw()
{
    if (!uslugi_.UtworzZestaw || Czyta())
        return false;
    // A word whose meaning a set file cannot hold (no Windows-1250 form, over 100 bytes, a '*') stays out of the set.
    std::vector<std::pair<QString, QString>> pary;
    int pominiete = 0;
    for (const ModelSlowTekstu::Wiersz& w : model_.Wiersze()) {
        if (!w.Zaznaczony)
            continue;
        bool mozna = true;
        for (const QString& pole : {w.Haslo, w.Znaczenie}) {
            const auto bajty = vokara::DoCp1250(pole);
            mozna = mozna && bajty && !bajty->empty() && bajty->size() <= vokara::NajdluzszeZnaczenie &&
                    bajty->find('*') == std::string::npos;
        }
        if (mozna)
            pary.emplace_back(w.Haslo, w.Znaczenie);
        else
            ++pominiete;
    }
    if (pary.empty()) {
        Stan(pominiete > 0 ? QStringLiteral("Zaznaczonych słów nie da się zapisać w zestawie.")
                           : QStringLiteral("Zaznacz choć jedno słowo."));
        return false;
    }
    QString nazwa, blad;
    if (!uslugi_.UtworzZestaw(ui->ENazwa->text(), pary, nazwa, blad)) {
        Stan(blad);
        return false;
    }
    QString tekst = QStringLiteral("Utworzono zestaw „%1” (słów: %2). Jest już na listach zestawów do ćwiczeń.")
                        .arg(nazwa)
                        .arg(pary.size());
    if (pominiete > 0)
        tekst += QStringLiteral(" Pominięto słowa, których nie da się zapisać w zestawie: %1.").arg(pominiete);
    Stan(tekst);
    emit zestawUtworzony(nazwa);
    return true;
}
