// Runs a scenario in a child process of its own, so that the classes it registers and the grafts
// it installs, which nothing can undo, stay out of the other tests. The child's failures are
// printed as they happen and fail the test here.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>

namespace test {

template <class Scenario>
void runIsolated(const std::string& name, Scenario&& scenario) {
  std::fflush(nullptr);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::alarm(60);  // a scenario that hangs dies, and fails
    try {
      scenario();
    } catch (const std::exception& e) {
      ADD_FAILURE() << name << ": uncaught exception: " << e.what();
    }
    std::fflush(nullptr);
    ::_exit(::testing::Test::HasFailure() ? 1 : 0);  // an earlier child's failure counts again
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  if (WIFSIGNALED(status)) {
    ADD_FAILURE() << name << ": the child died of signal " << WTERMSIG(status);
  } else {
    EXPECT_EQ(WEXITSTATUS(status), 0) << name << ": the child's failures are printed above";
  }
}

}  // namespace test
