#include <gtest/gtest.h>

#include "interface/CoreCall.h"

namespace {

using Case = UniffiInternalError::Case;

CoreCallStatus statusWith(std::int8_t code, const QByteArray& message) {
  return CoreCallStatus{code, message.isNull() ? CoreBuffer{0, 0, nullptr} : sendBytes(message)};
}

TEST(CallStatus, each_failure_code_raises_its_error_and_frees_the_error_buffer) {
  const std::tuple<const char*, CoreCallStatus, Case, QString> rows[] = {
      {"code 2 with a message", statusWith(2, QByteArray("boom \xFF!")), Case::corePanic,
       QStringLiteral("boom \uFFFD!")},
      {"code 2 with an empty buffer", statusWith(2, QByteArray("")), Case::corePanic,
       QStringLiteral("The scanning core failed without a message")},
      {"code 2 without a buffer", statusWith(2, QByteArray()), Case::corePanic,
       QStringLiteral("The scanning core failed without a message")},
      {"code 1 where no error is declared", statusWith(1, QByteArray("\0\0\0\x01", 4)), Case::unexpectedCoreCallError,
       QStringLiteral("CALL_ERROR but no errorClass specified")},
      {"code 4", statusWith(4, QByteArray()), Case::unexpectedCoreCallStatusCode,
       QStringLiteral("Unexpected CoreCallStatus code")},
  };
  for (auto [what, status, expected, description] : rows) {
    SCOPED_TRACE(what);
    try {
      uniffiCheckCallStatus(status);
      ADD_FAILURE() << "nothing raised";
    } catch (const UniffiInternalError& error) {
      EXPECT_EQ(error.which(), expected);
      EXPECT_EQ(error.description(), description);
    }
  }
}

TEST(CallStatus, cancellation_and_unreadable_results_stop_the_program) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CoreCallStatus cancelled = statusWith(3, QByteArray());
  EXPECT_DEATH(uniffiCheckCallStatus(cancelled), "Cancellation not supported yet");

  const QByteArray phaseAndOneMore("\0\0\0\x01\0", 5);
  EXPECT_DEATH(callOrStop([&] { return lift<Phase>(sendBytes(phaseAndOneMore)); }),
               "The buffer still has data after lifting its containing value");
}

}  // namespace
