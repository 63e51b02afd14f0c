#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/PreferenceForm.h"
#include "commands/PreferenceTable.h"
#include "core/AnalysisState.h"

namespace velmora {
namespace {

class PreferenceFormTest : public ::testing::Test {
 protected:
  std::unique_ptr<AnalysisState> s = std::make_unique<AnalysisState>();
};

TEST(PreferenceTableTest, ListsEveryVariableInStoringOrderWithItsControl) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"MinDiffValSW", "MinDiffValEdit1"},     {"MinDiffValSpike", "MinDiffValEdit2"},
      {"MinDiffValType3", "MinDiffValEdit3"},  {"SearchWidthSW", "WidthEdit1"},
      {"SearchWidthSpike", "WidthEdit2"},      {"SearchWidthType3", "WidthEdit3"},
      {"DiffDistSW", "DiffDistEdit1"},         {"DiffDistSpike", "DiffDistEdit2"},
      {"DiffDistType3", "DiffDistEdit3"},      {"SearchBelowLevel", "SearchCriteria1"},
      {"PlotOnlyDots", "PlotOnlyPoints1"},     {"SmoothElectrograms", "SmoothElectrograms1"},
      {"AvoidDoubleMarks", "DoubleMarks1"},    {"AvoidanceWidth", "DoubleWidth1"},
      {"UseIntervalRange", "IntervalRange1"},  {"MinIntervalRange", "MinIntervalRange1"},
      {"MaxIntervalRange", "maxIntervalRange1"}, {"DigitType", "EditDigitType"},
      {"NrExpandCycles", "NrExpCyclesEdit"},   {"NrNeighbours", "NrNeighbours1"},
      {"IncVel", "EditIncVel"},                {"LimitCondVel", "MaxCondVelCheckBox1"},
      {"MaxCondVel", "MaxCondVelEdit"},        {"ArrowSize", "EditArrowSize"},
      {"VelocityMethod", "VelocityMethodChoice"}, {"VelocityFitRadius", "VelocityFitRadiusEdit"},
      {"VelocityFitQuadratic", "VelocityFitQuadraticCheckBox"},
      {"NormalDirection", "NormalDirectionEdit"},
      {"SWDuration", "SWDurationEdit"},        {"AnimStep", "StepTimeEdit"},
      {"AnimBegin", "begSimEdit"},             {"AnimEnd", "EndSimEdit"},
      {"LimitIntervals", "CheckLimitIntervals"}, {"MaxIntervalValue", "EditMaxIntervalVal"},
      {"FilterMains", "FilterMainsChoice"}, {"FilterMainsHarmonics", "FilterMainsHarmonicsEdit"},
      {"FilterBaselineSeconds", "FilterBaselineEdit"}, {"FilterLowPassHz", "FilterLowPassEdit"},
      {"FilterSmoothingMs", "FilterSmoothingEdit"}, {"FilterSmoothingOrder", "FilterSmoothingOrderEdit"},
      {"DetectionMethod", "DetectionMethodChoice"}, {"RobustFallWidth", "RobustFallWidthEdit"},
      {"RobustThreshold", "RobustThresholdEdit"}, {"RobustRefractory", "RobustRefractoryEdit"},
      {"RobustNoiseWindow", "RobustNoiseWindowEdit"}, {"DeadQuality", "DeadQualityEdit"},
      {"MinSitesPerWave", "MinSitesPerWaveEdit"}};
  const auto& variables = PreferenceTable::Variables();
  ASSERT_EQ(variables.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(variables[i].name, expected[i].first) << i;
    EXPECT_EQ(variables[i].control, expected[i].second) << i;
  }
  EXPECT_EQ(PreferenceTable::Find("NrNeighbours")->control, "NrNeighbours1");
  EXPECT_EQ(PreferenceTable::Find("SigLength"), nullptr);
}

TEST_F(PreferenceFormTest, LoadShowsTheStartValues) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"MinDiffValSW", "-100"},   {"SearchWidthSW", "300"},    {"DiffDistSW", "100"},
      {"MinDiffValSpike", "-200"}, {"SearchWidthSpike", "100"}, {"DiffDistSpike", "10"},
      {"MinDiffValType3", "-1"},  {"SearchWidthType3", "300"}, {"DiffDistType3", "50"},
      {"SearchBelowLevel", "1"},  {"AvoidDoubleMarks", "1"},   {"AvoidanceWidth", "5"},
      {"PlotOnlyDots", "0"},      {"SmoothElectrograms", "1"}, {"UseIntervalRange", "1"},
      {"MinIntervalRange", "2000"}, {"MaxIntervalRange", "6000"}, {"DigitType", "0"},
      {"NrNeighbours", "3"},      {"NrExpandCycles", "10"},    {"IncVel", "1"},
      {"LimitCondVel", "0"},      {"MaxCondVel", "20"},        {"ArrowSize", "5000"},
      {"SWDuration", "2000"},     {"AnimStep", "100"},         {"AnimBegin", "0"},
      {"AnimEnd", ""},            {"LimitIntervals", "0"},     {"MaxIntervalValue", "6000"},
      {"VelocityMethod", "0"},    {"VelocityFitRadius", "2"},  {"VelocityFitQuadratic", "1"},
      {"NormalDirection", "0"}};
  const PreferenceTexts texts = PreferenceForm::Load(*s);
  for (const auto& [name, text] : expected) EXPECT_EQ(texts.at(name), text) << name;
}

TEST_F(PreferenceFormTest, StoresEveryField) {
  PreferenceTexts texts = PreferenceForm::Load(*s);
  for (auto& [name, text] : texts) {
    const PreferenceVariable& v = *PreferenceTable::Find(name);
    text = v.IsSwitch() ? (text == "1" ? "0" : "1") : std::to_string(std::min(v.maximum, v.Get(*s) + 1));
  }
  texts["AvoidDoubleMarks"] = "1";
  ASSERT_FALSE(PreferenceForm::Store(*s, texts));
  EXPECT_EQ(PreferenceForm::Load(*s), texts);
}

TEST_F(PreferenceFormTest, BadFieldStoresNothingAndNamesTheField) {
  const PreferenceTexts before = PreferenceForm::Load(*s);
  PreferenceTexts texts = before;
  texts["MinDiffValSW"] = "-50";
  texts["SmoothElectrograms"] = "0";
  texts["MaxIntervalValue"] = "6 000";
  const auto problem = PreferenceForm::Store(*s, texts);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->field->name, "MaxIntervalValue");
  EXPECT_EQ(problem->reason, "must be a whole number (not \"6 000\")");
  EXPECT_EQ(PreferenceForm::Load(*s), before);
}

TEST_F(PreferenceFormTest, RefusesValuesThatBreakAComputation) {
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"DigitType", "5"},       {"DigitType", "-1"},       {"NrNeighbours", "0"},   {"IncVel", "0"},
      {"SearchWidthSW", "0"},   {"SearchWidthType3", "-3"}, {"DiffDistSpike", "0"},  {"AnimStep", "0"},
      {"MaxCondVel", "0"},      {"NrExpandCycles", "1001"}, {"MaxIntervalRange", "1999"},
      {"LimitIntervals", "2"},  {"NrNeighbours", "5"},      {"IncVel", "100"},       {"MaxIntervalValue", "0"}};
  for (const auto& [name, text] : refused) {
    PreferenceTexts texts = PreferenceForm::Load(*s);
    texts[name] = text;
    const auto problem = PreferenceForm::Check(*s, texts);
    ASSERT_TRUE(problem) << name << "=" << text;
    EXPECT_EQ(problem->field->name, name);
    EXPECT_NE(problem->reason.find("\"" + text + "\""), std::string::npos) << problem->reason;
  }
  PreferenceTexts texts = PreferenceForm::Load(*s);
  texts["MinIntervalRange"] = "7000";
  EXPECT_EQ(PreferenceForm::Check(*s, texts)->reason,
            "must be a whole number from 7000 to 2147483647 (not \"6000\")");
}

TEST_F(PreferenceFormTest, TakesEveryValueTheComputationsCanUse) {
  const std::vector<std::pair<std::string, std::string>> taken = {
      {"DigitType", "4"},        {"NrNeighbours", "1"},      {"IncVel", "1"},           {"SearchWidthSW", "1"},
      {"DiffDistType3", "1"},    {"AnimStep", "1"},          {"MaxCondVel", "1"},       {"NrExpandCycles", "0"},
      {"MinDiffValSW", "-99999"}, {"AnimEnd", "-12345"},     {"MaxIntervalRange", "2000"}, {"ArrowSize", " +7 "},
      {"NrNeighbours", "4"},     {"IncVel", "99"},           {"AnimEnd", ""}};
  for (const auto& [name, text] : taken) {
    PreferenceTexts texts = PreferenceForm::Load(*s);
    texts[name] = text;
    EXPECT_FALSE(PreferenceForm::Check(*s, texts)) << name << "=" << text;
  }
}

TEST_F(PreferenceFormTest, AvoidanceWidthIsReadOnlyWhileMarkingTwiceIsAvoided) {
  PreferenceTexts texts = PreferenceForm::Load(*s);
  texts["AvoidDoubleMarks"] = "0";
  texts["AvoidanceWidth"] = "not read";
  ASSERT_FALSE(PreferenceForm::Store(*s, texts));
  EXPECT_FALSE(s->AvoidDoubleMarks);
  EXPECT_EQ(s->AvoidanceWidth, 5);
  texts["AvoidDoubleMarks"] = "1";
  texts["AvoidanceWidth"] = "12";
  ASSERT_FALSE(PreferenceForm::Store(*s, texts));
  EXPECT_EQ(s->AvoidanceWidth, 12);
}

}  // namespace
}  // namespace velmora
