#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>

#include "cli/BatchWorkers.h"
#include "cli/CliCommands.h"
#include "cli/DetectionMethodOption.h"
#include "cli/OptionParsing.h"
#include "cli/PreferenceSettings.h"
#include "cli/RecordingSession.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/WriteTarget.h"
#include "output/ResultsCsv.h"

namespace velmora::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStudyFile = "study.csv";
constexpr const char* kRowSuffix = ".study.csv";

struct BatchOptions {
  std::string matrix, out, jobs, type, minSites, normalDirection, velocityMethod, difference, method;
  bool writeMarks = false;
  std::vector<std::string> settings, recordings;
};

// One recording's job: what it writes and how it ended.
struct Job {
  std::string recording, stem;
  int status = 0;  // as waitpid tells it
};

// Names in the output folder: the recording's name without its extension, numbered when two
// recordings of different folders share it.
std::vector<std::string> Stems(const std::vector<std::string>& recordings) {
  std::vector<std::string> stems;
  std::map<std::string, int> seen;
  for (const std::string& recording : recordings) {
    const std::string stem = fs::path(recording).stem().string();
    const int n = ++seen[stem];
    stems.push_back(n == 1 ? stem : fmt::format("{}-{}", stem, n));
  }
  return stems;
}

std::vector<std::string> JobArguments(const BatchOptions& o, const Job& job) {
  const fs::path base = fs::path(o.out) / job.stem;
  std::vector<std::string> args = {"summary",   job.recording,
                                   "--matrix",  o.matrix,
                                   "--automark", "--out",
                                   base.string() + ".csv", "--per-mark",
                                   base.string() + "-marks.csv", "--study-row",
                                   base.string() + kRowSuffix, "--save-marks",
                                   base.string() + ".M00"};
#ifdef VELMORA_CLI_PICTURES
  args.insert(args.end(), {"--report", base.string() + ".pdf"});  // a build without Qt draws no PDF
#endif
  const std::pair<const char*, const std::string*> passed[] = {
      {"--type", &o.type},           {"--min-sites", &o.minSites},           {"--normal-direction", &o.normalDirection},
      {"--difference", &o.difference}, {"--velocity-method", &o.velocityMethod}, {"--method", &o.method}};
  for (const auto& [name, value] : passed)
    if (!value->empty()) args.insert(args.end(), {name, *value});
  for (const std::string& setting : o.settings) args.insert(args.end(), {"--set", setting});
  if (o.writeMarks) args.push_back("--write-marks");
  return args;
}

// The job's summary, run in this process (a worker's), with its messages in the job's log
// beside its results. Returns its exit status.
int RunHere(const BatchOptions& o, const Job& job) {
  std::vector<std::string> args = JobArguments(o, job);
  args.insert(args.begin(), "velmora-cli");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  const std::string log = (fs::path(o.out) / (job.stem + ".log")).string();
  const int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int saved = ::dup(STDERR_FILENO);
  std::cerr.flush();
  if (logFd >= 0) ::dup2(logFd, STDERR_FILENO);
  int exitCode = 0;
  try {
    CLI::App app{"", "velmora-cli"};
    app.require_subcommand(1);
    AddSummaryCommand(app, exitCode);
    app.parse(int(argv.size()), argv.data());
  } catch (const std::exception& error) {  // a usage error: the batch checked the options
    std::cerr << "error: " << error.what() << '\n';
    exitCode = 2;
  }
  std::cerr.flush();
  if (saved >= 0) ::dup2(saved, STDERR_FILENO);
  for (const int fd : {logFd, saved})
    if (fd >= 0) ::close(fd);
  return exitCode;
}

std::string Outcome(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? "done" : "failed";
  return fmt::format("ended by signal {}", WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// Runs the jobs, `parallel` at a time, saying on stderr as each ends.
void RunJobs(const BatchOptions& o, std::vector<Job>& jobs, int parallel) {
  size_t finished = 0;
  BatchWorkers::Run(
      jobs.size(), parallel, [&](size_t i) { return RunHere(o, jobs[i]); },
      [&](size_t i, int status) {
        Job& job = jobs[i];
        job.status = status;
        std::cerr << fmt::format("batch: {}/{} {} {}\n", ++finished, jobs.size(), job.recording, Outcome(status));
        const fs::path log = fs::path(o.out) / (job.stem + ".log");
        std::error_code ignored;
        if (fs::file_size(log, ignored) == 0) fs::remove(log, ignored);
      });
}

void WriteStudy(const std::string& path, const std::string& study) {
  WriteTarget::RefuseSpecial(path);
  WriteFileAtomically(path, study);
}

// The job's study row, or one saying why there is none.
std::string RowOf(const BatchOptions& o, const Job& job, bool& failed) {
  const fs::path path = fs::path(o.out) / (job.stem + kRowSuffix);
  failed = failed || !WIFEXITED(job.status) || WEXITSTATUS(job.status) != 0;
  try {
    const std::vector<std::string> lines = ResultsCsv::StudyLines(path.string(), ReadWholeFile(path.string()));
    if (lines.size() == 1) return lines.front();
  } catch (const IoError&) {
  }
  failed = true;
  const std::string text = ResultsCsv::StudyText(
      {StudyRow::Failed(job.recording, "the analysis " + Outcome(job.status))});
  return text.substr(text.find('\n') + 1, text.size() - text.find('\n') - 2);
}

int RunBatch(const BatchOptions& o) {
  const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
  const int parallel = ParseOptionalInt("--jobs", o.jobs, 1, 256).value_or(cores);
  // A setting no recording could take is refused once, before any job starts.
  PreferenceSettings::Store(*std::make_unique<AnalysisState>(), PreferenceSettings::Parse(o.settings));
  std::error_code error;
  fs::create_directories(o.out, error);
  if (error) throw IoError(o.out, "the folder cannot be created: " + error.message());
  std::vector<Job> jobs;
  const std::vector<std::string> stems = Stems(o.recordings);
  for (size_t i = 0; i < o.recordings.size(); ++i) jobs.push_back({o.recordings[i], stems[i]});
  RunJobs(o, jobs, parallel);
  bool failed = false;
  std::string study = std::string(ResultsCsv::kStudyHeader) + '\n';
  for (const Job& job : jobs) study += RowOf(o, job, failed) + '\n';
  WriteStudy((fs::path(o.out) / kStudyFile).string(), study);
  return failed ? 1 : 0;
}

struct StudyOptions {
  std::string folder;
};

// Every recording's row of the folder, by file name, into its study table.
void RunStudy(const StudyOptions& o) {
  std::set<fs::path> rows;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(o.folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > std::strlen(kRowSuffix) && name.ends_with(kRowSuffix) && entry.is_regular_file())
      rows.insert(entry.path());
  }
  if (error) throw IoError(o.folder, "the folder cannot be read: " + error.message());
  if (rows.empty()) throw IoError(o.folder, fmt::format("there is no *{} row of a recording here", kRowSuffix));
  std::string study = std::string(ResultsCsv::kStudyHeader) + '\n';
  for (const fs::path& path : rows)
    for (const std::string& line : ResultsCsv::StudyLines(path.string(), ReadWholeFile(path.string())))
      study += line + '\n';
  WriteStudy((fs::path(o.folder) / kStudyFile).string(), study);
}

}  // namespace

void AddBatchCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<BatchOptions>();
  BatchOptions& o = *options;
  CLI::App* cmd = app.add_subcommand(
      "batch", "Analyse recordings automatically, several at a time: wave tables, reports and a study table");
  cmd->add_option("recordings", o.recordings, "recordings: E00, EDF, BDF or GDF")->type_name("REC...")->required();
  cmd->add_option("--matrix", o.matrix, "new-format matrix file")->type_name("M")->required();
  cmd->add_option("--out", o.out, "folder for every file the batch writes")->type_name("DIR")->required();
  cmd->add_option("--jobs", o.jobs, "recordings analysed at a time (default the number of cores)")->type_name("N");
  cmd->add_flag("--write-marks", o.writeMarks, "also save the marks in each recording's own mark file");
  cmd->add_option("--type", o.type, "mark kind: 1 slow waves (default), 2 spikes, 3 type 3")->type_name("1|2|3");
  cmd->add_option("--min-sites", o.minSites, "leave out waves with fewer sites (default MinSitesPerWave, 1)")
      ->type_name("N");
  DetectionMethodOption::AddOption(cmd, o.method);
  cmd->add_option("--normal-direction", o.normalDirection, "the arrays' normal direction in degrees")
      ->type_name("DEG");
  cmd->add_option("--difference", o.difference, "largest time difference between neighbouring sites of a wave")
      ->type_name("MS");
  cmd->add_option("--velocity-method", o.velocityMethod, "how velocities are estimated")
      ->type_name("squares|smoothed|fit");
  PreferenceSettings::AddOption(cmd, o.settings);  // --set and --filter, for every recording
  cmd->callback([options, &exitCode] {
    exitCode = RunReportingErrors([&] {
      if (RunBatch(*options) != 0) throw std::runtime_error("some recordings could not be analysed (see study.csv)");
    });
  });

  auto study = std::make_shared<StudyOptions>();
  CLI::App* merge = app.add_subcommand("study", "Merge the recordings' rows of a folder into its study.csv");
  merge->add_option("folder", study->folder, "folder of the recordings' *.study.csv rows")->type_name("DIR")->required();
  merge->callback([study, &exitCode] { exitCode = RunReportingErrors([&] { RunStudy(*study); }); });
}

}  // namespace velmora::cli
