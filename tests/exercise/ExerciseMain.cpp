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
#include <QStandardPaths>

#include <cctype>
#include <chrono>
#include <filesystem>
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
    std::string game;   // the worker's game folder (ending with '/'), which outlives a killed worker
    long resume = -1;   // the step whose kill this worker follows
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
        } else if (arg == "--game") {
            o.game = value;
        } else if (arg == "--resume") {
            o.resume = std::stol(value);
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
    // A worker after a kill goes on with the same log.
    std::ofstream log(o.log, o.resume >= 0 ? std::ios::app : std::ios::trunc);
    std::size_t step = 0;
    const auto say = [&](const std::string& text) { log << step << '\t' << text << std::endl; };
    test::ScratchDir scratch;
    const std::string dir = o.game.empty() ? scratch.Path() : o.game;
    ActionSource source(o.seed);
    // After a kill: the actions up to it were done by the workers before.
    std::optional<Action> killed;
    for (step = 0; o.resume >= 0 && step <= static_cast<std::size_t>(o.resume); ++step)
        killed = source.Next();
    const std::size_t first = step;
    const auto start = Clock::now();
    std::size_t performed = 0;
    try {
        step = o.resume >= 0 ? static_cast<std::size_t>(o.resume) : 0;
        Session session(dir, say, killed);
        if (!o.replay.empty()) {
            std::set<std::size_t> steps;
            std::ifstream in(o.replay);
            for (std::size_t s; in >> s;)
                steps.insert(s);
            for (step = first; !steps.empty() && step <= *steps.rbegin(); ++step) {
                const Action action = source.Next();
                if (steps.count(step)) {
                    session.Perform(action);
                    ++performed;
                }
            }
        } else {
            for (step = first; o.seconds > 0 ? Clock::now() - start < std::chrono::duration<double>(o.seconds)
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

// The step of the kill when the log ends with one, else -1.
long KilledAt(const std::string& log)
{
    std::ifstream in(log);
    std::string last;
    for (std::string line; std::getline(in, line);)
        last = line;
    const auto tab = last.find('\t');
    if (tab == std::string::npos || last.substr(tab + 1) != kKillSaid)
        return -1;
    return std::stol(last.substr(0, tab));
}

// Runs a worker with extra arguments and reads back what it did. A worker that killed itself is
// followed by one that starts the editor again on the same game and goes on after the kill.
Run RunWorker(const Options& o, std::vector<std::string> args, const std::string& folder)
{
    const std::string log = folder + "log", out = folder + "out", err = folder + "err", game = folder + "game/";
    std::filesystem::remove_all(game);
    std::filesystem::create_directories(game);
    args.insert(args.end(), {"--worker", "--seed", std::to_string(o.seed), "--log", log, "--game", game});
    Run run;
    const auto start = Clock::now();
    std::string output;
    for (;;) {
        run.status = test::RunProgram(QCoreApplication::applicationFilePath().toStdString(), args,
                                      test::NullDevice(), out, err);
        output += test::ReadText(out) + test::ReadText(err);
        const long killed = KilledAt(log);
        if (killed < 0)
            break;
        output += "[the worker killed itself at step " + std::to_string(killed) + "; a new one goes on]\n";
        std::vector<std::string> next = args;
        next.insert(next.end(), {"--resume", std::to_string(killed)});
        // A run for a time goes on for the time that is left.
        for (std::size_t i = 0; i + 1 < next.size(); ++i)
            if (next[i] == "--seconds")
                next[i + 1] = std::to_string(
                    std::max(0.1, o.seconds - std::chrono::duration<double>(Clock::now() - start).count()));
        args = std::move(next);
        // The resumed worker's own --resume replaces the one before.
        for (std::size_t i = 0; i + 3 < args.size(); ++i)
            if (args[i] == "--resume") {
                args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
                break;
            }
    }
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
    run.output = output;
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
