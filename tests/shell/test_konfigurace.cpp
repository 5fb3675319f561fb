// "Nahrát konfiguraci do modulu…" with files it must refuse, against the
// journal of the test driver: nothing may reach the module.
#include "Hlavni.h"
#include "shell_test_util.h"

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace shelltest;

namespace {

QString chosen_file;

TEST_F(ShellTest, ACorruptOrOutOfRangeFileIsRefusedWithNothingSent) {
    const auto saved = ZvolSoubor;
    ZvolSoubor = [](QWidget*, const QString&, const QString&, bool) { return chosen_file; };
    TForm1 form;
    form.show();
    testsupport::open_fake_link(*form.Data, 0);
    QTemporaryDir dir;
    const QByteArray valid = "format = 1\nmodul = \"KM-207   v.1.02\"\n"
                             "precteno = 2024-05-01T14:03:07+02:00\nadresa = 5\n"
                             "rychlost = 9600\nmod_citace = 0\nnegace_din = 0xFFFFFFFF\n"
                             "negace_dout = 0xFFFFFFFF\npocatecni_stav_dout = 0x00000000\n";
    const struct {
        QByteArray text;
        const char* reason;
    } files[] = {
        {QByteArray(valid).replace("mod_citace = 0", "mod_citace = 3"), "řádek 6: "},
        {QByteArray(valid).replace("rychlost = 9600", "rychlost = 9601"), "řádek 5: "},
        {QByteArray(valid).replace("adresa = 5\n", ""), "chybí klíč"},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "nulový bajt"},
    };
    for (const auto& f : files) {
        chosen_file = dir.filePath(QStringLiteral("modul.km207"));
        QFile file(chosen_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(f.text);
        file.close();
        QString status;
        bool write_offered = true;
        when_modal([&](QWidget* w) {
            auto* label = child<QLabel>(w, "LabelStav");
            EXPECT_TRUE(QTest::qWaitFor([&] { return !label->text().isEmpty(); }, 5000));
            status = label->text();
            write_offered = child<QPushButton>(w, "ButtonZapsat")->isEnabled();
            QTest::mouseClick(child<QPushButton>(w, "ButtonZavrit"), Qt::LeftButton);
        });
        child<QAction>(&form, "NahratKonfiguraci1")->trigger();
        EXPECT_TRUE(status.startsWith(QStringLiteral("Soubor nelze použít: ")))
            << status.toStdString();
        EXPECT_TRUE(status.contains(QString::fromUtf8(f.reason))) << status.toStdString();
        EXPECT_TRUE(status.endsWith(QStringLiteral("Do modulu nebylo nic odesláno.")));
        EXPECT_FALSE(write_offered);
    }
    EXPECT_TRUE(testsupport::sent_requests().empty());
    testsupport::close_link(*form.Data);
    ZvolSoubor = saved;
}

} // namespace
