// A command that waits on a library hanging in its driver host, as the
// program installs the wait: the window paints under a busy cursor, no
// timer of the program ticks into the link meanwhile, and the call still
// ends at the host's deadline.
#include "CekaniOken.h"
#include "Spojeni.h"
#include "fake_control.h"
#include "shell_test_util.h"

#include <QElapsedTimer>
#include <QTest>

#include <optional>

namespace {

class Platno : public QWidget {
  public:
    int Kresleni = 0;

  protected:
    void paintEvent(QPaintEvent*) override { ++Kresleni; }
};

TEST(CekaniOken, TheWindowPaintsUnderABusyCursorAndNoTimerTicksUntilTheDeadline) {
    testsupport::use_temp_settings_dir();
    NastavCekaniOken();
    NastavAdresarOvladacu(QStringLiteral(STANDIN_DIR "/hang"));
    NastavIzolaciOvladacu(true);
    TData data;
    InitData(&data);
    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpTimeout = 10; // the host's deadline: 3 x 10 ms and its margin of 2 s
    uint32_t handle = 0;
    TOtevreni jak;
    jak.Az = TKrokSpojeni::SetConfig;
    ASSERT_TRUE(OtevriSpojeni(data, handle, jak).Uspech()) << OvladacDuvod().toStdString();

    Platno platno;
    platno.resize(200, 100);
    platno.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&platno));
    int tiky = 0;
    QTimer casovac;
    casovac.setInterval(10);
    QObject::connect(&casovac, &QTimer::timeout, [&tiky] { ++tiky; });
    casovac.start();
    // Runs inside the wait, where the pending messages are processed.
    std::optional<Qt::CursorShape> kurzor;
    int kresleni = -1;
    QMetaObject::invokeMethod(
        &platno,
        [&] {
            const QCursor* c = QApplication::overrideCursor();
            kurzor = c ? c->shape() : Qt::ArrowCursor;
            kresleni = platno.Kresleni;
            platno.update();
        },
        Qt::QueuedConnection);

    QElapsedTimer t;
    t.start();
    uint8_t b[5] = {};
    uint8_t chyba = 0;
    TOdpoved odpoved{};
    ProvedPrikaz(4, handle, fake::kFaultAddress, 200, 0, &b[0], &b[1], &b[2], &b[3], &b[4], chyba,
                 odpoved);
    const qint64 trvalo = t.elapsed();

    EXPECT_EQ(chyba, 104);
    EXPECT_EQ(kurzor, Qt::WaitCursor);
    EXPECT_GT(platno.Kresleni, kresleni) << "painted inside the wait";
    EXPECT_EQ(tiky, 0) << "a timer ticked inside the wait";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_GE(trvalo, 2000);
    EXPECT_LT(trvalo, 4000);
    EXPECT_EQ(OvladacZtrata(), QStringLiteral("knihovna neodpověděla do 3 s a byla ukončena"));
    QTest::qWait(30);
    EXPECT_GT(tiky, 0) << "the timer runs again after the wait";

    NastavCekaniNaHostitele({});
    NastavIzolaciOvladacu(false);
    NastavAdresarOvladacu(QString());
    OvladacUvolni();
}

} // namespace
