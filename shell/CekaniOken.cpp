#include "CekaniOken.h"

#include "VazbaOvladace.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QTimer>

#include <memory>

namespace {

// Holds back the ticks of the program's timers. A QTimer whose tick was not
// served keeps running and ticks again after its interval.
class BezCasovacu : public QObject {
  public:
    bool eventFilter(QObject* Objekt, QEvent* Udalost) override {
        return Udalost->type() == QEvent::Timer && qobject_cast<QTimer*>(Objekt) != nullptr;
    }
};

} // namespace

void NastavCekaniOken() {
    NastavCekaniNaHostitele([Filtr = std::make_shared<BezCasovacu>()](TCekani Faze) {
        switch (Faze) {
        case TCekani::Zacatek:
            QApplication::setOverrideCursor(Qt::WaitCursor);
            qApp->installEventFilter(Filtr.get());
            break;
        case TCekani::Trva:
            // Input stays queued by the platform until the call returns.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            break;
        case TCekani::Konec:
            qApp->removeEventFilter(Filtr.get());
            QApplication::restoreOverrideCursor();
            break;
        }
    });
}
