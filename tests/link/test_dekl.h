// The settings tests' fixture, shared by the portable and the POSIX cases.
#pragma once

#include "Dekl.h"
#include "fake_link.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace dekltest {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = testsupport::use_temp_settings_dir();
        InitData(&data);
    }
    void TearDown() override { NastavAdresarIni(QString()); }

    QString path() const { return QDir(dir).filePath(QStringLiteral("W_km207.ini")); }
    QString userPath() const { return QDir(dir).filePath(QStringLiteral("per-user/W_km207.ini")); }
    QString userText() const {
        QFile f(userPath());
        return f.open(QIODevice::ReadOnly) ? Cp1250NaText(f.readAll()) : QString();
    }
    void writeBytes(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void writeText(const QString& text) { writeBytes(TextNaCp1250(text)); }
    QByteArray readBytes() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString readText() const { return Cp1250NaText(readBytes()); }

    QString dir;
    TData data;
};

} // namespace dekltest
