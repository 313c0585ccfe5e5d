// The pages' shared key rule: Enter presses the focused button.
#include "strona.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

class EnterPrzycisku : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override
    {
        if (zdarzenie->type() == QEvent::KeyPress) {
            const auto* klawisz = static_cast<QKeyEvent*>(zdarzenie);
            auto* przycisk = qobject_cast<QPushButton*>(obiekt);
            if (przycisk && (klawisz->key() == Qt::Key_Return || klawisz->key() == Qt::Key_Enter) &&
                !(klawisz->modifiers() & ~Qt::KeypadModifier) && przycisk->isEnabled() && przycisk->isVisible()) {
                przycisk->click();
                return true;
            }
        }
        return false;
    }
};

} // namespace

void EnterNaciska(QWidget* korzen)
{
    auto* filtr = new EnterPrzycisku(korzen);
    for (QPushButton* przycisk : korzen->findChildren<QPushButton*>())
        przycisk->installEventFilter(filtr);
}
