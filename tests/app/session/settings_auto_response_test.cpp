// The pipeline answering from a real "\env\kesta.aut" under a home directory,
// re-read on every chunk.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
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
