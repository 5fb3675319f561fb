// Shared pieces of the live view tests: an open link through the test
// driver, a wait that lets timers fire, request values in journal form.
#pragma once

#include "Dekl.h"
#include "Kxxx410.h"
#include "fake_link.h"

#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace livetest {

using Request = std::array<uint32_t, 8>;

inline Request req(uint32_t adresa, uint32_t prikaz, uint32_t p5, uint32_t b0 = 0, uint32_t b1 = 0,
                   uint32_t b2 = 0, uint32_t b3 = 0, uint32_t b4 = 0) {
    return {adresa, prikaz, p5, b0, b1, b2, b3, b4};
}

// Runs the event loop for `ms` milliseconds, so that interval timers fire.
inline void wait_ms(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline QLabel* label(QWidget* w, int n) {
    return w->findChild<QLabel*>(QStringLiteral("Label%1").arg(n));
}

// A link opened through the test driver of kind 0, module address 7.
class LinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::open_fake_link(data, 0);
        ASSERT_TRUE(SpojeniOtevreno(&data));
        data.Adresa = 7;
    }
    void TearDown() override {
        testsupport::close_link(data);
        NastavHodiny({});
    }
    QString ok_text() const { return QLatin1Char(' ') + TextChyby(data.Rozhrani, 0); }
    QString error_text(uint32_t code) const {
        return QLatin1Char(' ') + TextChyby(data.Rozhrani, code);
    }

    TData data;
};

// A record whose link is not open; the test driver is bound so that a
// stray command would show up in its journal.
class ClosedLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { testsupport::use_fake_drivers(); }
    void TearDown() override { NastavHodiny({}); }
    TData data;
};

} // namespace livetest
