// Loads the skin's style sheet; the colours and fonts set on the controls themselves still win over it.
#include "skorka.h"

#include <QApplication>
#include <QFile>

namespace vokara {

void AktywujSkorke(const QString& nazwa)
{
    QFile plik(QCoreApplication::applicationDirPath() + QStringLiteral("/pomoc/") + nazwa + QStringLiteral(".qss"));
    if (!plik.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    if (auto* aplikacja = qobject_cast<QApplication*>(QCoreApplication::instance()))
        aplikacja->setStyleSheet(QString::fromUtf8(plik.readAll()));
}

} // namespace vokara
