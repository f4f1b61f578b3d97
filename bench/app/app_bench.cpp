// Two figures of the program against what it is built on, measured side by side in one run:
//
// 1. Start-up: from starting the process to its main window painted on the screen, for the
//    program (its entry with the real main window) and for a bare Qt window of the same size.
//    Both are this executable started afresh, the same way, alternately. An empty toolkit form
//    of that size, started through the same entry, shows which part is the toolkit's own.
// 2. Opening a 100,000-entry dictionary through the window, from the Open dialog's answer to the
//    first question on the screen, against the parser alone reading the same file.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "model/wordlist.h"
#include "parser/parser.h"
#include "toolkit/application.h"
#include "toolkit/testing/testing.h"

extern char** environ;

namespace {

constexpr int startRuns = 15;
constexpr int openRuns = 7;
constexpr std::uint32_t entryCount = 100'000;

std::int64_t nowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double millisecondsBetween(std::int64_t start, std::int64_t end) {
    return static_cast<double>(end - start) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// ---------------------------------------------------------------------------------------------
// Start-up, inside the started process

// Waits for the first paint of a top-level window; once that pass of painting is over, the
// window is on the screen: the moment is written to standard output and `done` ends the process.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> done) : done_(std::move(done)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!seen_ && event->type() == QEvent::Paint && widget != nullptr && widget->isWindow()) {
            seen_ = true;
            QTimer::singleShot(0, [this] {
                std::printf("%lld\n", static_cast<long long>(nowNanoseconds()));
                std::fflush(stdout);
                done_();
            });
        }
        return false;
    }

private:
    std::function<void()> done_;
    bool seen_ = false;
};

int startWith(const std::function<std::unique_ptr<Form>()>& makeMainForm) {
    FirstPaint firstPaint([] { Application::postQuit(0); });
    return runProgram([&] {
        std::unique_ptr<Form> form = makeMainForm();
        qApp->installEventFilter(&firstPaint);
        return form;
    });
}

std::unique_ptr<Form> emptyForm() {
    auto form = std::make_unique<Form>();
    form->setText("Verbaro Tool");
    form->setClientAreaSize(411, 315);
    return form;
}

// With `text`, the window shows one line: what drawing any text at all costs a Qt program.
int startBareQt(int argc, char** argv, bool text) {
    QApplication application(argc, argv);
    FirstPaint firstPaint([] { QApplication::quit(); });
    application.installEventFilter(&firstPaint);
    QWidget window;
    window.setWindowTitle("Verbaro Tool");
    window.setFixedSize(411, 315);
    if (text) {
        (new QLabel("Word to translate:", &window))->move(16, 86);
    }
    window.show();
    return application.exec();
}

// ---------------------------------------------------------------------------------------------
// Start-up, measured from outside

// Starts this executable with the argument and returns the time until it reported its window
// painted, in milliseconds, or nothing if it failed.
std::optional<double> timeStart(const char* mode) {
    int output[2];
    if (::pipe(output) != 0) {
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    char* arguments[] = {self.data(), const_cast<char*>(mode), nullptr};

    const std::int64_t start = nowNanoseconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(output[0]);
        return std::nullopt;
    }
    std::string reported;
    char buffer[64];
    for (ssize_t got; (got = ::read(output[0], buffer, sizeof buffer)) > 0;) {
        reported.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(output[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || reported.empty()) {
        return std::nullopt;
    }
    return millisecondsBetween(start, std::stoll(reported));
}

bool benchStartUp() {
    const char* const modes[] = {"--start-program", "--start-form", "--start-qt", "--start-qt-text"};
    std::vector<double> times[std::size(modes)];
    for (int run = 0; run < startRuns; ++run) {
        for (std::size_t mode = 0; mode < std::size(modes); ++mode) {
            const std::optional<double> time = timeStart(modes[mode]);
            if (!time) {
                std::fprintf(stderr, "a process started with %s failed\n", modes[mode]);
                return false;
            }
            times[mode].push_back(*time);
        }
    }
    const double program = median(times[0]);
    const double bare = median(times[2]);
    const double bareWithText = median(times[3]);
    std::printf("start-up to the main window painted, median of %d starts each\n", startRuns);
    std::printf("  program:             %8.1f ms\n", program);
    std::printf("  empty toolkit form:  %8.1f ms\n", median(times[1]));
    std::printf("  bare Qt window:      %8.1f ms\n", bare);
    std::printf("  the same, one label: %8.1f ms\n", bareWithText);
    std::printf("  ratio:               %8.2f   (program to bare Qt window; aim: at most 1.5)\n", program / bare);
    std::printf("  ratio with text:     %8.2f   (program to bare Qt window with one label)\n", program / bareWithText);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Opening a large dictionary

void writeDictionary(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    out << "@ver 1.0\n@title Benchmark\n";
    for (std::uint32_t entry = 0; entry < entryCount; ++entry) {
        if (entry % 50 == 0) {
            out << "; words " << entry << " and on\n";
        }
        out << "ord" << entry << (entry % 4 == 0 ? "\xC3\xA5" : "") << " = word" << entry << ", term" << entry << '\n';
    }
}

bool benchOpen() {
    std::string folderName = (std::filesystem::temp_directory_path() / "verbaro-app-bench-XXXXXX").string();
    if (::mkdtemp(folderName.data()) == nullptr) {
        std::perror("mkdtemp");
        return false;
    }
    const std::filesystem::path folder = folderName;
    const std::string file = (folder / "large.txt").string();
    writeDictionary(file);

    std::int64_t answeredAt = 0;
    setMessageBoxHandler([](const MessageBoxCall& call) { std::fprintf(stderr, "box: %s\n", call.text.c_str()); });
    setOpenFileDialogHandler([&](const OpenFileDialogCall&) {
        answeredAt = nowNanoseconds();
        return std::optional<std::string>(file);
    });

    std::vector<double> window;
    std::vector<double> parser;
    bool failed = false;
    for (int run = 0; run < openRuns && !failed; ++run) {
        {
            MyForm form;
            form.setVisible(true);
            QApplication::processEvents();
            form.openButton->simulateClick();
            QApplication::processEvents();
            const std::int64_t shownAt = nowNanoseconds();
            window.push_back(millisecondsBetween(answeredAt, shownAt));
            failed = form.remainingValue->text() != std::to_string(entryCount) || form.questionBox->text().empty();
        }
        WordList words;
        const std::int64_t start = nowNanoseconds();
        Parser(file, words).parse();
        parser.push_back(millisecondsBetween(start, nowNanoseconds()));
        failed = failed || words.remainingCount() != entryCount;
    }
    setOpenFileDialogHandler(nullptr);
    setMessageBoxHandler(nullptr);
    std::filesystem::remove_all(folder);
    if (failed) {
        std::fprintf(stderr, "the dictionary was not opened whole\n");
        return false;
    }
    const double windowMedian = median(window);
    const double parserMedian = median(parser);
    std::printf("opening %u entries, median of %d runs each\n", entryCount, openRuns);
    std::printf("  through the window:  %8.1f ms  (dialog answered to first question shown)\n", windowMedian);
    std::printf("  parser alone:        %8.1f ms\n", parserMedian);
    std::printf("  ratio:               %8.2f   (aim: at most 1.5)\n", windowMedian / parserMedian);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--start-program") == 0) {
        return startWith([] { return std::make_unique<MyForm>(); });
    }
    if (argc > 1 && std::strcmp(argv[1], "--start-form") == 0) {
        return startWith(emptyForm);
    }
    if (argc > 1 && std::strcmp(argv[1], "--start-qt") == 0) {
        return startBareQt(argc, argv, false);
    }
    if (argc > 1 && std::strcmp(argv[1], "--start-qt-text") == 0) {
        return startBareQt(argc, argv, true);
    }
    const bool started = benchStartUp();
    const bool opened = benchOpen();
    return started && opened ? 0 : 1;
}
