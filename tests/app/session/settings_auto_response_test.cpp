// The pipeline answering from a real "\env\kesta.aut" under a home directory,
// re-read on every chunk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/session/settings_auto_response.h"
#include "app/settings/auto_response.h"
#include "app/settings/file_store.h"
#include "app/settings/profile.h"
#include "tests/app/session/session_fixture.h"

namespace kesta::session::testing {
namespace {

namespace fs = std::filesystem;

struct HomeDirectory {
  HomeDirectory() {
    // Short: the program keeps a home directory of at most 79 bytes.
    root = fs::temp_directory_path() / ("kaut" + std::to_string(std::random_device{}() % 1000000));
    fs::remove_all(root);
    fs::create_directories(root / "env");
  }
  ~HomeDirectory() { fs::remove_all(root); }
  fs::path root;
};

// The host's files, counting the reads.
struct CountingStore : settings::HostFileStore {
  int reads = 0;
  std::optional<settings::Bytes> readPrefix(const std::string& path, std::size_t maxBytes) override {
    ++reads;
    return HostFileStore::readPrefix(path, maxBytes);
  }
  std::optional<settings::Bytes> readAll(const std::string& path) override {
    ++reads;
    return HostFileStore::readAll(path);
  }
};

TEST(SettingsAutoResponse, FileIsReadAgainOnlyWhenItChanged) {
  HomeDirectory home;
  settings::FixedHomeProfile profile(home.root.string());
  CountingStore store;
  settings::SettingsFiles files(profile, store);
  SettingsAutoResponseSource source(files);
  settings::AutoResponseTable table;
  table.rows[0] = {true, "login:", "guest"};
  ASSERT_TRUE(settings::writeAutoResponseTable(files, table));
  fs::path file = home.root / "env" / "kesta.aut";
  // An old file: its stamp can be trusted.
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));

  CellCanvas canvas;
  RecordingHost host;
  Terminal terminal{canvas, host};
  ReceivePipeline pipeline{terminal, host, source};
  auto receive = [&](std::string_view bytes) { pipeline.receive(bytes.data(), bytes.size()); };
  store.reads = 0;
  for (int i = 0; i < 50; ++i) receive("text ");
  receive("login:");
  EXPECT_EQ(store.reads, 1);
  EXPECT_EQ(host.sent, std::vector<std::string>{"guest\r"});

  // Rewritten (same size, a new time): read again, and while it is new,
  // on every chunk, so that a second quick rewrite is not missed.
  table.rows[0].transfer = "membr";
  ASSERT_TRUE(settings::writeAutoResponseTable(files, table));
  std::this_thread::sleep_for(SettingsAutoResponseSource::kRecheckInterval * 2);
  store.reads = 0;
  receive("login:");
  receive("x");
  EXPECT_EQ(store.reads, 2);
  EXPECT_EQ(host.sent, (std::vector<std::string>{"guest\r", "membr\r"}));

  // Back to an old time with the new contents: read once more, then not.
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::minutes(30));
  std::this_thread::sleep_for(SettingsAutoResponseSource::kRecheckInterval * 2);
  store.reads = 0;
  for (int i = 0; i < 20; ++i) receive("y");
  EXPECT_EQ(store.reads, 1);

  // The host code changes: the triggers are converted anew (a load, then none).
  terminal.setHostCode(5);
  receive("z");
  receive("z");
  EXPECT_EQ(store.reads, 2);
}

TEST(SettingsAutoResponse, PipelineAnswersFromTheFileAndFollowsItsChanges) {
  HomeDirectory home;
  settings::FixedHomeProfile profile(home.root.string());
  settings::SettingsFiles files(profile, settings::hostFileStore());
  SettingsAutoResponseSource source(files);

  CellCanvas canvas;
  RecordingHost host;
  Terminal terminal{canvas, host};
  ReceivePipeline pipeline{terminal, host, source};
  auto receive = [&](std::string_view bytes) { pipeline.receive(bytes.data(), bytes.size()); };

  receive("login:");  // no file yet: nothing is answered
  EXPECT_TRUE(host.sent.empty());

  settings::AutoResponseTable table;
  table.rows[0] = {true, "login:", "guest"};
  table.rows[1] = {false, "password:", "never"};
  table.rows[2] = {true, "", "empty trigger"};
  ASSERT_TRUE(settings::writeAutoResponseTable(files, table));
  receive("login: password: ");
  EXPECT_EQ(host.sent, std::vector<std::string>{"guest\r"});

  table.rows[0].transfer = "member";
  ASSERT_TRUE(settings::writeAutoResponseTable(files, table));
  receive("login:");
  EXPECT_EQ(host.sent, (std::vector<std::string>{"guest\r", "member\r"}));

  // The file disappears: the last table goes on answering.
  fs::remove(home.root / "env" / "kesta.aut");
  receive("login:");
  EXPECT_EQ(host.sent.size(), 3u);
  EXPECT_EQ(host.sent.back(), "member\r");
}

}  // namespace
}  // namespace kesta::session::testing
