// The trend window through its controls, on the test driver: one sample's
// commands, gaps on failed reads, pause, the default choice of inputs, keys
// and mouse on the chart, the recording and the PNG, the rows' time, the
// save dialog, the inputs' lanes; the chart drawn into an image; and the
// history's summaries against a plain scan after it has wrapped.
#include "Prubeh.h"
#include "nonregular_files.h"
#include "test_live_support.h"

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <bit>
#include <random>

using namespace livetest;
using testsupport::reply_bytes;
using testsupport::reply_status;
using testsupport::sent_requests;

namespace {

QString g_soubor;
QString zvoleny(QWidget*, const QString&, const QString&, bool) {
    return g_soubor;
}

class TrendWindow : public LinkTest {
  protected:
    void SetUp() override {
        LinkTest::SetUp();
        NastavHodiny([this] { return QDateTime::fromMSecsSinceEpoch(now); });
        form.Data = &data;
        form.show();
        form.Timer1->stop(); // ticks by hand
        fake::clear_journal();
        saved = ZvolSoubor;
        ZvolSoubor = zvoleny;
    }
    void TearDown() override {
        ZvolSoubor = saved;
        LinkTest::TearDown();
    }
    // One sample: mode and counter bytes, inputs, status; the clock moves on
    // by a period first.
    void tick(uint8_t mode, uint32_t counter, uint32_t inputs, uint32_t status) {
        now += 100;
        fake::push_reply(reply_bytes(0, 0, 0, mode, 0));
        fake::push_reply(reply_bytes(0, counter & 0xFF, counter >> 8 & 0xFF, counter >> 16 & 0xFF,
                                     counter >> 24));
        fake::push_reply(
            reply_bytes(0, inputs & 0xFF, inputs >> 8 & 0xFF, inputs >> 16 & 0xFF, inputs >> 24));
        fake::push_reply(
            reply_bytes(0, status & 0xFF, status >> 8 & 0xFF, status >> 16 & 0xFF, status >> 24));
        form.Timer1Timer();
    }
    // The table follows the newest values at most twice a second.
    // (No sample is taken meanwhile.)
    QString value(int row) {
        form.Timer1->stop();
        for (int i = 0; i < 50 && form.Timer3->isActive(); ++i)
            wait_ms(20);
        return form.TableWidget1->item(row, 1)->text();
    }
    template <class T> T* control(const char* name) {
        T* c = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    qint64 now = QDateTime(QDate(2026, 5, 6), QTime(7, 8, 9)).toMSecsSinceEpoch();
    TForm16 form;
    QString (*saved)(QWidget*, const QString&, const QString&, bool) = nullptr;
};

TEST_F(TrendWindow, OneSampleReadsModeCounterInputsStatusInThatOrder) {
    auto* period = control<QSpinBox>("SpinBox1");
    EXPECT_EQ(period->minimum(), 50);
    EXPECT_EQ(period->maximum(), 10000);
    EXPECT_EQ(period->value(), 100);
    for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button5"})
        EXPECT_FALSE(control<QPushButton>(name)->autoDefault()) << name;
    EXPECT_EQ(control<QPushButton>("Button1")->text(), QStringLiteral("Pozastavit"));
    for (QWidget* w : std::initializer_list<QWidget*>{period, form.ListWidget1, form.TableWidget1,
                                                      form.PaintBox1, form.Label3})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_EQ(control<QListWidget>("ListWidget1")->count(), 32);

    data.Adresa = 99; // the address taken when the window was shown stays
    tick(1, 8388600, 0x81, 0x32);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_LE(form.Timer1->interval(), 100);
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 102, 0), req(7, 0, 80), req(7, 0, 64), req(7, 100, 0)}));
    EXPECT_EQ(value(1), QStringLiteral("8388600"));
    EXPECT_EQ(value(2), QStringLiteral("1"));
    EXPECT_EQ(value(4), QStringLiteral("0x00000081"));
    EXPECT_EQ(value(5), QStringLiteral("0x00000032"));
    EXPECT_EQ(value(6), QStringLiteral("FN PWR RST"));
    EXPECT_EQ(value(7), QStringLiteral("1"));  // DIN0
    EXPECT_EQ(value(14), QStringLiteral("1")); // DIN7
    EXPECT_EQ(form.StatusBar1->Text(0), ok_text());
    // Mode 1 wraps at 2^23: 8388600 -> 2 is 10 counts on, never negative.
    tick(1, 2, 0x81, 0x32);
    EXPECT_GT(value(3).toDouble(), 0) << value(3).toStdString();
}

TEST_F(TrendWindow, AFailedReadIsAGapNeverAZeroOrTheValueBefore) {
    QTemporaryDir dir;
    g_soubor = dir.filePath(QStringLiteral("z.csv"));
    form.Button2->click();
    ASSERT_TRUE(form.Zaznamenava());
    EXPECT_EQ(form.Button2->text(), QStringLiteral("Zastavit záznam"));
    tick(0, 100, 1, 2);
    fake::clear_journal();
    now += 100;
    fake::push_reply(reply_bytes(0, 0, 0, 0, 0));
    fake::push_reply(reply_bytes(0, 200, 0, 0, 0));
    fake::push_reply(reply_bytes(0, 1, 0, 0, 0));
    fake::push_reply(reply_status(5));
    form.Timer1Timer();
    EXPECT_EQ(value(5), QStringLiteral("chybí"));
    EXPECT_EQ(value(1), QStringLiteral("200"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("1"));
    EXPECT_EQ(form.StatusBar1->Text(0), error_text(5));
    const THistoriePrubehu& h = form.Historie();
    EXPECT_FALSE(h.Bod(h.Konec() - 1).Platne & PlatnyStav);

    // A failed mode read: the counter is not asked and is a gap too.
    fake::clear_journal();
    now += 100;
    fake::push_reply(reply_status(6));
    fake::push_reply(reply_bytes(0, 1, 0, 0, 0));
    fake::push_reply(reply_bytes(0, 2, 0, 0, 0));
    form.Timer1Timer();
    EXPECT_EQ(sent_requests(),
              (std::vector<Request>{req(7, 102, 0), req(7, 0, 64), req(7, 100, 0)}));
    EXPECT_EQ(value(1), QStringLiteral("chybí"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("2"));

    form.Button2->click();
    EXPECT_FALSE(form.Zaznamenava());
    QFile f(g_soubor);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);
    // The rate is timed by the steady clock, not by the test's wall clock.
    EXPECT_TRUE(QString::fromLatin1(lines[2]).contains(
        QRegularExpression(QStringLiteral(",200,[0-9.]+,0x00000001,,5$"))))
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].endsWith(",,,0x00000001,0x00000002,6")) << lines[3].toStdString();
}

TEST_F(TrendWindow, PauseFreezesTheViewWhilePollingGoesOnAndLiveComesBack) {
    tick(0, 1, 0, 0);
    const qint64 edge = form.PaintBox1->PravyOkraj();
    EXPECT_EQ(edge, now);
    form.Button1->click();
    EXPECT_FALSE(form.PaintBox1->Zive());
    tick(0, 2, 0, 0);
    tick(0, 3, 0, 0);
    EXPECT_EQ(form.PaintBox1->PravyOkraj(), edge);
    EXPECT_EQ(form.Historie().Konec() - form.Historie().Prvni(), 3u);
    form.Button4->click();
    EXPECT_FALSE(form.Button1->isChecked());
    EXPECT_EQ(form.PaintBox1->PravyOkraj(), now);
}

TEST_F(TrendWindow, InputsThatChangedAreDrawnUntilTheOperatorChooses) {
    tick(0, 0, 0x0, 0);
    EXPECT_EQ(form.PaintBox1->Vstupy(), 0u);
    tick(0, 0, 0x9, 0);
    EXPECT_EQ(form.PaintBox1->Vstupy(), 0x9u);
    EXPECT_EQ(form.ListWidget1->item(3)->checkState(), Qt::Checked);
    EXPECT_EQ(form.ListWidget1->item(1)->checkState(), Qt::Unchecked);
    form.ListWidget1->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(form.PaintBox1->Vstupy(), 0x8u);
    tick(0, 0, 0x30, 0);
    EXPECT_EQ(form.PaintBox1->Vstupy(), 0x8u);
}

TEST_F(TrendWindow, KeysAndMouseZoomPanAndPlaceTheCursor) {
    form.resize(1000, 640);
    for (uint32_t i = 0; i < 50; ++i)
        tick(0, i * 10, i & 1, 0);
    TGrafPrubehu* chart = form.PaintBox1;
    const qint64 range = chart->Rozsah();
    QTest::keyClick(chart, Qt::Key_Plus);
    EXPECT_EQ(chart->Rozsah(), range / 2);
    EXPECT_TRUE(chart->Zive());
    chart->NastavPohled(now, 10000);
    QTest::keyClick(chart, Qt::Key_Left);
    EXPECT_EQ(chart->PravyOkraj(), now - 1000);
    EXPECT_TRUE(form.Button1->isChecked()); // panned away: paused

    QTest::keyClick(chart, Qt::Key_Left, Qt::ShiftModifier);
    ASSERT_TRUE(chart->Kurzor().has_value());
    EXPECT_EQ(form.Label5->text(), QStringLiteral("Hodnoty u kurzoru"));
    const TBodPrubehu& b = form.Historie().Bod(*chart->Kurzor());
    EXPECT_EQ(value(1), QString::number(static_cast<qint64>(b.Citac)));
    EXPECT_EQ(value(0),
              QDateTime::fromMSecsSinceEpoch(b.Cas).toString(QStringLiteral("HH:mm:ss.zzz")));
    // A click at the right end of the plot puts the cursor on the last
    // sample shown.
    const int right = chart->width() - 11;
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(right, chart->height() / 2));
    EXPECT_EQ(value(1), QStringLiteral("390")); // sample 39 at now - 1000
    QTest::keyClick(chart, Qt::Key_End);
    EXPECT_TRUE(chart->Zive());
    EXPECT_FALSE(form.Button1->isChecked());
}

TEST_F(TrendWindow, PngOfTheChart) {
    tick(0, 5, 1, 2);
    tick(0, 9, 0, 0);
    QTemporaryDir dir;
    g_soubor = dir.filePath(QStringLiteral("g.png"));
    form.Button3->click();
    QImage image(g_soubor);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), form.PaintBox1->size());
    g_soubor = dir.path(); // a folder is refused
    form.Button3->click();
    EXPECT_TRUE(form.StatusBar1->Text(0).contains(QStringLiteral("není obyčejný soubor")));
}

// A chart as it draws itself, and the runs of rows with dark pixels in its
// name column: one per input name that does not run into its neighbours.
QImage drawn(const TGrafPrubehu& chart) {
    QImage image(chart.size(), QImage::Format_RGB32);
    QPainter p(&image);
    chart.Kresli(p, image.rect());
    return image;
}
int name_runs(const QImage& image) {
    int runs = 0;
    for (int y = 0, before = 0, dark = 0; y < image.height(); ++y, before = dark, dark = 0) {
        for (int x = 2; x < 50; ++x)
            dark |= QColor(image.pixel(x, y)).value() < 90;
        runs += dark && !before;
    }
    return runs;
}

TEST_F(TrendWindow, ARowIsStampedWhenTheCounterAnsweredAndTheRatesWindowIsSetHere) {
    // Each exchange takes 40 ms; without the counter, the inputs' reply
    // (the third) stamps the row, and with no reply its start.
    fake::set_observer([this](const fake::Call& c) { now += c.entry.ends_with("_Send") ? 40 : 0; });
    const fake::SendReply ok = reply_bytes(0, 1, 0, 0, 0), bad = reply_status(5);
    for (const auto& [replies, stamp] : std::vector<std::pair<std::vector<fake::SendReply>, int>>{
             {{ok, ok, ok, ok}, 80}, {{ok, bad, ok, ok}, 120}, {{bad, bad, bad}, 0}}) {
        const qint64 start = now += 100;
        for (const fake::SendReply& r : replies)
            fake::push_reply(r);
        form.Timer1Timer();
        EXPECT_EQ(
            value(0),
            QDateTime::fromMSecsSinceEpoch(start + stamp).toString(QStringLiteral("HH:mm:ss.zzz")));
    }
    fake::set_observer({});
    // 250 counts a second read every 100 ms, 24 and 26 by turns.
    for (int64_t i = 0; i < 22; ++i) {
        if (i == 21) {
            EXPECT_EQ(value(3), QStringLiteral("250.0")); // over 1 s
            form.SpinBox2->setValue(100);
        }
        TVzorek v;
        v.Mod = 0;
        v.Citac = i * 25 - i % 2;
        v.CitacUs = i * 100000;
        form.PridejVzorek(v);
    }
    EXPECT_EQ(value(3), QStringLiteral("240.0"));
}

TEST_F(TrendWindow, FileOutcomesStayInTheStatusLineAndTheDialogAsksAboutTheRealName) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("g.png"));
    tick(0, 9, 0, 0);
    for (const QString& path : QStringList{png} + testsupport::make_nonregular_files(dir.path())) {
        g_soubor = path;
        form.Button3->click();
        tick(0, 9, 0, 0); // the poll's "V pořádku" leaves it
        EXPECT_TRUE(form.StatusBar1->Text(0).contains(
            path == png ? QStringLiteral(" Graf uložen do ") : QStringLiteral("není obyčejný")))
            << path.toStdString();
    }
    // The real dialog; "z" typed, "z.csv" exists: No, then cancel the
    // dialog shown again.
    ZvolSoubor = saved;
    ASSERT_TRUE(QFile::copy(png, dir.filePath(QStringLiteral("z.csv"))));
    QStringList steps{"z", "No", "cancel"}, asked;
    QTimer operator_;
    QObject::connect(&operator_, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == &form || steps.isEmpty()) return;
        const QString step = steps.takeFirst();
        if (auto* m = qobject_cast<QMessageBox*>(w)) {
            asked << m->text();
            m->button(QMessageBox::No)->click();
        } else if (step == QLatin1String("cancel")) {
            static_cast<QDialog*>(w)->reject();
        } else {
            // Typed into the name field of the dialog, opened in the folder.
            auto* d = qobject_cast<QFileDialog*>(w);
            d->setDirectory(dir.path());
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(step);
            static_cast<QDialog*>(d)->accept();
            if (w->isVisible()) steps.prepend(step); // still reading its folder
        }
    });
    operator_.start(20);
    form.Button2->click();
    EXPECT_FALSE(form.Zaznamenava());
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("z.csv"))).isNull()); // as it was
    EXPECT_TRUE(steps.isEmpty());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("z.csv")));
}

TEST_F(TrendWindow, InputLanesAreNeverLowerThanTheirNamesAndScrollWhenMoreAreChosen) {
    tick(0, 0, 0, 0);
    tick(0, 0, 0x3FFFFFFF, 0); // 30 inputs change at once
    TGrafPrubehu* chart = form.PaintBox1;
    const int fit = chart->VejdeSeVstupu();
    ASSERT_LT(fit, 30);
    EXPECT_EQ(std::popcount(chart->Vstupy()), fit);
    EXPECT_EQ(name_runs(drawn(*chart)), fit);
    EXPECT_TRUE(form.Label8->text().contains(QStringLiteral("(%1)").arg(30 - fit)));
    for (int n = 0; n < 32; ++n)
        form.ListWidget1->item(n)->setCheckState(Qt::Checked);
    auto* scroll = chart->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    ASSERT_TRUE(scroll && scroll->isVisible());
    EXPECT_EQ(scroll->maximum(), 32 - chart->VejdeSeVstupu());
    scroll->setValue(scroll->maximum());
    EXPECT_EQ(name_runs(drawn(*chart)), chart->VejdeSeVstupu());
}

// The rate by turns lo and hi; FN set one sample before the newest, at the
// live chart's right edge. Returns the rows of the rate's colour, the last
// column of the lanes' frames, and that of the marks' colour (far more red
// than blue, as nothing else).
std::array<int, 3> rate_and_marks(double lo, double hi) {
    THistoriePrubehu history;
    for (int i = 0; i < 100; ++i) {
        TBodPrubehu b;
        b.Cas = i * 100;
        b.Rychlost = i % 2 ? hi : lo;
        b.Stav = i < 98 ? 0x34 : 0x3C;
        b.Platne = PlatnyStav;
        history.Pridej(b);
    }
    TGrafPrubehu chart(&history);
    chart.resize(700, 400);
    chart.NastavPohled(9900, 10000);
    const QImage image = drawn(chart);
    int top = image.height(), bottom = 0, frame = 0, mark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 100; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            if (c == qRgb(0, 130, 60)) top = std::min(top, y), bottom = std::max(bottom, y);
            if (c == qRgb(210, 210, 210)) frame = std::max(frame, x);
            if (qRed(c) - qBlue(c) > 60) mark = std::max(mark, x);
        }
    return {bottom - top, frame, mark};
}

TEST(TrendChart, RateLaneSpansTenCountsAndStatusNamesStayInsideThePlot) {
    const std::array<int, 3> one_count = rate_and_marks(249, 251);
    EXPECT_LT(one_count[0] * 3, rate_and_marks(200, 300)[0]);
    EXPECT_GT(one_count[2], one_count[1] - 20);
    EXPECT_LE(one_count[2], one_count[1]);
}

TEST(TrendWindowClosed, NothingIsSentWithoutALink) {
    testsupport::use_fake_drivers();
    TData data;
    TForm16 form;
    form.Data = &data;
    form.show();
    form.Timer1Timer();
    EXPECT_EQ(form.StatusBar1->Text(0), TextNeinicializovano);
    EXPECT_TRUE(sent_requests().empty());
    EXPECT_TRUE(form.Historie().Prazdna());
    form.close();
    EXPECT_FALSE(form.Timer1->isActive());
}

TEST(TrendHistory, SummariesMatchAPlainScanAfterTheRingWrapped) {
    THistoriePrubehu h(5000);
    std::mt19937 rng(3);
    for (int i = 0; i < 23456; ++i) {
        TBodPrubehu b;
        b.Cas = i * 100;
        if (rng() % 7) b.Citac = static_cast<double>(rng() % 100000);
        if (rng() % 5) b.Rychlost = static_cast<double>(rng() % 1000) - 500;
        b.Vstupy = rng();
        b.Platne = static_cast<uint8_t>(rng() % 4);
        b.Stav = rng() % 3;
        h.Pridej(b);
    }
    const uint64_t kept = h.Kapacita();
    ASSERT_GE(kept, 5000u);
    ASSERT_EQ(h.Konec() - h.Prvni(), kept);
    EXPECT_EQ(h.Bod(h.Prvni()).Cas, static_cast<qint64>(23456 - kept) * 100);
    EXPECT_EQ(h.Hledej((23456 - 10) * 100 - 50), h.Konec() - 10);
    EXPECT_GE(h.ZmenyStavu().front().Poradi, h.Prvni());
    for (int k = 0; k < 300; ++k) {
        uint64_t a = h.Prvni() + rng() % kept, b = h.Prvni() + rng() % (kept + 1);
        if (a > b) std::swap(a, b);
        const TSouhrn s = h.Souhrn(a, b);
        TSouhrn t;
        for (uint64_t i = a; i < b; ++i)
            t.Pridej(h.Bod(i));
        ASSERT_EQ(s.CitacMin, t.CitacMin);
        ASSERT_EQ(s.CitacMax, t.CitacMax);
        ASSERT_EQ(s.RychlostMin, t.RychlostMin);
        ASSERT_EQ(s.RychlostMax, t.RychlostMax);
        ASSERT_EQ(s.VstupyOr, t.VstupyOr);
        ASSERT_EQ(s.VstupyAnd, t.VstupyAnd);
        ASSERT_EQ(s.Platne, t.Platne);
        ASSERT_EQ(s.Chybi, t.Chybi);
    }
}

} // namespace
