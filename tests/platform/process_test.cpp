#include "platform/process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/thread_priority.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// Arguments reach the program as they are: no shell splits or runs them;
// it runs in the given folder. A relative program path means the caller's
// folder, not the child's.
TEST(ProcessTest, StartsWithoutShellAndRedirectsOutput) {
  testing::TempFolder dir;
  std::string script = dir / "my emu/emu.sh", output = dir / "out.txt";
  testing::WriteFile(script, "#!/bin/sh\necho \"$1|$2\"\npwd\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  ASSERT_TRUE(RunProcess(script, {"a b", "$(touch x);"}, output, false, dir / "my emu/"));
  std::string text = testing::ReadFile(output);
  EXPECT_EQ(text.substr(0, text.find("\n/")), "a b|$(touch x);");
  EXPECT_EQ(text.substr(text.size() - 7), "my emu\n");
  std::string saved = CurrentFolder();
  ASSERT_TRUE(SetCurrentFolder(dir.path()));
  bool relative = RunProcess("my emu/emu.sh", {"rel", ""}, output, false, "my emu/");
  SetCurrentFolder(saved);
  EXPECT_TRUE(relative);
  EXPECT_EQ(testing::ReadFile(output).find("rel|"), 0u);
}

// Going back up may be refused for an unprivileged user; as root it is not.
TEST(ThreadPriorityTest, RestoresThePriorityItChanged) {
  int before = 0, now = 0, after = 0;
  ASSERT_TRUE(GetThreadPriority(&before));
  {
    ScopedThreadPriority lower(kPriorityIdle);
    ASSERT_TRUE(GetThreadPriority(&now));
  }
  ASSERT_TRUE(GetThreadPriority(&after));
  EXPECT_EQ(now, kPriorityIdle);
  EXPECT_TRUE(::geteuid() != 0 || after == before) << before << " " << after;
}

}  // namespace
}  // namespace kestrel
