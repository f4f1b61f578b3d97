#pragma once

// Runs one test of the current test program in a process of its own, for behaviour that ends
// the process (exit, abort) or that can happen only once per thread (a quit message).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace child_process {

constexpr int captureFd = 3;
constexpr const char* childVariable = "VERBARO_TEST_CHILD";

struct Outcome {
    bool exited = false;
    int exitStatus = -1;
    int signal = 0;
    // What the child wrote to standard output after calling captureOutput().
    std::string output;
};

// True inside the process started by runTest.
inline bool inChild() {
    return std::getenv(childVariable) != nullptr;
}

// Called by the child test: from here on standard output goes to the parent.
inline void captureOutput() {
    std::fflush(stdout);
    ::dup2(captureFd, STDOUT_FILENO);
}

// Runs the current test of this program again in a child process and waits for it.
inline Outcome runCurrentTest() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string testName = std::string(test->test_suite_name()) + "." + test->name();
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    // Everything the child needs is prepared before fork: between fork and exec only plain
    // system calls are safe in a program that may run other threads.
    const std::string filter = "--gtest_filter=" + testName;
    const std::string marker = std::string(childVariable) + "=1";
    std::vector<char*> environment;
    for (char** variable = environ; *variable; ++variable) {
        environment.push_back(*variable);
    }
    environment.push_back(const_cast<char*>(marker.c_str()));
    environment.push_back(nullptr);
    char* const arguments[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(filter.c_str()),
                               const_cast<char*>("--gtest_brief=1"), nullptr};
    const pid_t pid = ::fork();
    if (pid == 0) {
        // The test framework's own report is not part of the output; it goes with the parent's
        // diagnostics.
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
        ::dup2(pipeFds[1], captureFd);
        ::execve("/proc/self/exe", arguments, environment.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    Outcome outcome;
    char buffer[4096];
    ssize_t count;
    while ((count = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        outcome.output.append(buffer, std::size_t(count));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    outcome.exited = WIFEXITED(status);
    if (outcome.exited) {
        outcome.exitStatus = WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

// Runs the current test in a child process, where it must pass; true in the parent, false in
// the child, which goes on with the test itself.
inline bool passedInChild() {
    if (inChild()) {
        return false;
    }
    const Outcome outcome = runCurrentTest();
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitStatus, 0);
    return true;
}

}  // namespace child_process
