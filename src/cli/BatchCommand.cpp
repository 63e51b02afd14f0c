#include <fcntl.h>
#include <spawn.h>
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

#include "cli/CliCommands.h"
#include "cli/OptionParsing.h"
#include "cli/RecordingSession.h"
#include "core/AtomicFile.h"
#include "core/Errors.h"
#include "core/WriteTarget.h"
#include "output/ResultsCsv.h"

extern char** environ;

namespace velmora::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kStudyFile = "study.csv";
constexpr const char* kRowSuffix = ".study.csv";

struct BatchOptions {
  std::string matrix, out, jobs, type, minSites, normalDirection, velocityMethod, difference;
  bool writeMarks = false;
  std::vector<std::string> settings, recordings;
};

// One recording's job: what it writes and the process working on it.
struct Job {
  std::string recording, stem;
  pid_t pid = 0;
  int status = 0;
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
      {"--difference", &o.difference}, {"--velocity-method", &o.velocityMethod}};
  for (const auto& [name, value] : passed)
    if (!value->empty()) args.insert(args.end(), {name, *value});
  for (const std::string& setting : o.settings) args.insert(args.end(), {"--set", setting});
  if (o.writeMarks) args.push_back("--write-marks");
  return args;
}

// The tool itself runs each job, with its messages in the job's log beside its results.
pid_t Start(const BatchOptions& o, const Job& job) {
  std::vector<std::string> args = JobArguments(o, job);
  args.insert(args.begin(), "velmora-cli");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string log = (fs::path(o.out) / (job.stem + ".log")).string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error(fmt::format("cannot start a job: {}", std::strerror(error)));
  return pid;
}

std::string Outcome(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? "done" : "failed";
  return fmt::format("ended by signal {}", WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

// Runs the jobs, `parallel` at a time, saying on stderr as each ends.
void RunJobs(const BatchOptions& o, std::vector<Job>& jobs, int parallel) {
  size_t next = 0, finished = 0;
  std::map<pid_t, size_t> running;
  while (finished < jobs.size()) {
    while (next < jobs.size() && int(running.size()) < parallel) {
      jobs[next].pid = Start(o, jobs[next]);
      running[jobs[next].pid] = next;
      ++next;
    }
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(fmt::format("waiting for the jobs failed: {}", std::strerror(errno)));
    }
    const auto found = running.find(pid);
    if (found == running.end()) continue;
    Job& job = jobs[found->second];
    job.status = status;
    running.erase(found);
    ++finished;
    std::cerr << fmt::format("batch: {}/{} {} {}\n", finished, jobs.size(), job.recording, Outcome(status));
    const fs::path log = fs::path(o.out) / (job.stem + ".log");
    std::error_code ignored;
    if (fs::file_size(log, ignored) == 0) fs::remove(log, ignored);
  }
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
  cmd->add_option("--min-sites", o.minSites, "leave out waves with fewer sites")->type_name("N");
  cmd->add_option("--normal-direction", o.normalDirection, "the arrays' normal direction in degrees")
      ->type_name("DEG");
  cmd->add_option("--difference", o.difference, "largest time difference between neighbouring sites of a wave")
      ->type_name("MS");
  cmd->add_option("--velocity-method", o.velocityMethod, "how velocities are estimated")
      ->type_name("squares|smoothed|fit");
  cmd->add_option("--set", o.settings, "a preference by name, for every recording")->type_name("NAME=VALUE");
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
