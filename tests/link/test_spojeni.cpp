// The check of a record's parameters before a link is opened.
#include "Spojeni.h"

#include <gtest/gtest.h>

namespace {

// The field that failed lets km207 name its settings key; the number goes
// after the dialog's words only on request.
TEST(Parametry, TheCheckNamesTheFirstFieldThatFailsAndItsNumber) {
    TData data;
    data.Rozhrani = 4;
    data.IpAdresa = QStringLiteral("127.0.0.1");
    EXPECT_FALSE(ChybaParametru(data));

    data.UdpPort = 65536;
    data.UdpTimeout = 70000;
    std::optional<TChybaParametru> chyba = ChybaParametru(data);
    ASSERT_TRUE(chyba);
    EXPECT_EQ(chyba->Pole, TPoleSpojeni::UdpPort);
    EXPECT_EQ(chyba->Text, QStringLiteral("Neplatný UDP port"));
    EXPECT_EQ(chyba->TextSHodnotou(), QStringLiteral("Neplatný UDP port 65536"));

    data.IpAdresa.clear();
    chyba = ChybaParametru(data);
    ASSERT_TRUE(chyba);
    EXPECT_EQ(chyba->Pole, TPoleSpojeni::IpAdresa);
    EXPECT_EQ(chyba->TextSHodnotou(), QStringLiteral("Neplatná IP adresa"));

    data.Rozhrani = 0;
    EXPECT_FALSE(ChybaParametru(data)) << "a COM port has no LAN parameters";
    data.Rozhrani = 5;
    ASSERT_TRUE(ChybaParametru(data));
    EXPECT_EQ(ChybaParametru(data)->Pole, TPoleSpojeni::Rozhrani);
}

} // namespace
