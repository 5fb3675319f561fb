// Shared by the driver host tests.
#pragma once

#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "machine.h"

#include <QStandardPaths>
#include <QString>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace hosttest {

// Wine for the tests: a prefix inside the build tree, never the user's, and
// quiet. False when no Wine is installed.
inline bool wine_ready() {
    if (qEnvironmentVariableIsEmpty("WINEPREFIX")) qputenv("WINEPREFIX", KM_WINEPREFIX);
    if (qEnvironmentVariableIsEmpty("WINEDEBUG")) qputenv("WINEDEBUG", "-all");
    return !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty();
}

// No process this one started is left, running or unreaped.
inline bool no_child_left() {
    return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// Each test leaves the binding as the program starts: nothing bound, the
// executable's folder, no isolation.
class HostTest : public ::testing::Test {
  protected:
    void TearDown() override {
        OvladacUvolni();
        NastavAdresarOvladacu(QString());
        NastavIzolaciOvladacu(false);
        NastavOdpovedSondy32(std::nullopt);
        qunsetenv("KM207_WINE");
        qunsetenv("KM207_DRIVER_HOST");
    }
    uint32_t handle = 0;
    TKonfigOvladace konfig{};
};

} // namespace hosttest

// Skips a Wine test where this machine cannot run 32-bit programs (Wine
// then cannot start the 32-bit host), as a probe of the machine tells.
// Skips it where Wine is missing, unless the run demands Wine
// (KM207_REQUIRE_WINE=1, as ./test.sh sets it): then it fails.
#define KM_REQUIRE_WINE()                                                                          \
    do {                                                                                           \
        if (kmhost::runs_32bit_programs() == kmhost::Runs32::no)                                   \
            GTEST_SKIP() << "this machine's kernel cannot run 32-bit programs, so Wine cannot "    \
                            "start the 32-bit driver host";                                        \
        if (!hosttest::wine_ready()) {                                                             \
            if (qEnvironmentVariable("KM207_REQUIRE_WINE") == QStringLiteral("1"))                 \
                FAIL() << "wine is not installed";                                                 \
            GTEST_SKIP() << "wine is not installed";                                               \
        }                                                                                          \
    } while (0)
