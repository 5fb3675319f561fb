// The test driver backed by the model, bound with dlopen as the program binds it.
#include "driver_errors.h"
#include "emu_test_util.h"
#include "fake_control.h"
#include "fake_module.h"
#include "km_driver.h"

#include <gtest/gtest.h>

#include <string>

#include <dlfcn.h>

using namespace km::emu;

namespace {

class FakeModuleTest : public ::testing::Test {
  protected:
    emu_test::ManualClock clock;
    Module module{Config{}, clock.fn()};
    void* lib = nullptr;
    KmSendFn send = nullptr;

    void SetUp() override {
        fake::reset();
        lib = ::dlopen((std::string(FAKE_DIR) + "/KSER410.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib, nullptr) << ::dlerror();
        send = reinterpret_cast<KmSendFn>(::dlsym(lib, "KSER410_Send"));
        ASSERT_NE(send, nullptr);
        fake::attach_module(module);
    }
    void TearDown() override {
        fake::detach_module();
        fake::reset();
        if (lib) ::dlclose(lib);
    }

    struct Out {
        uint32_t result, stav, vystup;
        uint32_t odpoved[KM_REPLY_LEN];
    };
    Out call(std::initializer_list<uint32_t> req8) {
        uint32_t req[KM_REQUEST_LEN] = {};
        int i = 0;
        for (uint32_t v : req8)
            req[i++] = v;
        Out o{};
        o.stav = 0xDEAD;
        o.vystup = 0xDEAD;
        o.result = send(0x1234, req, o.odpoved, &o.vystup, &o.stav);
        return o;
    }
};

} // namespace

TEST_F(FakeModuleTest, IdentificationThroughTheDriver) {
    std::string name;
    for (uint32_t p5 = 0; p5 < 3; ++p5) {
        const Out o = call({0, 200, p5});
        ASSERT_EQ(o.result, 0u);
        ASSERT_EQ(o.stav, 0u);
        EXPECT_EQ(o.vystup, p5) << "Vystup = the module's out byte";
        for (int i = 0; i < 4; ++i)
            name += static_cast<char>(o.odpoved[i]);
    }
    EXPECT_EQ(name, "KM-207  1.02");
}

TEST_F(FakeModuleTest, WritesReachTheModule) {
    EXPECT_EQ(call({0, 1, 64, 0, 0x11, 0x22, 0x33, 0x44}).stav, 0u);
    EXPECT_EQ(module.outputs(), 0x44332211u);
    EXPECT_EQ(call({0, 103, 0, 0, 63, 63, 7, 7}).stav, 0u);
    const Out o = call({0, 102, 0, 0, 63, 63, 7, 7});
    EXPECT_EQ(o.odpoved[2], 7u);
    EXPECT_EQ(module.address(), 0) << "new address waits for power-up";
}

TEST_F(FakeModuleTest, ModuleErrorsBecomeDriverCodes) {
    EXPECT_EQ(call({0, 55, 0}).stav, uint32_t{km::kErrUnknownCommand});
    EXPECT_EQ(call({0, 102, 0, 0, 1, 1}).stav, uint32_t{km::kErrBadRegister});
    EXPECT_EQ(call({0, 103, 0, 0, 0, 0, 9, 9}).stav, uint32_t{km::kErrBadValue});
    EXPECT_EQ(call({0, 200, 0, 0, 300}).stav, uint32_t{km::kErrParameter});
}

TEST_F(FakeModuleTest, SilenceAndDamageBecomeTimeoutAndCorrupt) {
    EXPECT_EQ(call({3, 200, 0}).stav, uint32_t{km::kErrTimeout}) << "no module at address 3";
    FaultRule r;
    r.kind = FaultKind::Drop;
    r.count = 1;
    module.add_fault(r);
    EXPECT_EQ(call({0, 200, 0}).stav, uint32_t{km::kErrTimeout});
    r.kind = FaultKind::Corrupt;
    module.add_fault(r);
    EXPECT_EQ(call({0, 200, 0}).stav, uint32_t{km::kErrCorrupt});
    r.kind = FaultKind::Delay;
    r.delay_ms = 500;
    module.add_fault(r);
    EXPECT_EQ(call({0, 200, 0}).stav, uint32_t{km::kErrTimeout}) << "later than the link waits";
    r.delay_ms = 20;
    module.add_fault(r);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(call({0, 200, 0}).stav, 0u) << "late but in time";
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(19));
    EXPECT_EQ(call({0, 200, 0}).stav, 0u);
}

TEST_F(FakeModuleTest, WrongReadbackAndErrorStatusFaults) {
    FaultRule r;
    r.kind = FaultKind::WrongReadback;
    r.count = 1;
    module.add_fault(r);
    call({0, 103, 0, 0, 0, 0, 1, 1});
    EXPECT_NE(call({0, 102, 0, 0, 0, 0, 1, 1}).odpoved[2], 1u);
    r.kind = FaultKind::ErrorStatus;
    r.status = 1;
    module.add_fault(r);
    EXPECT_EQ(call({0, 100, 0}).stav, uint32_t{km::kErrUnknownCommand});
}

TEST_F(FakeModuleTest, JournalStillRecordsTheCalls) {
    call({0, 0, 80});
    EXPECT_EQ(fake::calls("KSER410_Send").size(), 1u);
}
