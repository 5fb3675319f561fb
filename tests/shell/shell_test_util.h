// Shared fixture of the shell tests: a private settings folder, the test
// driver bound as the program binds a driver, and control lookup by name.
#pragma once

#include "Dekl.h"
#include "HledaniOvladace.h"
#include "Kxxx410.h"
#include "fake_link.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace shelltest {

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ini_dir = testsupport::use_temp_settings_dir();
        testsupport::use_fake_drivers();
    }
    void TearDown() override {
        OvladacUvolni();
        fake::reset();
        NastavAdresarOvladacu(QString());
    }

    QString ini_path() const { return QDir(ini_dir).filePath(QStringLiteral("W_km207.ini")); }

    // Writes the settings file as the program stores it (Windows-1250).
    void write_ini(const QString& text) const {
        QFile f(ini_path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(TextNaCp1250(text));
    }

    QString read_ini() const {
        QFile f(ini_path());
        if (!f.open(QIODevice::ReadOnly)) return {};
        return Cp1250NaText(f.readAll());
    }

    QString ini_dir;
};

template <class T> T* child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << "no control named " << name;
    return found;
}

// Runs `action` on the modal dialog once it is up (from inside exec()).
inline void when_modal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 400) return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            action(modal);
        else
            ADD_FAILURE() << "no modal dialog appeared";
    });
    timer->start();
}

// Entry names of the journal without load/unload and Error lookups.
inline std::vector<std::string> driver_calls() {
    std::vector<std::string> out;
    for (const std::string& e : fake::entries()) {
        if (e.ends_with("_Error")) continue;
        out.push_back(e);
    }
    return out;
}

} // namespace shelltest
