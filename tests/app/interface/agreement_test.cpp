#include "interface/Agreement.h"

#include <gtest/gtest.h>

#include "interface/ListenerCallbacks.h"

namespace {

// A core that answers as the linked one does, or as told, recording what was asked.
int checksumQueries = 0;
const ScanListenerVTable* registered = nullptr;
int registrations = 0;

std::uint32_t version30() { return 30; }
std::uint32_t version31() { return 31; }
template <std::size_t I>
std::uint16_t linkedChecksum() {
  ++checksumQueries;
  return linkedCore().checksums[I]();
}
std::uint16_t wrongChecksum() {
  ++checksumQueries;
  return static_cast<std::uint16_t>(linkedCore().checksums[8]() + 1);
}
void recordRegistration(const ScanListenerVTable* table) {
  registered = table;
  ++registrations;
}

CoreContract agreeingCore() {
  return CoreContract{version30,
                      {linkedChecksum<0>, linkedChecksum<1>, linkedChecksum<2>, linkedChecksum<3>, linkedChecksum<4>,
                       linkedChecksum<5>, linkedChecksum<6>, linkedChecksum<7>, linkedChecksum<8>},
                      recordRegistration};
}

class Agreement : public ::testing::Test {
 protected:
  void SetUp() override {
    checksumQueries = 0;
    registered = nullptr;
    registrations = 0;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
  }
};

TEST_F(Agreement, a_matching_core_gets_the_callback_table_registered_and_the_linked_core_agrees) {
  EXPECT_EQ(initializationResult(agreeingCore()), AgreementResult::agreed);
  EXPECT_EQ(checksumQueries, 9);
  EXPECT_EQ(registrations, 1);
  EXPECT_EQ(registered, &scanListenerVTable());
  CoreContract linked = linkedCore();
  linked.registerCallbacks = recordRegistration;
  EXPECT_EQ(initializationResult(linked), AgreementResult::agreed);
}

TEST_F(Agreement, a_mismatch_is_found_registers_nothing_and_stops_the_program_with_its_message) {
  CoreContract core = agreeingCore();
  core.contractVersion = version31;
  EXPECT_EQ(initializationResult(core), AgreementResult::contractVersionMismatch);
  EXPECT_EQ(checksumQueries, 0) << "the version is asked first";
  EXPECT_DEATH(stopUnlessAgreed(initializationResult(core)),
               "UniFFI contract version mismatch: try cleaning and rebuilding your project");

  core.contractVersion = version30;
  core.checksums[8] = wrongChecksum;  // the last one alone
  EXPECT_EQ(initializationResult(core), AgreementResult::checksumMismatch);
  EXPECT_EQ(checksumQueries, 9);
  EXPECT_EQ(registrations, 0);
  EXPECT_DEATH(stopUnlessAgreed(initializationResult(core)),
               "UniFFI API checksum mismatch: try cleaning and rebuilding your project");
}

}  // namespace
