// A one-shot watch for a window's first paint.
#include "malowanie.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace vokara {

namespace {

class PierwszeMalowanie : public QObject {
public:
    PierwszeMalowanie(QWidget* okno, std::function<void()> co) : QObject(okno), co_(std::move(co))
    {
        okno->installEventFilter(this);
    }

    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override
    {
        if (zdarzenie->type() == QEvent::Paint) {
            obiekt->removeEventFilter(this);
            // After the paint has reached the screen, not inside it.
            QTimer::singleShot(0, parent(), std::move(co_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> co_;
};

} // namespace

void PoPierwszymMalowaniu(QWidget* okno, std::function<void()> co)
{
    new PierwszeMalowanie(okno, std::move(co));
}

} // namespace vokara
