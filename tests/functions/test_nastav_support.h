// Shared pieces of the settings dialog tests: the link through the test
// driver answered by the module model, per-command faults, and a log of
// what the status panel showed.
#pragma once

#include "Dekl.h"
#include "Kxxx410.h"
#include "fake_link.h"
#include "fake_module.h"
#include "km_module.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace nastavtest {

using Request = std::array<uint32_t, 8>;

inline Request rd(uint32_t adresa, uint32_t reg) {
    return {adresa, 102, 0, 0, reg, reg, 0, 0};
}
inline Request wr(uint32_t adresa, uint32_t reg, uint32_t v) {
    return {adresa, 103, 0, 0, reg, reg, v, v};
}

// Module model behind the test driver. Each Send is numbered from 1; a test
// may fail one of them with a link status, make a read-back lie, or run a
// hook (which may queue clicks for the transfer's next pause).
class ModelLink {
  public:
    explicit ModelLink(uint8_t address) : module(config(address)) {}

    void attach() {
        fake::set_responder([this](const uint32_t* r) { return answer(r); });
    }

    km::emu::Module module;
    int sends = 0;
    std::map<int, uint32_t> fail_status; // send number -> status
    std::map<int, int> lie;              // send number -> added to the reply's B3
    std::function<void(int)> on_send;

  private:
    static km::emu::Config config(uint8_t address) {
        km::emu::Config c;
        c.address = address;
        return c;
    }

    fake::SendReply answer(const uint32_t* r) {
        ++sends;
        if (on_send) on_send(sends);
        if (auto f = fail_status.find(sends); f != fail_status.end())
            return testsupport::reply_status(f->second);
        km::proto::Request req;
        req.address = static_cast<uint8_t>(r[0]);
        req.command = static_cast<uint8_t>(r[1]);
        req.p5 = static_cast<uint8_t>(r[2]);
        for (int i = 0; i < 5; ++i)
            req.b[i] = static_cast<uint8_t>(r[3 + i]);
        const km::emu::Response resp = module.exchange(req);
        if (!resp.answered) return testsupport::reply_status(5);
        if (resp.reply.status != 0) return testsupport::reply_status(18);
        fake::SendReply out =
            testsupport::reply_bytes(resp.reply.out, resp.reply.data[0], resp.reply.data[1],
                                     resp.reply.data[2], resp.reply.data[3]);
        if (auto l = lie.find(sends); l != lie.end())
            out.odpoved[2] = static_cast<uint8_t>(out.odpoved[2] + l->second);
        return out;
    }
};

// Every text the panel was painted with, a repeat of the same text once.
class PanelLog : public QObject {
  public:
    explicit PanelLog(QLabel* panel) : panel_(panel) { panel_->installEventFilter(this); }
    ~PanelLog() override {
        if (panel_) panel_->removeEventFilter(this);
    }
    std::vector<std::string> texts;

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == panel_ && e->type() == QEvent::Paint &&
            (texts.empty() || texts.back() != panel_->text().toStdString()))
            texts.push_back(panel_->text().toStdString());
        return false;
    }

  private:
    QLabel* panel_;
};

template <typename T> T* child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

inline QPushButton* button(QWidget* w, int n) {
    return child<QPushButton>(w, QStringLiteral("Button%1").arg(n));
}
inline QLabel* panel(QWidget* w) {
    return child<QLabel>(w, QStringLiteral("StatusBar1_0"));
}
inline QString status(QWidget* w) {
    return panel(w)->text();
}

// Shows a window and lets it be exposed, so that a repaint really paints.
inline void show_exposed(QWidget* w) {
    w->show();
    for (int i = 0; i < 100 && !(w->windowHandle() && w->windowHandle()->isExposed()); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    QCoreApplication::processEvents();
}

// Clicks a button at the transfer's next pause.
inline void click_later(QPushButton* b) {
    QMetaObject::invokeMethod(
        b, [b] { b->click(); }, Qt::QueuedConnection);
}

inline void press_escape(QWidget* w) {
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline std::string percent(const char* start, int p) {
    return start + std::to_string(p) + " %)";
}
inline std::string reading(int p) {
    return percent(" Probíhá čtení konfigurace z modulu (", p);
}
inline std::string writing(int p) {
    return percent(" Probíhá zápis konfigurace do modulu (", p);
}

// Widgets in the order Tab visits them, limited to `among`.
inline std::vector<QWidget*> tab_order(QWidget* first, const std::vector<QWidget*>& among) {
    std::vector<QWidget*> out;
    QWidget* w = first;
    for (size_t i = 0; i < 1000 && out.size() < among.size(); ++i) {
        for (QWidget* a : among)
            if (a == w && std::find(out.begin(), out.end(), w) == out.end()) out.push_back(w);
        w = w->nextInFocusChain();
    }
    return out;
}

// A record with its defaults and a link open through the test driver to a
// module model at address 5.
class LinkedTest : public ::testing::Test {
  protected:
    static constexpr uint8_t kAddress = 5;
    void SetUp() override {
        InitData(&data);
        testsupport::open_fake_link(data, 0);
        ASSERT_TRUE(SpojeniOtevreno(&data));
        data.Adresa = kAddress;
        model.attach();
    }
    void TearDown() override {
        fake::set_responder(nullptr);
        testsupport::close_link(data);
    }
    QString error_text(uint32_t code) const {
        return QLatin1Char(' ') + TextChyby(data.Rozhrani, code);
    }

    TData data;
    ModelLink model{kAddress};
};

// A record with its defaults and no open link; the test driver is bound so
// that a stray command would show in its journal.
class UnlinkedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitData(&data);
        testsupport::use_fake_drivers();
    }
    TData data;
};

} // namespace nastavtest
