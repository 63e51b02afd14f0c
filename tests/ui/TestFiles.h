#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <functional>

namespace velmora::testing {

// Writes an E00 recording for window tests: the 4096-byte header and `frames` frames of
// `channels` 16-bit samples, `sample(frame, channel)` each (0 when not given). Frames of a
// power-of-two size line up with the header.
inline bool WriteRecordingFile(const QString& path, int channels, int frames,
                               const std::function<qint16(int, int)>& sample = nullptr) {
  QByteArray bytes(4096, '\0');
  qToLittleEndian(qint16(4096), bytes.data() + 2);
  qToLittleEndian(qint16(channels), bytes.data() + 86);
  qToLittleEndian(qint16(2), bytes.data() + 88);
  bytes.reserve(4096 + frames * channels * 2);
  for (int f = 0; f < frames; ++f) {
    for (int c = 1; c <= channels; ++c) {
      char value[2];
      qToLittleEndian(sample ? sample(f, c) : qint16(0), value);
      bytes.append(value, 2);
    }
  }
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool WriteTextFile(const QString& path, const QByteArray& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

}  // namespace velmora::testing
