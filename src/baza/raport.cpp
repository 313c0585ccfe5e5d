// Default error report through QMessageBox, replaceable for tests.
#include "raport.h"

#include <QApplication>
#include <QMessageBox>

namespace vokara {

namespace {
std::function<void(const QString&)>& Raport()
{
    static std::function<void(const QString&)> raport;
    return raport;
}
} // namespace

void ZglosBlad(const QString& tekst)
{
    if (Raport()) {
        Raport()(tekst);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vokara"), tekst, QMessageBox::Ok);
}

void UstawRaportBledow(std::function<void(const QString&)> raport)
{
    Raport() = std::move(raport);
}

} // namespace vokara
