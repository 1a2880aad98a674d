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

inline int failedParts() {
  const auto* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
  int failed = 0;
  for (int i = 0; i < result->total_part_count(); ++i) {
    if (result->GetTestPartResult(i).failed()) ++failed;
  }
  return failed;
}

template <class Scenario>
void runIsolated(const std::string& name, Scenario&& scenario) {
  std::fflush(nullptr);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::alarm(60);  // a scenario that hangs dies, and fails
    int failedBefore = failedParts();
    try {
      scenario();
    } catch (const std::exception& e) {
      ADD_FAILURE() << name << ": uncaught exception: " << e.what();
    }
    std::fflush(nullptr);
    ::_exit(failedParts() == failedBefore ? 0 : 1);
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
