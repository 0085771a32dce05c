// orvik-exercise: a seeded run of random user actions on the editor, with its promises checked
// after each one. The run itself happens in a child process (a worker), so that a crash or a
// sanitizer's report still leaves the list of actions behind; on a failure the list is printed,
// shrunk by replaying parts of it in fresh workers, and printed again.
#include "exercise/Exerciser.h"
#include "exercise/Shrink.h"
#include "support/PrivateDataFolder.h"
#include "support/Process.h"
#include "support/TestSupport.h"

#include <QApplication>

#include <cctype>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

namespace orvik::exercise {

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::uint64_t seed = 0;
    std::size_t actions = 1000;
    double seconds = 0; // when set, instead of a number of actions
    double shrinkSeconds = 120;
    bool worker = false;
    std::string log;    // the worker's list of what it did
    std::string replay; // the worker replays only these steps of the seed's stream
};

int Usage()
{
    std::cerr << "usage: orvik-exercise [--seed N] [--actions M | --seconds S] [--shrink-seconds T]\n";
    return 2;
}

bool Parse(int argc, char** argv, Options& o)
{
    bool seeded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--worker") {
            o.worker = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (arg == "--seed") {
            o.seed = std::stoull(value);
            seeded = true;
        } else if (arg == "--actions") {
            o.actions = std::stoul(value);
        } else if (arg == "--seconds") {
            o.seconds = std::stod(value);
        } else if (arg == "--shrink-seconds") {
            o.shrinkSeconds = std::stod(value);
        } else if (arg == "--log") {
            o.log = value;
        } else if (arg == "--replay") {
            o.replay = value;
        } else {
            return false;
        }
    }
    if (!seeded)
        o.seed = std::random_device()() % 1000000;
    return true;
}

// The worker: performs the actions, writing "STEP<TAB>what" lines as they start and
// "FAILED<TAB>why" when a promise breaks.
int Work(const Options& o)
{
    std::ofstream log(o.log);
    std::size_t step = 0;
    const auto say = [&](const std::string& text) { log << step << '\t' << text << std::endl; };
    test::ScratchDir dir;
    ActionSource source(o.seed);
    const auto start = Clock::now();
    std::size_t performed = 0;
    try {
        Session session(dir.Path(), say);
        if (!o.replay.empty()) {
            std::set<std::size_t> steps;
            std::ifstream in(o.replay);
            for (std::size_t s; in >> s;)
                steps.insert(s);
            for (step = 0; !steps.empty() && step <= *steps.rbegin(); ++step) {
                const Action action = source.Next();
                if (steps.count(step)) {
                    session.Perform(action);
                    ++performed;
                }
            }
        } else {
            for (step = 0; o.seconds > 0 ? Clock::now() - start < std::chrono::duration<double>(o.seconds)
                                         : step < o.actions;
                 ++step) {
                session.Perform(source.Next());
                ++performed;
            }
        }
        session.UndoRedoAll();
    } catch (const std::exception& e) {
        log << "FAILED\t" << e.what() << std::endl;
        return 1;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::cout << performed << " actions in " << seconds << " s (" << static_cast<long>(performed / seconds)
              << " per second), every promise kept\n";
    return 0;
}

struct Run {
    int status = 0;
    std::vector<std::size_t> steps;               // in the order they ran
    std::map<std::size_t, std::string> described; // what each one did
    std::string failure;                          // FAILED line, or the end of the error output
    std::string output;
};

// Runs a worker with extra arguments and reads back what it did.
Run RunWorker(const Options& o, std::vector<std::string> args, const std::string& folder)
{
    const std::string log = folder + "log", out = folder + "out", err = folder + "err";
    args.insert(args.end(), {"--worker", "--seed", std::to_string(o.seed), "--log", log});
    Run run;
    run.status = test::RunProgram(QCoreApplication::applicationFilePath().toStdString(), args, test::NullDevice(),
                                  out, err);
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        const std::string head = line.substr(0, tab), text = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (head == "FAILED") {
            run.failure = text;
            continue;
        }
        const std::size_t step = std::stoul(head);
        if (run.steps.empty() || run.steps.back() != step)
            run.steps.push_back(step);
        auto& said = run.described[step];
        said += (said.empty() ? "" : "; ") + text;
    }
    run.output = test::ReadText(out) + test::ReadText(err);
    if (run.failure.empty() && run.status != 0)
        run.failure = "the worker ended with status " + std::to_string(run.status) + " (a crash or a sanitizer's report)";
    return run;
}

// A failure without its numbers: a shorter list must fail the same way, not merely fail.
std::string Shape(const std::string& failure)
{
    std::string shape;
    for (char c : failure.substr(0, failure.find_first_of(":[")))
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-')
            shape += c;
    return shape;
}

void Print(const Run& run, const std::string& heading)
{
    std::cout << heading << " (" << run.steps.size() << " actions):\n";
    std::size_t n = 0;
    for (std::size_t step : run.steps)
        std::cout << "  " << ++n << ". [step " << step << "] " << run.described.at(step) << '\n';
    std::cout << "  failed: " << run.failure << '\n';
}

int Supervise(const Options& o)
{
    std::cout << "orvik-exercise: seed " << o.seed << std::endl;
    test::ScratchDir folder;
    std::vector<std::string> args = o.seconds > 0 ? std::vector<std::string>{"--seconds", std::to_string(o.seconds)}
                                                  : std::vector<std::string>{"--actions", std::to_string(o.actions)};
    const Run first = RunWorker(o, args, folder.Path());
    std::cout << first.output << std::flush;
    if (first.status == 0)
        return 0;
    Print(first, "The actions that led to the failure");

    const std::string replay = folder.File("replay");
    std::size_t tries = 0;
    const auto fails = [&](const Steps& steps) {
        std::ofstream list(replay);
        for (std::size_t s : steps)
            list << s << '\n';
        list.close();
        ++tries;
        const Run run = RunWorker(o, {"--replay", replay}, folder.Path());
        return run.status != 0 && Shape(run.failure) == Shape(first.failure);
    };
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(o.shrinkSeconds));
    const Steps shortest = Shrink(first.steps, fails, deadline);
    fails(shortest);
    const Run last = RunWorker(o, {"--replay", replay}, folder.Path());
    if (last.status == 0) {
        std::cout << "The failure did not come back when replayed; nothing shorter to show.\n";
        return 1;
    }
    Print(last, "Shrunk after " + std::to_string(tries) + " replays, the same seed with only these steps");
    std::cout << "Replay: write the step numbers into a file and run orvik-exercise --worker --seed " << o.seed
              << " --replay FILE --log LOG\n"
              << last.output;
    return 1;
}

} // namespace

} // namespace orvik::exercise

int main(int argc, char** argv)
{
    using namespace orvik::exercise;
    Options options;
    if (!Parse(argc, argv, options))
        return Usage();
    // The workers of one run share one private data folder, so that a worker started after a kill
    // finds the recovery file of the one before.
    std::optional<orvik::test::PrivateDataFolder> data;
    if (!options.worker || qEnvironmentVariableIsEmpty("ORVIK_EXERCISE_DATA")) {
        data.emplace();
        qputenv("ORVIK_EXERCISE_DATA", "1");
    }
    if (!options.worker) {
        QCoreApplication app(argc, argv);
        return Supervise(options);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return Work(options);
}
