#include "core/SignalStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "core/AnalysisState.h"
#include "core/Errors.h"

namespace velmora {
namespace {

// What a load may take is the free memory plus the store it releases, less what is kept back.
// A fresh state's store is 65,535 rows of 1 KiB: 67,107,840 bytes.
TEST(SignalStore, ARecordingFitsWhenTheFreeMemoryAndTheReleasedStoreHoldIt) {
  struct Case {
    int64_t rows, available, otherBytes;
    std::optional<std::string> refusal;
  };
  const Case cases[] = {
      {500000, 1000000000, 0, std::nullopt},
      {779000, 1000000000, 0, std::nullopt},  // 797,696,000 + 268,435,456 <= 1,067,107,840
      {780000, 1000000000, 0,
       "rec.E00: the recording's 780000 samples per channel need 1.1 GB of memory; 1.1 GB are available"},
      {700000, 1000000000, 100000000,
       "rec.E00: the recording's 700000 samples per channel need 1.1 GB of memory; 1.1 GB are available"},
      {3000000, 1000000000, 0,
       "rec.E00: the recording's 3000000 samples per channel need 3.3 GB of memory; 1.1 GB are available"},
      {1000, 100000000, 0,
       "rec.E00: the recording's 1000 samples per channel need 269 MB of memory; 167 MB are available"},
  };
  const auto state = std::make_unique<AnalysisState>();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    std::optional<std::string> refusal;
    try {
      SignalStore::CheckFitsIn(*state, "rec.E00", c.rows, c.available, c.otherBytes);
    } catch (const IoError& error) {
      refusal = error.what();
    }
    EXPECT_EQ(refusal, c.refusal);
    EXPECT_EQ(c.rows <= SignalStore::LargestRows(*state, c.available, c.otherBytes), !c.refusal.has_value());
  }
}

// Each load's store has exactly its rows, zeroed, and the one before is gone.
TEST(SignalStore, ResizeGivesAZeroedStoreOfTheRowsAsked) {
  const auto state = std::make_unique<AnalysisState>();
  state->Signal(100, 5) = 7;
  const uint64_t version = state->SignalVersion;
  SignalStore::Resize(*state, 300);
  EXPECT_EQ(state->SignalRows(), 300);
  EXPECT_EQ(std::as_const(*state).Signal(100, 5), 0);
  EXPECT_NE(state->SignalVersion, version);
  SignalStore::Resize(*state, 0);
  EXPECT_EQ(state->SignalRows(), 0);
}

// A process that reads one recording after another keeps the last store's memory for the
// next, zeroed again, and a fresh state's small store in between does not push it out.
TEST(SignalStore, AKeptStoreIsTheNextRecordingsZeroedAgain) {
#ifdef VELMORA_CHECKED_HEAP
  GTEST_SKIP() << "the address checker's heap keeps no blocks";
#else
  FreedBlock::KeepFreedBlocks(true);
  const auto state = std::make_unique<AnalysisState>();
  SignalStore::Resize(*state, 300000);
  const int32_t* first = &state->Signal(0, 0);
  state->Signal(298999, 255) = 9;
  SignalStore::Resize(*state, 0);
  { const auto between = std::make_unique<AnalysisState>(); }  // its own small store comes and goes
  SignalStore::Resize(*state, 299000);
  EXPECT_EQ(&state->Signal(0, 0), first);
  EXPECT_EQ(std::as_const(*state).Signal(298999, 255), 0);
  SignalStore::Resize(*state, 0);
  FreedBlock::KeepFreedBlocks(false);
  SignalStore::Resize(*state, 300000);
  EXPECT_EQ(std::as_const(*state).Signal(299999, 255), 0);
#endif
}

}  // namespace
}  // namespace velmora
