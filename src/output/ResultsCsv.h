#pragma once

#include <string>
#include <vector>

#include "results/StudyRow.h"

namespace velmora {

class WaveTable;

// A direction in degrees with `decimals` decimals, 0 <= d < 360 as written: a value that rounds
// to 360 is written as 0.
std::string DirectionText(double degrees, int decimals);

// The study's CSV files: comma-separated, a header line first, lines ended by LF, numbers
// with a decimal point, an empty field where a value does not exist. Text fields (file
// names, errors) are quoted when they hold a comma, a quote or a control character, which
// is written as a blank.
class ResultsCsv {
 public:
  static constexpr const char* kWaveHeader =
      "wave,start_ms,sites,area_mm2,origin,duration_ms,speed_mm_s,speed_sd_mm_s,direction_deg,amplitude_uv,"
      "interval_s,frequency_cpm,pattern";
  static constexpr const char* kMarkHeader = "wave,electrode,column,row,time_ms,speed_mm_s,direction_deg,amplitude_uv";
  static constexpr const char* kStudyHeader =
      "file,duration_s,electrodes,dead_electrodes,waves,frequency_mean_cpm,frequency_sd_cpm,speed_mean_mm_s,"
      "speed_sd_mm_s,direction_mean_deg,normal,retrograde,ectopic,collision,block,other,error";

  static std::string WaveTableText(const WaveTable& table);
  static std::string WaveMarksText(const WaveTable& table);
  static std::string StudyText(const std::vector<StudyRow>& rows);
  // The lines after the header of a study file, as they are; throws IoError (naming `path`)
  // when its first line is not the study header.
  static std::vector<std::string> StudyLines(const std::string& path, const std::string& text);
  // One field as it is written.
  static std::string TextField(const std::string& text);
};

}  // namespace velmora
