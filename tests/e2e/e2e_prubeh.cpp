// The trend window against km207-sim through the real LAN driver: the CSV
// it records holds the emulated counter's rate, every scripted input
// transition at its time, and a gap wherever the emulator dropped a reply.
#include "Kxxx410.h"
#include "Prubeh.h"
#include "Rychlosti.h"
#include "e2e_link.h"
#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

namespace {

QString g_csv;
QString csv_path(QWidget*, const QString&, const QString&, bool) {
    return g_csv;
}

void run_events_ms(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct Row {
    qint64 ms;
    QStringList f; // cas, citac, rychlost, vstupy, stav, chyba
};

long long number_after(const std::string& text, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(text, m, std::regex(key + ":? (-?[0-9]+)"))) return -1;
    return std::stoll(m[1]);
}

TEST(TrendEndToEnd, CsvHoldsRateTransitionsAndGaps) {
    constexpr int Rate = 2000;   // counts per second
    constexpr int Half = 250;    // DIN3: low 250 ms, high 250 ms, ...
    constexpr int PulseAt = 900; // DIN7: high from 900 ms for 400 ms
    constexpr int PulseLen = 400;
    constexpr int Period = 100;
    SimProcess sim({"--no-pty", "--counter-rate", std::to_string(Rate), "--input-script",
                    "square:3:" + std::to_string(Half), "--input-script",
                    "pulse:7:" + std::to_string(PulseAt) + ":" + std::to_string(PulseLen),
                    "--fault", "drop:p=0.2,cmd=100", "--seed", "5"});
    ASSERT_TRUE(sim.running()) << sim.output();
    const long long start = number_after(sim.output(), "inputs-start");
    ASSERT_GT(start, 0) << sim.output();

    TData data;
    InitData(&data);
    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    data.UdpPort = sim.udp_port();
    data.UdpTimeout = 30; // a dropped reply costs less than the period
    const QString stav = open_through_dialog(data);
    ASSERT_TRUE(SpojeniOtevreno(&data)) << stav.toStdString();
    // No retries: every dropped reply is one failed read.
    const int index = RychlostNaIndex(data.Rychlost);
    ASSERT_EQ(OvladacSetConfig(4, data.Handle, data.Rychlost, IndexNaCasovani(index), 0), 0u);

    QTemporaryDir dir;
    g_csv = dir.filePath(QStringLiteral("prubeh.csv"));
    const auto saved = ZvolSoubor;
    ZvolSoubor = csv_path;
    int failures = 0;
    {
        TForm16 form;
        form.Data = &data;
        form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
        ASSERT_TRUE(form.Zaznamenava());
        form.show();
        run_events_ms(3000);
        form.findChild<QPushButton*>(QStringLiteral("Button5"))->click();
        EXPECT_FALSE(form.Zaznamenava());
        failures = form.Selhani();
        EXPECT_EQ(form.findChild<QLabel*>(QStringLiteral("Label3"))->text().toInt(), failures);
    }
    ZvolSoubor = saved;
    close_link_and_driver(data);
    sim.stop();
    const long long dropped = number_after(sim.output(), "dropped");

    QFile f(g_csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 20);
    EXPECT_EQ(lines[0], QStringLiteral("cas,citac,rychlost,vstupy,stav,chyba"));
    std::vector<Row> rows;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(','));
        ASSERT_EQ(fields.size(), 6) << lines[i].toStdString();
        const QDateTime t =
            QDateTime::fromString(fields[0], QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        ASSERT_TRUE(t.isValid()) << lines[i].toStdString();
        rows.push_back({t.toMSecsSinceEpoch(), fields});
    }

    // The rate: the median sample and the whole run within 2 %.
    std::vector<double> rates;
    for (const Row& r : rows)
        if (!r.f[2].isEmpty()) rates.push_back(r.f[2].toDouble());
    ASSERT_GT(rates.size(), rows.size() / 2);
    std::sort(rates.begin(), rates.end());
    EXPECT_NEAR(rates[rates.size() / 2], Rate, Rate * 0.02);
    // Single rows scatter with the scheduling of a busy machine; none may
    // be far off (a wrong wrap would be off by millions).
    EXPECT_GT(rates.front(), Rate * 0.5);
    EXPECT_LT(rates.back(), Rate * 1.5);
    const Row& first = rows.front();
    const Row& last = rows.back();
    // A row is stamped when its counter's reply came: a loaded machine may
    // still be late to take the time at one end. A wrong wrap or scale is
    // off by far more than 5 %.
    const double overall = (last.f[1].toDouble() - first.f[1].toDouble()) * 1000.0 /
                           static_cast<double>(last.ms - first.ms);
    EXPECT_NEAR(overall, Rate, Rate * 0.05);

    // Gaps: a failed status read is an empty field, never a zero or the
    // value before, and the other values of the sample are there.
    int gapRows = 0;
    for (const Row& r : rows) {
        if (r.f[4].isEmpty()) {
            ++gapRows;
            EXPECT_NE(r.f[5], QStringLiteral("0"));
            EXPECT_FALSE(r.f[1].isEmpty());
            EXPECT_FALSE(r.f[3].isEmpty());
        } else {
            EXPECT_EQ(r.f[5], QStringLiteral("0"));
        }
    }
    EXPECT_GT(gapRows, 0);
    EXPECT_EQ(gapRows, failures);
    EXPECT_EQ(gapRows, dropped);

    // Transitions: every scripted one inside the recording, each seen by
    // the first sample after it, stamped within one period of it.
    struct Edge {
        int bit;
        long long at;
    };
    std::vector<Edge> truth;
    // The last sample may see an edge after its stamp.
    for (long long t = start + Half; t < last.ms + Period; t += Half)
        truth.push_back({3, t});
    truth.push_back({7, start + PulseAt});
    truth.push_back({7, start + PulseAt + PulseLen});
    std::vector<Edge> seen;
    std::vector<qint64> before;
    for (size_t i = 1; i < rows.size(); ++i) {
        const uint32_t a = rows[i - 1].f[3].toUInt(nullptr, 16),
                       b = rows[i].f[3].toUInt(nullptr, 16);
        for (int bit : {3, 7})
            if ((a ^ b) >> bit & 1u) {
                seen.push_back({bit, rows[i].ms});
                before.push_back(rows[i - 1].ms);
            }
        EXPECT_EQ((a ^ b) & ~((1u << 3) | (1u << 7)), 0u);
    }
    size_t checked = 0;
    for (const Edge& e : truth) {
        // A sample reads the inputs some way after its stamp (see above):
        // an edge within a period of the ends may fall on either side.
        if (e.at <= first.ms + Period || e.at >= last.ms - Period) continue;
        ++checked;
        const auto it = std::find_if(seen.begin(), seen.end(), [&](const Edge& s) {
            return s.bit == e.bit && s.at >= e.at - 10;
        });
        ASSERT_NE(it, seen.end()) << "DIN" << e.bit << " at +" << e.at - start;
        const qint64 prev = before[static_cast<size_t>(it - seen.begin())];
        EXPECT_LE(it->at - e.at, std::max<qint64>(Period, it->at - prev) + 10)
            << "DIN" << e.bit << " at +" << e.at - start;
        EXPECT_GE(e.at, prev - 10) << "DIN" << e.bit << " at +" << e.at - start;
    }
    EXPECT_GE(checked, 8u);
    // No transition that the script did not make: each one seen has its
    // scripted edge between the sample before it and its own. (An edge within
    // a few ms of the recording's ends may be seen or not, so seen and
    // checked need not count alike.)
    for (size_t i = 0; i < seen.size(); ++i) {
        const bool scripted = std::any_of(truth.begin(), truth.end(), [&](const Edge& e) {
            return e.bit == seen[i].bit && e.at >= before[i] - 10 && e.at <= seen[i].at + 10;
        });
        EXPECT_TRUE(scripted) << "DIN" << seen[i].bit << " at +" << seen[i].at - start;
    }
}

} // namespace
