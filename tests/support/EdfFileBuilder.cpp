#include "support/EdfFileBuilder.h"

#include <edflib.h>

#include <stdexcept>
#include <vector>

namespace velmora::testing {

void EdfFileBuilder::Write(const std::string& path) const {
  const int handle = edfopen_file_writeonly(path.c_str(), bdf ? EDFLIB_FILETYPE_BDFPLUS : EDFLIB_FILETYPE_EDFPLUS,
                                            signals);
  if (handle < 0) throw std::runtime_error("EDFlib cannot open " + path);
  const int digital = bdf ? 8388607 : 32767;
  for (int s = 0; s < signals; ++s) {
    edf_set_samplefrequency(handle, s, rate(s + 1));
    edf_set_physical_maximum(handle, s, rangeUv);
    edf_set_physical_minimum(handle, s, -rangeUv);
    edf_set_digital_maximum(handle, s, digital);
    edf_set_digital_minimum(handle, s, -digital);
    edf_set_physical_dimension(handle, s, "uV");
    edf_set_label(handle, s, ("S" + std::to_string(s + 1)).c_str());
  }
  bool ok = true;
  for (int second = 0; ok && second < seconds; ++second)
    for (int s = 0; ok && s < signals; ++s) {
      std::vector<double> record(size_t(rate(s + 1)));
      for (size_t j = 0; j < record.size(); ++j) record[j] = value(s + 1, second * rate(s + 1) + int(j));
      ok = edfwrite_physical_samples(handle, record.data()) == 0;
    }
  edfwrite_annotation_utf8(handle, 5000, -1, "drug on");
  if (edfclose_file(handle) != 0 || !ok) throw std::runtime_error("EDFlib cannot write " + path);
}

}  // namespace velmora::testing
