#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

// What every verb gives on the generated 60 s sample, as SHA-256 of its output (stdout, or the
// file it writes). The digests were taken from the build whose store held a fixed 65,535 rows:
// a recording that fitted there must come out byte for byte the same from the store sized to
// the recording. A change that alters any of them alters results users already have.
struct VerbOutput {
  const char* name;
  const char* arguments;  // {rec}, {matrix}, {marks} and {out} are filled in
  const char* outFile;    // empty: the digest is of stdout
  const char* sha256;
};

const std::vector<VerbOutput>& Outputs() {
  static const std::vector<VerbOutput> outputs = {
      {"recording", "", "sample.E00", "1af1e2ef26495894c835a98f0716caace4d3a6fce861caf6b77aaaf65083a538"},
      {"matrix", "", "sample-matrix.txt", "9f9b5227262a4473190e4e3949de5f3cec8a9e9097be06257fc6a73b5623e261"},
      // info gained electrode_quality and dead_electrodes (237 good, 0 weak, 3 dead: 74 175 185).
      {"info", "info {rec} --matrix {matrix}", "", "7773b42d78d3a0704685e5aed871ed55e5b6196f5f95848b0c682be958f5b0c4"},
      {"samples", "samples {rec} --matrix {matrix} --channels 17 100 256", "", "5308f970f4ecdbe60f863661e961d1a4210fdae819b339f70f1e231b544c0898"},
      {"samples-raw", "samples {rec} --matrix {matrix} --raw --channels 1 17 255", "", "367d878e5534592a276e3f545ef8e7ef222c6392d0d12ca5a4a3e05fcb17974c"},
      {"automark", "automark {rec} --matrix {matrix} --write", "", "98aad19a0ca86fdc929e479ab103f76715833a60c4406b54de86e8d67d2995d8"},
      {"marks", "marks {marks}", "", "98aad19a0ca86fdc929e479ab103f76715833a60c4406b54de86e8d67d2995d8"},
      {"amplitudes", "amplitudes {rec} --matrix {matrix} --marks {marks}", "", "38b6873dd65b41cb012b401a1cea60666b8781a9a534b40fe1ff1184b91fb209"},
      {"connections", "connections {rec} --matrix {matrix} --marks {marks}", "", "135b4e4e72e0842f7000ab1a6b442c3b056b8c002e4b47efcdca5e06a5139020"},
      {"map-time", "map {rec} --matrix {matrix} --marks {marks} --kind time", "", "3c4c9de94541044037340d780719ece731e83138ffbb64899720770d39060180"},
      {"map-time-window", "map {rec} --matrix {matrix} --marks {marks} --kind time --begin 20000 --window 9000", "", "b165948c7fce41992ab41aaaecd69376649543cb785e71ba9b7397dba4fb4ab7"},
      {"map-count", "map {rec} --matrix {matrix} --marks {marks} --kind count", "", "4dab7ce912fb49aea5fe375f150194f8e2610a39738e1edbe2abb46f51c378c4"},
      {"map-electrode", "map {rec} --matrix {matrix} --marks {marks} --kind electrode", "", "0fd7b5b350d76e456e91670412af25adb20056813b021b8845d1afeedaab74d2"},
      {"map-interval", "map {rec} --matrix {matrix} --marks {marks} --kind interval", "", "7c38ba54edb61375bad8c1ae0bdff462b96e17d1a93c4b1b5e8125457d726102"},
      {"map-amplitude", "map {rec} --matrix {matrix} --marks {marks} --kind amplitude", "", "6257b43daf85ab8f3726079e62d3e357558f8128ca295fe46b69fc81a62b237e"},
      {"map-slope", "map {rec} --matrix {matrix} --marks {marks} --kind slope", "", "b4c4d5322f0daa1a3f1316a138305eabf00e86d27ff0af4bf9028188e9ed14fa"},
      {"map-velocity", "map {rec} --matrix {matrix} --marks {marks} --kind velocity", "", "5e9df59c63a65eb3daa5aabb6f4ff6057a04021b63a6a8b041e68f73e7cb2b41"},
      {"map-stats", "map {rec} --matrix {matrix} --marks {marks} --kind interval --stats", "", "c97bb0f5b2149f1f648a5dcf01c41b0c2e38fa620e49d96008e7c780fbcb95a4"},
      {"map-arrows", "map {rec} --matrix {matrix} --marks {marks} --kind time --window 10000 --arrows", "", "050c1d6861d578533c18a81d1df5ad31b4e21e871e9cbf763940387298b9a0f6"},
      {"waves", "waves {rec} --matrix {matrix} --marks {marks}", "", "48d3647f9d794875c2fbce35030e9b0e65344b8e88e21eddf2e49e51e591d67a"},
      {"waves-wide", "waves {rec} --matrix {matrix} --marks {marks} --difference 400", "", "c798ce061e04c296ccf535d1150ebfdd9595702115d71d3aa8947450d94a8069"},
      {"export-electrograms-txt", "export electrograms-txt {rec} --matrix {matrix} --marks {marks} --window 5000", "", "40b81f326f3221d8835b7fae9ac81d9145e2187eda348c2cebdf1dd66dbef57e"},
      {"export-marks-txt", "export marks-txt {rec} --matrix {matrix} --marks {marks}", "", "712e2efeb3984da53f096c7458c680d4294e22532868efc3f56b91525dd9baa1"},
      {"export-animation", "export animation {rec} --matrix {matrix} --marks {marks}", "", "539cfe39d42464d89712e357db4e3d6388345e9660a2d9b3fc16c2be6fe0ecf5"},
      {"export-single", "export single {rec} --matrix {matrix} --marks {marks}", "", "61162c87e75bd35377b3b615aabcd6473774b8fc35a901f8adb08b5ebb00a902"},
      {"export-matrix", "export matrix {rec} --matrix {matrix} --marks {marks}", "", "3c4c9de94541044037340d780719ece731e83138ffbb64899720770d39060180"},
      {"export-allmarks", "export allmarks {rec} --matrix {matrix} --marks {marks} --electrode 40", "", "b28d52b6018128de39fd9541b62995e02453e2eb00a83d80f08ac8b8a038eb37"},
      {"export-tolvar", "export tolvar {rec} --matrix {matrix} --marks {marks}", "", "e91db268f62a153987ded789507d59977efae5c5302a677349eeb727c9ddb942"},
      {"export-mac-map", "export mac-map {rec} --matrix {matrix} --marks {marks}", "", "6828478b8dc547b0c43d1d46720d7320423ecfff07b289710d8d7752df54e485"},
      {"export-mac-electrograms", "export mac-electrograms {rec} --matrix {matrix} --marks {marks} --window 8000", "", "85ffd508882f0f11a3be38d1b50d3698d817e4f1c639738ffd2d9da19cbde9fd"},
      {"export-mac-elemap", "export mac-elemap {rec} --matrix {matrix} --marks {marks}", "", "56c0221833b886bcbac0d1c3224ff86424cc5da50bb5e0bf4f27054e308f1496"},
      {"export-realbasic", "export realbasic {rec} --matrix {matrix} --marks {marks}", "", "2b300626a7a25ae314e9c7ce3a5d09fc410837bc8f7752b53a1858ea43149820"},
      {"render-electrograms", "render {rec} --matrix {matrix} --out {out}", "pane.txt", "0c67d86f91dbc23f0cc52f5a1495813eda8602640f90d26668ab16e024e42083"},
      {"render-electrograms-tail", "render {rec} --matrix {matrix} --begin 52000 --window 8000 --out {out}", "tail.txt", "c83ba38b147a562b9470aa3a1f4bd116f0340c0ca7ed80028c46de8daa3df70e"},
      {"render-png", "render {rec} --matrix {matrix} --size 800x600 --out {out}", "pane.png", "f717154f5d509fd9af12c7bc1eb33ee1c391e59aeb4ad0578207b012d0d38752"},
      {"render-map", "render {rec} --matrix {matrix} --pane map --kind time --window 10000 --out {out}", "map.txt", "5aae118e3739d8700d91f095b0d383225b2489e5e4bc04c08828102e0e25474e"},
      {"render-wave", "render {rec} --matrix {matrix} --pane wave --wave 3 --out {out}", "wave.txt", "faea260770dedf1e8c74853324a9dd8c224842df621e29db6aec9794a2f5e8a4"},
  };
  return outputs;
}

std::string Replace(std::string text, const std::string& key, const std::string& value) {
  for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
    text.replace(at, key.size(), value);
  return text;
}

std::string Sha256OfFile(const std::string& path) {
  FILE* pipe = ::popen(("sha256sum '" + path + "'").c_str(), "r");
  if (pipe == nullptr) return "";
  char digest[65] = {};
  const size_t n = std::fread(digest, 1, 64, pipe);
  ::pclose(pipe);
  return std::string(digest, n);
}

// Outputs that name the recording's files are compared with the folder taken out, so the
// digest does not depend on where the test runs.
std::string DigestWithoutFolder(const testing::TempDir& dir, const std::string& text, const std::string& folder) {
  return Sha256OfFile(dir.Write("normalised.out", Replace(text, folder, "{dir}/")));
}

// A build without Qt (the sanitizer build) draws no pictures; every other output is compared.
#ifdef VELMORA_CLI_PICTURES
constexpr bool kCliDrawsPictures = true;
#else
constexpr bool kCliDrawsPictures = false;
#endif

TEST(SixtySecondOutputs, EveryVerbGivesWhatTheFixedStoreGave) {
  testing::TempDir dir;
  ::setenv("XDG_DATA_HOME", dir.File("xdg").c_str(), 1);
  const testing::CliRun made = testing::RunCli("sample " + dir.File("s"), dir.File("stderr.txt"));
  ASSERT_EQ(made.status, 0) << made.err;
  const std::string folder = dir.File("s") + "/";
  for (const VerbOutput& verb : Outputs()) {
    if (!kCliDrawsPictures && std::string_view(verb.outFile).ends_with(".png")) continue;
    SCOPED_TRACE(verb.name);
    const std::string out = folder + verb.outFile;
    std::string text;
    if (std::string(verb.arguments).empty()) {
      text = testing::ReadFile(out);
    } else {
      std::string arguments = Replace(verb.arguments, "{rec}", folder + "sample.E00");
      arguments = Replace(Replace(arguments, "{matrix}", folder + "sample-matrix.txt"), "{out}", out);
      arguments = Replace(arguments, "{marks}", folder + "sample.M00");
      const testing::CliRun run = testing::RunCli(arguments, dir.File("stderr.txt"));
      ASSERT_EQ(run.status, 0) << run.err;
      text = *verb.outFile == '\0' ? run.out : testing::ReadFile(out);
    }
    EXPECT_FALSE(text.empty());
    const std::string digest = DigestWithoutFolder(dir, text, folder);
    EXPECT_EQ(digest, verb.sha256) << "{\"" << verb.name << "\", \"" << digest << "\"}";
  }
}

}  // namespace
}  // namespace velmora
