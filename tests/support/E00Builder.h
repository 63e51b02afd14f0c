#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace velmora::testing {

// Builds the bytes of an E00 recording for tests: a 4096-byte header and `frames` frame
// records after it (the count the reader calls NrOfFramesinFile). `sample(frame, channel)`
// gives the value of channel (1-based) in frame record k after the header (k from 0; the
// reader skips k = 0 and its frame 0 is record 1).
struct E00Builder {
  int channels = 256;
  int bytesPerSample = 2;
  int headerLength = 4096;
  int frames = 1000;
  int16_t word90 = 0, word104 = 0;
  std::function<int16_t(int record, int channel)> sample = [](int record, int channel) {
    return int16_t((record * 7 + channel * 13) % 2000 - 1000);
  };

  std::string Header() const;
  std::string Bytes() const;
};

// A new-format matrix file with `cols` x `rows` cells holding channels 17, 18, ... row by row.
std::string NewMatrixText(int cols, int rows, double distance = 1.5);

}  // namespace velmora::testing
